#!/usr/bin/env bash
# Installs the Debian 12 packages Quillery builds, tests and runs with, and any further
# packages named as arguments (the benchmarks ask for hyperfine). ffmpeg makes the test
# movies and the run command's demo movie.
# Idempotent: packages already present are skipped, and apt is not touched at all
# when nothing is missing. Needs root (or sudo) only when something must be installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libicu-dev libuchardet-dev libpugixml-dev libplist-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  catdoc
  libmlt++-dev libmlt-dev libmlt7 libmlt-data libsdl2-2.0-0
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  ffmpeg
  xvfb xauth
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
