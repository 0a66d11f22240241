#!/usr/bin/env bash
# Waveform extraction against ffmpeg's own decoding, whole process against whole process,
# on a 20-minute 48 kHz stereo AAC movie made here (kept in build/bench-media). The target:
# quillery-cli waveform takes at most the time of `ffmpeg -vn -f null` (1.15x at worst).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh hyperfine
cmake --build build --target quillery-cli >/dev/null
media=build/bench-media
mkdir -p "$media"
movie="$media/twenty-minutes.mp4"
if [ ! -s "$movie" ]; then
  echo "extraction-vs-ffmpeg: making a 20-minute movie with ffmpeg"
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=320x180:rate=25:duration=1200" \
    -f lavfi -i "sine=frequency=440:beep_factor=4:sample_rate=48000:duration=1200" \
    -f lavfi -i "sine=frequency=660:sample_rate=48000:duration=1200" \
    -filter_complex "[1:a][2:a]join=inputs=2:channel_layout=stereo[a]" -map 0:v -map "[a]" \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 192k "$movie"
fi
hyperfine --warmup 1 --runs "${RUNS:-5}" \
  "ffmpeg -v error -i $movie -vn -f null -" \
  "build/src/cli/quillery-cli waveform $movie -o $media/twenty-minutes.qywave"
