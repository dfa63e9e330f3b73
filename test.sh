#!/usr/bin/env bash
# Builds and runs the tests.
#   ./test.sh             every test (widget tests on the offscreen platform), the chart tests
#                         once more at pixel ratio 2 (a screen at 200 %), each test program once
#                         more as a whole in shuffled order, and the monkey for two seeds of 15 s
#   ./test.sh --sanitize  every test (core and widgets, at pixel ratio 1) under AddressSanitizer and
#                         UndefinedBehaviorSanitizer, then the monkey (tests/monkey) for four
#                         seeds of 25 s
#   ./test.sh --fuzz      each fuzz target over its seeds plus 20,000 generated inputs (up to
#                         1 MB for the import readers, 8 KB for the others; the chart builder's
#                         target stops after a minute)
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Every test process may spend ten minutes of processor time (the slowest test 18 s under the
# sanitizers, a whole run of a test program a minute or two): one that spends more loops for
# good, and is stopped (SIGXCPU) however busy the machine. The limits on the clock are long enough
# that only a process waiting for good reaches them; a busy machine stretches the clock, not the
# processor time.
limit_processor_time() { ulimit -S -t 600; }

case "${1:-}" in
  "")
    cmake -S . -B build -G Ninja
    cmake --build build
    limit_processor_time
    # With the chart tests at pixel ratio 2 (label ratio-2, tests/CMakeLists.txt).
    ctest --test-dir build --output-on-failure -j "$jobs"
    # ctest runs each test in a process of its own, each within its time-out (tests/CMakeLists.txt);
    # each test program also runs once as a whole, in shuffled order (fixed seed), so a test that
    # leaves the process changed fails here. A whole run spends a minute or two; one that has not
    # ended after 30 minutes on the clock waits for good, and fails.
    # The two programs run side by side (one core each).
    whole_run() {
      echo "== $1 as one process, shuffled"
      timeout --kill-after=30 1800 "$1" --gtest_shuffle --gtest_random_seed=2026 --gtest_brief=1 || {
        status=$?
        [ "$status" -eq 124 ] && echo "== $1 did not end within 30 minutes as one process" >&2
        return "$status"
      }
    }
    whole_run build/tests/core_tests & core=$!
    whole_run build/tests/ui_tests & ui=$!
    wait "$core"; wait "$ui"
    # The monkey on the optimised build: a step that spends more than 5 s of processor time on the
    # program's thread, or has not ended after five minutes on the clock, hangs, and fails.
    build/tests/oxidarium_monkey --seed 1 --seconds 15 & first=$!
    build/tests/oxidarium_monkey --seed 2 --seconds 15 & second=$!
    wait "$first"; wait "$second"
    ;;
  --sanitize)
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DOXI_SANITIZE=ON -DOXI_BUILD_UI=ON -DOXI_BUILD_BENCH=OFF
    cmake --build build-sanitize
    limit_processor_time
    # The leak checker's walk over dynamically loaded libraries' thread-local storage crashes on
    # this glibc once an image plugin is loaded; their static thread-local storage is still
    # scanned.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
    # Leaks are suppressed only inside system libraries, by library name.
    export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # The chart tests run at pixel ratio 2 once, in the first pass.
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" --label-exclude ratio-2
    # The monkey: the whole program used at random, four seeds of 25 s, two at a time.
    monkey() { nice build-sanitize/tests/oxidarium_monkey --seed "$1" --seconds 25; }
    for pair in "1 2" "3 4"; do
      set -- $pair
      monkey "$1" & first=$!
      monkey "$2" & second=$!
      wait "$first"; wait "$second"
    done
    ;;
  --fuzz)
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DOXI_FUZZ=ON -DOXI_BUILD_UI=OFF
    cmake --build build-fuzz
    for target in build-fuzz/fuzz/fuzz_*; do
      [ -x "$target" ] || continue
      name=$(basename "$target")
      seeds="fuzz/corpus/${name#fuzz_}"
      work="build-fuzz/work/$name"
      rm -rf "$work"; mkdir -p "$work" "$seeds"
      count=$(find "$seeds" -type f | wc -l)
      # Readers of the files and clipboard texts a user imports meet long inputs: their inputs
      # run up to 1 MB, and may grow that long at once; the others stay within 8 KB.
      case "$name" in
        fuzz_import_files|fuzz_text_file|fuzz_glaze_text|fuzz_tmt) limits=(-max_len=1048576 -len_control=0) ;;
        # Building charts costs far more per input than reading a file: the chart target stops
        # after a minute whatever it has reached.
        fuzz_chart) limits=(-max_len=8192 -max_total_time=60) ;;
        *) limits=(-max_len=8192) ;;
      esac
      echo "== $name: $count seeds + 20000 generated inputs (${limits[*]})"
      "$target" -runs=$((count + 20000)) "${limits[@]}" -seed=1 -print_final_stats=1 "$work" "$seeds" 2>&1 | tail -n 12
    done
    ;;
  *)
    echo "usage: $0 [--sanitize|--fuzz]" >&2
    exit 2
    ;;
esac
