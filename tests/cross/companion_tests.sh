#!/usr/bin/env bash
# Runs the companion's output tests of the x86 test program (build/native) against the
# ARM companion under qemu-aarch64 and the WebAssembly companion under node
# (tests/native/companion_run.h starts QUILLMERE_CLI through QUILLMERE_CLI_RUNNER).
#
#   tests/cross/companion_tests.sh            both; needs build/native, build/linux-arm64
#   tests/cross/companion_tests.sh arm64      and build/wasm built
#   tests/cross/companion_tests.sh wasm
#
# Under node two write failures cannot look native: node opens /dev/null for a closed
# standard output before the program starts, and it ignores SIGPIPE whatever its parent
# set. The WebAssembly run leaves out that one test and checks here instead what node
# can give: a full disk reported as natively, and a reader that went away ending the
# output quietly with exit code 1, as the native program does where SIGPIPE is ignored.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
tests=build/native/tests/native/quillmere_native_tests
suites='Best.*:Code.*:Companion.*:CompanionOptions.*:CompanionOutput.*:Decode.*:Errors.*:Fdcan.*:Sjw.*'
failures=0

run_tests() {  # run_tests NAME PROGRAM FILTER RUNNER...
  local name=$1 program=$2 filter=$3
  shift 3
  echo "== the companion's tests against $name"
  QUILLMERE_CLI="$root/$program" QUILLMERE_CLI_RUNNER="$*" "$tests" --gtest_brief=1 \
    --gtest_filter="$filter" || failures=$((failures + 1))
}

check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "PASS $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

node_write_failures() {
  local companion=build/wasm/cli/quillmere-cli.js err code
  err=$(node "$companion" --format tsv 2>&1 >/dev/full) && code=0 || code=$?
  check "wasm: a full disk gives exit code 1 and the reason" \
    test "$code:$err" = "1:quillmere-cli: cannot write output: No space left on device"
  # The largest bxCAN listing into a pipe whose reader has gone.
  code=$( (trap '' PIPE; node "$companion" --sample-point 0 --tolerance 100 2>"$root/build/node-pipe.err"
           echo $? >"$root/build/node-pipe.code") | true; cat "$root/build/node-pipe.code")
  check "wasm: a broken pipe ends the output quietly with exit code 1" \
    test "$code:$(cat "$root/build/node-pipe.err")" = "1:"
  rm -f "$root/build/node-pipe.err" "$root/build/node-pipe.code"
}

[ -x "$tests" ] || { echo "companion_tests: build the native preset first ($tests)" >&2; exit 1; }
which=${1:-both}
case "$which" in
  arm64|wasm|both) ;;
  *) echo "usage: tests/cross/companion_tests.sh [arm64|wasm]" >&2; exit 2 ;;
esac
if [ "$which" != wasm ]; then
  run_tests "arm64 (qemu)" build/linux-arm64/cli/quillmere-cli "$suites" qemu-aarch64 -L /usr/aarch64-linux-gnu
fi
if [ "$which" != arm64 ]; then
  run_tests "wasm (node)" build/wasm/cli/quillmere-cli.js "$suites:-Errors.FailedWritesSayWhyAndABrokenPipeIsQuiet" node
  node_write_failures
fi
[ $failures -eq 0 ] || { echo "companion_tests: $failures failed" >&2; exit 1; }
echo "companion_tests: all passed"
