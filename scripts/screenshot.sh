#!/usr/bin/env bash
# Starts quillmere.exe under Wine in a virtual X server and saves a picture of it.
#   scripts/screenshot.sh [OUTPUT.png]    (default: build/screenshots/window.png)
# Builds the windows preset first. The picture shows the whole virtual desktop, the
# window centred on it with its title bar.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-build/screenshots/window.png}
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
import -window root "$output"
kill "$program" 2>/dev/null || true
echo "$output"
