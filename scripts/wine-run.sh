#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and passes on its output and exit code.
#
# Wine starts its helper processes (services.exe, explorer.exe, ...) on demand, and
# they inherit the output of whichever program started them and outlive it while the
# wineserver lives. Written straight to CTest's pipe, that output would never reach
# end-of-file and CTest would wait until its timeout; a file does not care.
set -uo pipefail
output=$(mktemp)
wine "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
rm -f "$output"
exit $status
