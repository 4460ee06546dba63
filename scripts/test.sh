#!/usr/bin/env bash
# Installs what is missing, builds everything from this checkout and runs every test:
# the native core, companion and table-state tests, then the Windows program's tests
# under Wine inside a virtual X server, then the builds with the portable arithmetic
# (x86-64, 64-bit ARM under qemu-aarch64, WebAssembly under node): their tests, the
# companion's tests against the ARM and WebAssembly companions, and the four companions
# compared on a shared list of argument sets (tests/cross), then the web page's
# tests (node and headless Chromium).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native -j2
ctest --preset native -j2

scripts/test-windows.sh

for preset in portable linux-arm64 wasm; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset" -j2
done
tests/cross/companion_tests.sh
tests/cross/compare_companions.py

scripts/test-web.sh
