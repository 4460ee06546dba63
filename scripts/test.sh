#!/usr/bin/env bash
# Installs what is missing, builds everything from this checkout and runs every test:
# the native core, companion and table-state tests, then the Windows program's tests
# under Wine inside a virtual X server, then the web page's tests (node and headless
# Chromium).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native -j2
ctest --preset native -j2

scripts/test-windows.sh

scripts/test-web.sh
