#!/usr/bin/env bash
# Start-up with large databases: generates a materials database and a glaze database, starts
# the program on them several times with --startup-time (it quits as soon as its main window is
# shown and prints the seconds since launch) and reports the best and the median run.
#
#   bench/startup.sh [RUNS] [OTHER_PROGRAM...]     default 7 runs per case
#
# Other programs (an older build, say) run on the same databases in turn with this one, run for
# run, so that their figures are measured under the same load.
#
# Cases: 50,000 materials with 20,000 glazes, and 50,000 materials with 100,000 glazes. Target:
# under 0.5 s (Release build). The program runs on the offscreen platform unless
# QT_QPA_PLATFORM says otherwise; its profile, preferences and data stay in a temporary
# directory.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-7}"
others=("${@:2}")
source bench/common.sh
build_release oxidarium oxidarium_bench_databases
program="$PWD/build-release/bin/oxidarium"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
unset OXIDARIUM_PROFILE

run_case() {
  local materials=$1 glazes=$2
  local data="$work/data-$materials-$glazes"
  mkdir -p "$data"
  cp data/elements.ele data/substitutions.sub data/tarnell.lim data/graphtypes.grt "$data/"
  build-release/bench/oxidarium_bench_databases "$data" "$materials" "$glazes"
  # A first start takes the data directory over (profile, preferences, database tree).
  rm -rf "$XDG_CONFIG_HOME"
  printf '%s\n' "$data" > build-release/bin/datalocation.txt
  (cd "$data" && "$program" --startup-time >/dev/null 2>&1)
  local programs=("$program" "${others[@]}")
  local -A times=()
  for ((i = 0; i < runs; i++)); do
    for p in "${programs[@]}"; do
      times[$p]+="$(cd "$data" && timeout 60 "$p" --startup-time "$data/glazes.glz" 2>/dev/null | sed -n 's/^Main window shown \([0-9.]*\) s.*/\1/p') "
    done
  done
  for p in "${programs[@]}"; do
    printf '%s\n' ${times[$p]} | sort -n | awk -v m="$materials" -v g="$glazes" -v n="$runs" -v p="$p" \
      '{ t[NR] = $1 } END { printf "%6d materials, %6d glazes: best %.3f s, median %.3f s (%d runs) %s\n", m, g, t[1], t[int((NR + 1) / 2)], n, p }'
  done
}

run_case 50000 20000
run_case 50000 100000
