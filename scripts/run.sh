#!/usr/bin/env bash
# The main job: builds if needed, then shows Quillery at work on the bundled demo:
# the SubRip file imported as script text at 25 fps, and that script exported again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cli=build/src/cli/quillery-cli
echo "== examples/demo.srt imported as script text (25 fps) =="
"$cli" to-script --fps 25 examples/demo.srt | tee build/demo-script.txt
echo
echo "== the script exported as SubRip =="
"$cli" export --format srt --fps 25 build/demo-script.txt
echo
echo "== the script exported as WebVTT =="
"$cli" export --format webvtt --fps 25 build/demo-script.txt
echo
