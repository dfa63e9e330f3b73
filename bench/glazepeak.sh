#!/usr/bin/env bash
# Peak memory of opening a large glaze database: writes a database of 100,000 generated glazes
# and opens it, run for run, the two ways (`oxidarium_read_bench glazes FILE whole`: the whole
# file at once, read in pieces on several threads, as the program opens a file; `... plain`: the
# one-piece stream read), each in a process of its own, and reports each way's median peak
# resident memory and read time. Target: the pieces' peak at most 10% over the plain read's,
# at the same speed (Release build).
#
#   bench/glazepeak.sh [RUNS] [OTHER_READ_BENCH...]     default 9 runs
#
# Other builds of oxidarium_read_bench (an older one, say) run in turn with this one, run for
# run, so that their figures are measured under the same load.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-9}"
others=("${@:2}")
source bench/common.sh
build_release oxidarium_read_bench oxidarium_bench_databases
programs=("$PWD/build-release/bench/oxidarium_read_bench" "${others[@]}")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build-release/bench/oxidarium_bench_databases "$work" 5000 100000
file="$work/glazes.glz"
"${programs[0]}" glazes "$file" plain >/dev/null

declare -A peaks=() times=()
for ((i = 0; i < runs; i++)); do
  for p in "${programs[@]}"; do
    for way in whole plain; do
      read -r _ count _ seconds _ _ peak _ < <("$p" glazes "$file" "$way")
      peaks[$p $way]+="$peak " times[$p $way]+="$seconds "
    done
  done
done
for p in "${programs[@]}"; do
  echo "$p, $count glazes, $(stat -c %s "$file") bytes (medians of $runs):"
  for way in whole plain; do
    printf '  %-5s peak %6.1f MB, read %.3f s\n' "$way" "$(median "${peaks[$p $way]}")" "$(median "${times[$p $way]}")"
  done
  awk -v w="$(median "${peaks[$p whole]}")" -v pl="$(median "${peaks[$p plain]}")" \
      -v tw="$(median "${times[$p whole]}")" -v tp="$(median "${times[$p plain]}")" \
    'BEGIN { printf "  whole / plain: peak %.3f, read time %.3f\n", w / pl, tw / tp }'
done
