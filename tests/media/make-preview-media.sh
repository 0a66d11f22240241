#!/usr/bin/env bash
# Makes, with ffmpeg's lavfi sources, the media files the Final Cut Pro timelines of the
# preview tests name, under the folder given at the paths the timelines give (the tests
# put that folder in front of every media path). Made once: a finished set is marked by
# the file "complete".
#
# Every picture tells which file and which of its frames it is: red names the file, green
# is 8 x (frame mod 32) and blue is 7 x (frame / 32). Every sound is a 440 Hz sine whose
# amplitude the file's row gives, the same on both channels.
set -euo pipefail
out=$1
[ -f "$out/complete" ] && exit 0
ff() { ffmpeg -loglevel error -y "$@"; }
coded() { # red, seconds, rate (the colour is worked out on a few pixels, then enlarged)
  echo "nullsrc=s=16x9:r=${3:-25}:d=$2,geq=r='$1':g='mod(N\,32)*8':b='floor(N/32)*7',scale=160:90:flags=neighbor,setsar=1"
}
tone() { # amplitude, seconds (stereo: a mono sound would be spread over two channels at -3 dB)
  echo "aevalsrc=$1*sin(2*PI*440*t)|$1*sin(2*PI*440*t):s=48000:d=$2"
}
# A picture and a sound in MXF, as Final Cut Pro 7 keeps captured media.
mxf() { # path, red, amplitude, seconds
  mkdir -p "$(dirname "$1")"
  ff -f lavfi -i "$(coded "$2" "$4")" -f lavfi -i "$(tone "$3" "$4")" \
    -c:v mpeg2video -q:v 2 -g 1 -c:a pcm_s16le -f mxf "$1"
}
# A picture and a sound in QuickTime.
mov() { # path, red, amplitude, seconds, rate
  mkdir -p "$(dirname "$1")"
  ff -f lavfi -i "$(coded "$2" "$4" "${5:-25}")" -f lavfi -i "$(tone "$3" "$4")" \
    -c:v mpeg2video -q:v 2 -g 1 -c:a pcm_s16le "$1"
}

# tests/data/fcp7/xmeml-msub20000112-taco1.xml
capture=$out/omfs/clip.dir/MXF/1080i
mxf "$capture/msub200012-2211003.MXF" 40 0.1 8
mxf "$capture/msub200012-2211070.MXF" 80 0.1 6
mxf "$capture/msub200012-2211072.MXF" 120 0.1 34
mxf "$capture/msub200012-2211071.MXF" 160 0.1 49
mxf "$capture/msub200012-2211046.MXF" 200 0.1 19
mxf "$capture/msub200012-2211035.MXF" 240 0.1 23
san="$out/Volumes/Prosjekter_SuperSAN1-1/MSUB20000012 FIN FREDAG"
mxf "$san/FCP-PROSJEKTER, sesong 2/Tante Taco Karl Johan/msub200012-1708k1d2046.mxf" 20 0.1 27
mkdir -p "$san/MUSIKK/Ny Tante Taco"
ff -f lavfi -i "$(tone 0.1 90)" -c:a pcm_s16be \
  "$san/MUSIKK/Ny Tante Taco/02 MEXICAN SUNSHINE --- lively guaracha featuring     trombone.aif"

# tests/data/fcpxml/latenitefilms-80_collins_commercial.v1_6.fcpxml (no sound)
card="$out/Volumes/LNF-H10146/Jared Editing/LNF-J10271 - 80 Collins/01 - Rushes/20170718 - Day 01"
mov "$card/Card 002/A002R2IQ/A002C012_170718_R2IQ.mov" 40 0 31
mov "$card/Card 001/A001R2IQ/A001C008_170718_R2IQ.mov" 80 0 15
mov "$card/Card 001/A001R2IQ/A001C066_170718_R2IQ.mov" 120 0 15
mov "$card/Card 001/A001R2IQ/A001C062_170718_R2IQ.mov" 160 0 25
mov "$card/Card 001/A001R2IQ/A001C063_170718_R2IQ.mov" 200 0 6

# The timelines the tests write themselves, at 25 frames per second.
mov "$out/clips/red40.mov" 40 0.5 12
mov "$out/clips/red120.mov" 120 0.25 12
mov "$out/clips/red200.mov" 200 0.5 12
# Upside down: stored with its rows reversed and a half turn to show it upright.
ff -f lavfi -i "color=c=blue:s=160x46:r=25:d=4[top];color=c=red:s=160x44:r=25:d=4[bottom];[top][bottom]vstack,vflip,hflip,setsar=1" \
  -c:v mpeg2video -q:v 2 -g 1 "$out/clips/stored.mov"
ff -i "$out/clips/stored.mov" -c copy -metadata:s:v:0 rotate=180 "$out/clips/upside-down.mov"
touch "$out/complete"
