#!/usr/bin/env bash
# Builds and runs the tests.
#   ./test.sh             every test (widget tests on the offscreen platform)
#   ./test.sh --sanitize  the core tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --fuzz      each fuzz target over its seeds plus 20,000 generated inputs
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

case "${1:-}" in
  "")
    cmake -S . -B build -G Ninja
    cmake --build build
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  --sanitize)
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DOXI_SANITIZE=ON -DOXI_BUILD_UI=OFF -DOXI_BUILD_BENCH=OFF
    cmake --build build-sanitize
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
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
      echo "== $name: $count seeds + 20000 generated inputs"
      "$target" -runs=$((count + 20000)) -max_len=8192 -seed=1 -print_final_stats=1 "$work" "$seeds" 2>&1 | tail -n 12
    done
    ;;
  *)
    echo "usage: $0 [--sanitize|--fuzz]" >&2
    exit 2
    ;;
esac
