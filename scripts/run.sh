#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target quillmere-cli
build/native/cli/quillmere-cli "$@"
