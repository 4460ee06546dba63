#!/usr/bin/env bash
# Prints how long the companion of each build takes for the preset inputs and for the
# largest bxCAN listing (sample point 0, tolerance 100%: 130 683 rows), output to
# /dev/null, fastest of N runs (default 5). Start-up alone (--version) is shown too:
# under node it is most of a short run. Figures only, nothing asserted.
#
#   scripts/bench-companions.sh [N]      needs build/native and build/wasm; build/portable
#                                        and build/linux-arm64 (under qemu) when built
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}

builds=("x86 (x87)|build/native/cli/quillmere-cli|"
        "x86 (portable)|build/portable/cli/quillmere-cli|"
        "wasm (node)|build/wasm/cli/quillmere-cli.js|node"
        "arm64 (qemu)|build/linux-arm64/cli/quillmere-cli|qemu-aarch64 -L /usr/aarch64-linux-gnu")
requests=("start-up (--version)|--version"
          "preset inputs (30 rows)|--format tsv"
          "largest bxCAN listing (130 683 rows)|--format tsv --sample-point 0 --tolerance 100")

fastest_ms() {  # fastest_ms COMMAND...: the fastest of $runs runs, in milliseconds
  local best="" i start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ $ms -lt $best ]; then best=$ms; fi
  done
  echo "$best"
}

printf '%-38s' "fastest of $runs, ms"
for build in "${builds[@]}"; do printf '%16s' "${build%%|*}"; done
echo
for request in "${requests[@]}"; do
  printf '%-38s' "${request%%|*}"
  read -r -a arguments <<<"${request#*|}"
  for build in "${builds[@]}"; do
    IFS='|' read -r _ program runner <<<"$build"
    if [ ! -f "$program" ]; then printf '%16s' "not built"; continue; fi
    read -r -a words <<<"$runner"
    printf '%16s' "$(fastest_ms "${words[@]}" "$program" "${arguments[@]}")"
  done
  echo
done
