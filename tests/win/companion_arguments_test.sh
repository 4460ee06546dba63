#!/usr/bin/env bash
# quillmere-cli.exe under Wine takes its arguments as typed: a Chinese value and a
# full-width number come back in its error line as they were written, not as the
# bytes of the ANSI code page (936 here: "中文" would show as "\xd6\xd0\xce\xc4"), and
# the version line names the version and a commit.
#
#   tests/win/companion_arguments_test.sh PATH/quillmere-cli.exe
# Run by CTest (tests/win) inside scripts/test-windows.sh's Wine session.
set -uo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME CODE STDOUT STDERR ARGUMENTS...: output through files (scripts/wine-run.sh
# says why), line ends as Windows writes them on standard error taken off.
expect() {
  local name=$1 code=$2 out=$3 err=$4 status=0
  shift 4
  wine "$exe" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
  local got_out got_err
  got_out=$(tr -d '\r' <"$work/out")
  got_err=$(tr -d '\r' <"$work/err" | grep -v '^[0-9a-f]*:\(fixme\|err\|warn\):' || true)
  if [ "$status" -eq "$code" ] && [[ "$got_out" == $out ]] && [ "$got_err" = "$err" ]; then
    echo "PASS $name"
  else
    echo "FAIL $name: exit code $status, stdout '$got_out', stderr '$got_err'"
    failures=$((failures + 1))
  fi
}

expect "a Chinese value is echoed as typed" 2 "" \
  'quillmere-cli: invalid value "中文" for --clock: not a decimal number' --clock 中文
expect "a full-width number is echoed as typed" 2 "" \
  'quillmere-cli: invalid value "３６" for --rate: not a number' --rate ３６
expect "a Chinese option name is echoed as typed" 2 "" \
  'quillmere-cli: unknown option "--时钟" (see --help)' --时钟 36
expect "ASCII arguments still read" 0 $'CAN_BS1_16tq\tCAN_BS2_3tq\t1\t85.0%\t400\t0%\nCAN_BS1_15tq\tCAN_BS2_4tq\t1\t80.0%\t400\t0%' "" \
  --clock 8 --rate 400 --sample-point 80 --sjw 3 --format tsv
expect "the version names a commit and the arithmetic" 0 \
  "quillmere-cli [0-9]*.[0-9]*.[0-9]* (commit [0-9a-f]*)"$'\n'"arithmetic: x87" "" --version

[ "$failures" -eq 0 ]
