#!/usr/bin/env bash
# The main job: builds if needed, makes a demo project (a 15-second movie made with ffmpeg
# and the bundled script) and opens it in the Quillery editor on this desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

demo=build/demo
mkdir -p "$demo"
movie="$PWD/$demo/demo.mp4"
if [ ! -s "$movie" ]; then
  echo "run: making the demo movie with ffmpeg"
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=15" \
    -f lavfi -i "sine=frequency=440:beep_factor=4:duration=15" \
    -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$movie"
fi

# The project file is a property list: the script text and the movie it belongs to.
script=$(build/src/cli/quillery-cli to-script --fps 25 examples/demo.srt)
escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }
cat > "$demo/Demo.qyb" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>movie</key>
	<string>$(printf '%s' "$movie" | escape)</string>
	<key>text</key>
	<string>$(printf '%s' "$script" | escape)</string>
	<key>needComposition</key>
	<false/>
	<key>onlyAssembleAudio</key>
	<false/>
</dict>
</plist>
PLIST

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no desktop display here (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "run: the demo project is ready: build/src/app/quillery $demo/Demo.qyb" >&2
  exit 1
fi
echo "run: opening $demo/Demo.qyb (Tab plays and pauses the movie)"
exec build/src/app/quillery "$demo/Demo.qyb"
