#!/usr/bin/env bash
# Installs what is missing, builds quillmere.exe (preset windows) and opens its window
# under Wine. With no display ($DISPLAY unset) it runs the program for a few seconds in
# a virtual X server of its own, saves a picture and prints where, then closes it.
#   scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillmere

if [ -z "${DISPLAY:-}" ]; then
  exec scripts/screenshot.sh build/screenshots/run.png
fi

# On a desktop: a Wine prefix of the project's own, the GBK code page, the program in
# the foreground until its window is closed.
source scripts/wine-session.sh
export WINEPREFIX="$PWD/build/wine-run/prefix"
export WINEARCH=win64 WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
wine_prefix_prepare "$WINEPREFIX" 1024x768
exec wine build/windows/app/quillmere.exe
