#!/usr/bin/env bash
# Whole-process figures of quillery-cli, on inputs generated into a scratch folder:
#   speed  - a 10,000-cue SubRip file piped through to-script into a WebVTT export, against
#            ffmpeg converting the same file (needs hyperfine and ffmpeg:
#            scripts/install-deps.sh hyperfine ffmpeg);
#   linear - one WebVTT cue and one YouTube SBV cue of 200,000 and 400,000 rows;
#   memory - peak memory against input size: a 1,000,000-line script exported, a 200 MB
#            SubRip file imported.
# Usage: bench/cli-measure.sh [speed|linear|memory ...] (all three by default).
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$PWD/build/src/cli/quillery-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

subrip() { # cues, first rows' words
  awk -v cues="$1" -v words="$2" 'BEGIN {
    for (i = 0; i < cues; ++i) {
      s = i % 360000
      printf "%d\n%02d:%02d:%02d,250 --> %02d:%02d:%02d,900\n%s %d\nand a second row\n\n",
        i + 1, s / 3600, s / 60 % 60, s % 60, s / 3600, s / 60 % 60, s % 60, words, i + 1
    } }'
}

speed() {
  subrip 10000 "Subtitle number" >"$work/big.srt"
  hyperfine -N -w 3 -r 30 "ffmpeg -loglevel error -y -i $work/big.srt $work/big.vtt"
  hyperfine -w 3 -r 30 \
    "$cli to-script --fps 25 $work/big.srt | $cli export --format webvtt --fps 25 - >$work/out.vtt"
}

linear() {
  for rows in 200000 400000; do
    { printf 'WEBVTT\n\n00:01.000 --> 00:02.000\n'; yes ab | head -n "$rows"; } >"$work/cue.vtt"
    { printf '0:00:01.000,0:00:02.000\n'; yes ab | head -n "$rows"; } >"$work/cue.sbv"
    for file in cue.vtt cue.sbv; do
      /usr/bin/time -f "$file, $rows rows: %e s" "$cli" to-script "$work/$file" >/dev/null
    done
  done
}

memory() {
  awk 'BEGIN { for (i = 0; i < 1000000; ++i) { s = i * 3 % 360000
    printf "[%02d:%02d:%02d.05]Line %d of the script[%02d:%02d:%02d.10]\n",
      s / 3600 % 100, s / 60 % 60, s % 60, i, s / 3600 % 100, s / 60 % 60, (s + 2) % 60 } }' \
    >"$work/script.txt"
  for format in srt webvtt sbv avid; do
    /usr/bin/time -f "export $format of $(du -m "$work/script.txt" | cut -f1) MB: peak %M KB, %e s" \
      "$cli" export --format "$format" --fps 25 "$work/script.txt" >/dev/null
  done
  subrip 1900000 "A reasonably long subtitle row number" >"$work/huge.srt"
  /usr/bin/time -f "to-script of $(du -m "$work/huge.srt" | cut -f1) MB: peak %M KB, %e s" \
    "$cli" to-script --fps 25 "$work/huge.srt" >/dev/null
}

measures=("$@")
[ ${#measures[@]} -gt 0 ] || measures=(speed linear memory)
for measure in "${measures[@]}"; do "$measure"; done
