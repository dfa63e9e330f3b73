#!/usr/bin/env bash
# What the tests run: builds the tests with gcov coverage in build-coverage, runs both test
# programs once each (as a whole, as test.sh also does) and writes, under build-coverage/coverage/,
#   summary.txt    line and branch coverage per folder of src/ (and of all src/)
#   untested.txt   per source file the lines no test runs and the branches no test takes
#   coverage.json  gcovr's data, for other reports (gcovr -a coverage.json --html-details ...)
#
#   scripts/coverage.sh                       build, run, report on every folder of src/
#   scripts/coverage.sh src/core/tools ...    the same, untested.txt only for those folders
#   scripts/coverage.sh --report [FOLDER...]  report again on the last run, without building
#   scripts/coverage.sh --build               only build (scripts/mutate.py --coverage-select runs the
#                                             tests itself, one suite at a time)
# Branches the compiler adds for exceptions are left out: no test could take them all.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-coverage
out=$build/coverage
report_only=0
build_only=0
failed=0
if [ "${1:-}" = "--report" ]; then report_only=1; shift; fi
if [ "${1:-}" = "--build" ]; then build_only=1; shift; fi
folders=("$@")

if [ "$report_only" -eq 0 ]; then
  scripts/setup.sh
  jobs=${OXI_COVERAGE_JOBS:-4}
  # Unoptimised, so that every line is counted as written; the counters are updated atomically, as
  # several threads read large files.
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOXI_BUILD_UI=ON -DOXI_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=--coverage -fprofile-update=atomic" -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
  cmake --build "$build" -j "$jobs" --target core_tests ui_tests
  [ "$build_only" -eq 0 ] || exit 0
  # Counts add up over runs: start from none.
  find "$build" -name '*.gcda' -delete
  export QT_QPA_PLATFORM=offscreen
  for program in "$build/tests/core_tests" "$build/tests/ui_tests"; do
    echo "== $program"
    "$program" --gtest_brief=1 || failed=1
  done
  [ "$failed" -eq 0 ] || echo "warning: some tests failed; their code is counted as far as they ran" >&2
fi

mkdir -p "$out"
echo "== reading the counts (gcov)"
gcovr --root . --object-directory "$build" --filter 'src/' \
  --exclude-throw-branches --exclude-unreachable-branches \
  -j "${OXI_COVERAGE_JOBS:-4}" --json "$out/coverage.json"
python3 scripts/coverage_report.py "$out/coverage.json" "$out" "${folders[@]}"
echo "Per folder: $out/summary.txt; lines and branches no test runs: $out/untested.txt"
exit "$failed"
