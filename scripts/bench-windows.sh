#!/usr/bin/env bash
# Builds the Windows program and times its compute command in the real window under
# Wine in a virtual X server (its own prefix under build/wine-bench). Prints figures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillmere_compute_bench

source scripts/wine-session.sh
if [ -d build/wine-bench/prefix ]; then
  WINEPREFIX="$PWD/build/wine-bench/prefix" wineserver -k 2>/dev/null || true
fi
rm -rf build/wine-bench
wine_session_start "$PWD/build/wine-bench/prefix" 1024x768x24
timeout 300 wine build/windows/tests/win/quillmere_compute_bench.exe </dev/null
