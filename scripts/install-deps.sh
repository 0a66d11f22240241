#!/usr/bin/env bash
# Installs the Debian 12 packages Quillery builds, tests and runs with, and any further
# packages named as arguments (the benchmarks ask for hyperfine). ffmpeg makes the test
# movies and the run command's demo movie; the tests start private session buses
# (dbus-run-session) and read printed PDFs back with pdftotext. It also generates the
# decimal-comma locale the export tests run under once more.
# Idempotent: packages already present are skipped, apt is not touched at all when nothing
# is missing, and the locale is generated only when absent. Needs root (or sudo) only when
# something must be installed.
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
  libxml2-utils locales
  dbus-daemon poppler-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
else
  echo "install-deps: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The export tests run once more with LC_ALL=de_DE.UTF-8 (decimal commas).
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "install-deps: generating the de_DE.UTF-8 locale"
  $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
