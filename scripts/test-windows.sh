#!/usr/bin/env bash
# Builds the Windows program and its tests (preset windows) and runs the tests under
# Wine in a virtual X server, with a fresh Wine prefix of their own under build/.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows -j2

source scripts/wine-session.sh
rm -rf build/wine-tests
wine_session_start "$PWD/build/wine-tests/prefix" 1024x768x24
ctest --preset windows
