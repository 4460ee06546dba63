#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each for SECONDS seconds,
# starting from the inputs in fuzz/corpus/<target>/ when there are any. Exits non-zero
# when any target crashes or finds a fault; the input that did it is left in
# build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

artifacts="build/fuzz/artifacts"
mkdir -p "$artifacts"
status=0
for target in build/fuzz/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$(mktemp -d)"
  # Hand-picked starting inputs (ties, full-width forms, extremes), when there are any.
  if [ -d "fuzz/corpus/$name" ]; then cp fuzz/corpus/"$name"/* "$corpus"/; fi
  # The command line takes arguments as long as Linux passes one (128 KiB): a reading
  # slower than linear in their length shows as a timeout on fuzz/corpus/*/long_values.
  max_len=4096
  [ "$name" != command_line_fuzz ] || max_len=131072
  # A target's words (fuzz/<target>.dict), when it has them.
  dict=()
  if [ -f "fuzz/$name.dict" ]; then dict=(-dict="fuzz/$name.dict"); fi
  echo "== $name for ${seconds}s"
  if timeout --kill-after=10 "$((seconds + 60))" "$target" "$corpus" "${dict[@]}" \
      -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 -max_len="$max_len" \
      -print_final_stats=1 -artifact_prefix="$artifacts/$name-" 2>"build/fuzz/$name.log"; then
    grep -E '^stat::number_of_executed_units' "build/fuzz/$name.log" || true
  else
    echo "!! $name failed; see build/fuzz/$name.log"
    tail -n 40 "build/fuzz/$name.log"
    status=1
  fi
  rm -rf "$corpus"
done
exit "$status"
