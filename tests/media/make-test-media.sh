#!/usr/bin/env bash
# Makes the test movies with ffmpeg from its lavfi sources into the folder given, once:
# a finished set is marked by the file "complete", holding this script's checksum so that a
# changed script makes the set again. Nothing binary lives in the repository.
set -euo pipefail
out=$1
stamp=$(sha256sum "$0" | cut -d' ' -f1)
[ "$(cat "$out/complete" 2>/dev/null)" = "$stamp" ] && exit 0
mkdir -p "$out"
ff() { ffmpeg -loglevel error -y "$@"; }
video="testsrc2=size=160x90:rate=25:duration"
h264=(-c:v libx264 -preset ultrafast -pix_fmt yuv420p)
# 60 s at 25 fps, stereo AAC: a sine on the left, silence on the right.
ff -f lavfi -i "$video=60" -f lavfi -i "aevalsrc=0.5*sin(2*PI*440*t)|0:s=48000:d=60" \
  "${h264[@]}" -c:a aac -shortest "$out/movie.mp4"
# 12 s with two stereo audio tracks made from mono sines, the second (0.5) four times as
# loud as the first.
ff -f lavfi -i "$video=12" -f lavfi -i "sine=f=300:d=12" -f lavfi -i "sine=f=500:d=12,volume=4" \
  -map 0 -map 1 -map 2 "${h264[@]}" -c:a aac -ac 2 "$out/two-tracks.mkv"
# 12 s of video only.
ff -f lavfi -i "$video=12" "${h264[@]}" "$out/no-audio.mp4"
# Exactly 10.0 s.
ff -f lavfi -i "$video=10" -f lavfi -i "sine=d=10" "${h264[@]}" -c:a aac -t 10 "$out/ten-seconds.mp4"
# 10.5 s of mono 48 kHz float PCM: 0.5 for 1 s, 1.3 for 1 s, 0.001 for 1 s, then silence.
ff -f lavfi -i "aevalsrc=if(lt(t\,1)\,0.5\,if(lt(t\,2)\,1.3\,if(lt(t\,3)\,0.001\,0))):s=48000:d=10.5" \
  -c:a pcm_f32le "$out/levels.wav"
echo "$stamp" >"$out/complete"
