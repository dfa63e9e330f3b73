#!/usr/bin/env bash
# Peak memory of saving a large glaze database: writes a database of generated glazes, opens it
# and saves it over itself, each save in a process of its own and the two ways run for run
# (`oxidarium_save_bench FILE ordinary`: a lone file, saved as a new file renamed over it;
# `... inplace`: a file with a second name, written in place after its old bytes are kept in
# "Kept copies"), and reports each way's median resident memory before the save, peak during it,
# the peak's excess over what was held before, and the save's time. Target: the save in place
# needs no more memory than the ordinary save plus a fixed buffer (Release build).
#
#   bench/savepeak.sh [GLAZES] [RUNS] [OTHER_SAVE_BENCH...]    default 250,000 glazes, 3 runs
#
# Other builds of oxidarium_save_bench (an older one, say) run in turn with this one, run for
# run, on the same file.
set -euo pipefail
cd "$(dirname "$0")/.."
glazes="${1:-250000}"
runs="${2:-3}"
others=("${@:3}")
source bench/common.sh
build_release oxidarium_save_bench oxidarium_bench_databases
programs=("$PWD/build-release/bench/oxidarium_save_bench" "${others[@]}")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
build-release/bench/oxidarium_bench_databases "$work" 5000 "$glazes"
file="$work/glazes.glz"

declare -A befores=() peaks=() times=()
for ((i = 0; i < runs; i++)); do
  for p in "${programs[@]}"; do
    for way in ordinary inplace; do
      read -r _ count _ bytes _ before _ _ peak _ _ seconds _ < <("$p" "$file" "$way")
      befores[$p $way]+="$before " peaks[$p $way]+="$peak " times[$p $way]+="$seconds "
    done
  done
done
for p in "${programs[@]}"; do
  echo "$p, $count glazes, $bytes bytes (medians of $runs):"
  for way in ordinary inplace; do
    b=$(median "${befores[$p $way]}") pk=$(median "${peaks[$p $way]}")
    printf '  %-8s before %7.1f MB, peak %7.1f MB, excess %7.1f MB, save %.3f s\n' "$way" "$b" "$pk" \
      "$(awk -v a="$pk" -v b="$b" 'BEGIN { print a - b }')" "$(median "${times[$p $way]}")"
  done
  leftover=$(find "$XDG_DATA_HOME" -type f | wc -l)
  echo "  files left in Kept copies: $leftover"
done
