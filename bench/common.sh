# What the benchmark scripts share; sourced from the project root ("$(dirname "$0")/common.sh").

# Builds the named targets of the Release build in build-release, three compilers at a time
# unless CMAKE_BUILD_PARALLEL_LEVEL says otherwise (the machine may be shared).
build_release() {
  export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-3}"
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-release --target "$@" >/dev/null
}

# The median of the numbers given, as separate arguments or blank-separated in one.
median() {
  printf '%s\n' $* | sort -g | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}
