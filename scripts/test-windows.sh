#!/usr/bin/env bash
# Builds the Windows program and its tests (preset windows) and runs the tests under
# Wine in a virtual X server, with a fresh Wine prefix of their own under build/; then
# tests/e2e/as_a_person.sh works the program from outside, and the DPI tests run again
# at 120, 144 and 192 DPI (scripts/test-windows-dpi.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows -j2

source scripts/wine-session.sh
# A server still running for an earlier prefix here (a run that was cut short) goes
# first; then the prefix is made anew.
if [ -d build/wine-tests/prefix ]; then
  WINEPREFIX="$PWD/build/wine-tests/prefix" wineserver -k 2>/dev/null || true
fi
rm -rf build/wine-tests
wine_session_start "$PWD/build/wine-tests/prefix" 1024x768x24
ctest --preset windows "$@"
wine_session_stop

# Then the program as a person works it, from outside, against the native companion.
if [ ! -x build/native/cli/quillmere-cli ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native -j2 --target quillmere-cli
fi
tests/e2e/as_a_person.sh

# The window at the larger scales: only the DPI tests, in a prefix of their own.
scripts/test-windows-dpi.sh 120 144 192
