#!/usr/bin/env bash
# Runs inside xvfb-run: starts the editor (with any further arguments, such as a project to
# open), waits for it to draw, grabs the screen, quits.
# Arguments: the editor, the grabber, the picture to write, then the editor's arguments.
set -u
editor=$1 grabber=$2 picture=$3
shift 3
"$editor" "$@" &
pid=$!
sleep 5
for _ in 1 2 3 4 5; do
  "$grabber" "$picture" && break
  sleep 1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
[ -s "$picture" ]
