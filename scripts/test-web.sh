#!/usr/bin/env bash
# The web page's tests: builds the native companion (the reference rows) and the page
# (preset web, build/web/site/), then runs, one file after another,
#   tests/web/module_test.mjs        the worker's WebAssembly module under node
#   tests/web/page_browser_test.mjs  the page in headless Chromium from file://
#   tests/web/page_tolerance_test.mjs  a decimal rate error and the best's target there
#   tests/web/page_state_test.mjs    the address, history, language and copy kept true;
#                                    360 px; the footer, help, manifest, offline over http
#   tests/web/page_access_test.mjs   axe-core on the page's main states
#   tests/web/plan_browser_test.mjs  the bus plan and the bit picture there
#   tests/web/page_random_test.mjs   seeded random edits: every answer shown is the address's
#   tests/web/page_speed_test.mjs    the speed figures, printed, never asserted
# scripts/install-deps.sh installs chromium-headless-shell, node and playwright-core.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native >/dev/null
cmake --build --preset native -j2 --target quillmere-cli
cmake --preset web >/dev/null
cmake --build --preset web -j2

[ -d node_modules/playwright-core ] && [ -d node_modules/axe-core ] || npm ci --ignore-scripts --no-audit --no-fund

export QUILLMERE_SITE="$PWD/build/web/site"
export QUILLMERE_CLI="$PWD/build/native/cli/quillmere-cli"
status=0
for file in module_test page_browser_test page_tolerance_test page_state_test plan_browser_test page_random_test \
  page_access_test page_speed_test; do
  node --test "tests/web/$file.mjs" || status=1
done
exit $status
