#!/usr/bin/env bash
# Starts quillmere.exe under Wine in a virtual X server and saves a picture of it.
#   scripts/screenshot.sh [OUTPUT.png] [--computed] [DPI]
#                                         (default: build/screenshots/window.png, 96)
# With --computed, "计算" is clicked first, so the picture shows the preset inputs'
# results (docs/window-results.png). A DPI above 96 sets the prefix's LogPixels and
# takes a screen as much larger (docs/window-144dpi.png: --computed 144).
# Builds the windows preset first. The picture shows the whole virtual desktop, the
# window centred on it with its title bar.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-build/screenshots/window.png}
computed=${2:-}
dpi=${3:-96}
width=$((1024 * dpi / 96)) height=$((768 * dpi / 96))
mkdir -p "$(dirname "$output")"

cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillmere >/dev/null

source scripts/wine-session.sh
prefix=$PWD/build/wine-screenshot/prefix-$dpi
if [ -d "$prefix" ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
wine_session_start "$prefix" "${width}x${height}x24"
if [ "$dpi" != 96 ]; then
  # Wine reads the DPI when its server starts: set it, then start the server again.
  hex=$(printf '0x%x' "$dpi")
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$hex" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$hex" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${width}x${height}" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
fi

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
  # (2, 49), the button's centre at client (740, 24), both scaled to the DPI.
  import -window root "$output"
  y=$(convert "$output" -crop 1x"$height"+"$((width * 300 / 1024))"+0 +repage txt:- |
      awk -F'[,:]' '/#808080/ && !found {print $2; found = 1}')
  x=$(convert "$output" -crop "$width"x1+0+"$((y + 2))" +repage txt:- |
      awk -F'[,:]' '/#808080/ && !found {print $1; found = 1}')
  xdotool mousemove --sync $((x + (740 - 2) * dpi / 96)) $((y + (24 - 49) * dpi / 96)) click 1
  # Away from the window, so that no pointer or hover shows in the picture.
  xdotool mousemove --sync $((width - 24)) $((height - 18))
  sleep 1
fi
import -window root "$output"
kill "$program" 2>/dev/null || true
echo "$output"
