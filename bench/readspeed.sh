#!/usr/bin/env bash
# The key = value reader against the line count, whole processes: writes the reader's benchmark
# files of 200,000 and 2,000,000 five-key records (20 MB and 200 MB), then times, run for run,
# `wc -l FILE`, `oxidarium_read_bench keys FILE` (the reader on the same file as the program reads
# a database, in pieces on several threads, then exit) and `... keys FILE plain` (in one piece),
# and reports each one's median and the ratio of the medians. Target: the reader at most 4 times
# `wc -l` on both files (Release build).
#
#   bench/readspeed.sh [RUNS] [CPU] [OTHER_READ_BENCH...]
#
# Default 15 runs, where the system places them, as a user runs them; with CPU (a number) all
# run on that one processor. Other builds of oxidarium_read_bench (an older one, say) run in
# turn with this one, run for run, under the same load.
#
# The load averages before and after are printed: the machine may be shared.
#
# The files are read once before timing, so that both read them from the page cache.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-15}"
cpu="${2:--}"
source bench/common.sh
build_release oxidarium_read_bench
reader="$PWD/build-release/bench/oxidarium_read_bench"
# Each reader is a command to which the file is appended (or, with a word after it, inserted).
readers=("$reader keys" "$reader keys @ plain")
for other in "${@:3}"; do readers+=("$other keys"); done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

pin=()
[[ $cpu == - ]] || pin=(taskset -c "$cpu")

# Seconds one reader command takes on a file, wall clock.
seconds() {
  local command=$1 file=$2
  [[ $command == *@* ]] && command=${command/@/$file} || command="$command $file"
  local start=$EPOCHREALTIME
  "${pin[@]}" $command >/dev/null
  local end=$EPOCHREALTIME
  echo "$end - $start" | bc -l
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for records in 200000 2000000; do
  file="$work/keys-$records.txt"
  "$reader" write-keys "$records" "$file"
  wc -l "$file" >/dev/null
  declare -A times=()
  for r in "${readers[@]}"; do seconds "$r" "$file" >/dev/null; done
  for ((i = 0; i < runs; i++)); do
    times[wc]+="$(seconds "wc -l" "$file") "
    for r in "${readers[@]}"; do
      times[$r]+="$(seconds "$r" "$file") "
    done
  done
  wcMedian=$(median ${times[wc]})
  for r in "${readers[@]}"; do
    awk -v r="$records" -v mb="$(stat -c %s "$file")" -v w="$wcMedian" -v k="$(median ${times[$r]})" -v n="$runs" -v p="${r/@/FILE}" \
      'BEGIN { printf "%7d records (%3.0f MB): wc -l %.4f s, reader %.4f s, %.2fx wc -l (medians of %d) %s\n", r, mb / 1e6, w, k, k / w, n, p }'
  done
  unset times
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
