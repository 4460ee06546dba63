#!/usr/bin/env bash
# Starts quillmere.exe under Wine in a virtual X server and saves a picture of it.
#   scripts/screenshot.sh [OUTPUT.png] [--computed]
#                                         (default: build/screenshots/window.png)
# With --computed, "计算" is clicked first, so the picture shows the preset inputs'
# results (docs/window-results.png).
# Builds the windows preset first. The picture shows the whole virtual desktop, the
# window centred on it with its title bar.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-build/screenshots/window.png}
computed=${2:-}
mkdir -p "$(dirname "$output")"

cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillmere >/dev/null

source scripts/wine-session.sh
wine_session_start "$PWD/build/wine-screenshot/prefix" 1024x768x24

wine build/windows/app/quillmere.exe >/dev/null 2>&1 </dev/null &
program=$!
# Wait until the program's window has been drawn: Wine names the desktop window after
# the program once it shows; allow for the first start of a fresh prefix.
for _ in $(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q 'Quillmere'; then break; fi
  sleep 0.1
done
sleep 2
if [ "$computed" = --computed ]; then
  # The button's place on the screen, from the table's header row (the only
  # RGB(128,128,128) area of the window): the header's top-left corner lies at client
  # (2, 49), the button's centre at client (740, 24).
  import -window root "$output"
  y=$(convert "$output" -crop 1x768+300+0 +repage txt:- | awk -F'[,:]' '/#808080/ && !found {print $2; found = 1}')
  x=$(convert "$output" -crop 1024x1+0+"$((y + 2))" +repage txt:- |
      awk -F'[,:]' '/#808080/ && !found {print $1; found = 1}')
  xdotool mousemove --sync $((x - 2 + 740)) $((y - 49 + 24)) click 1
  # Away from the window, so that no pointer or hover shows in the picture.
  xdotool mousemove --sync 1000 750
  sleep 1
fi
import -window root "$output"
kill "$program" 2>/dev/null || true
echo "$output"
