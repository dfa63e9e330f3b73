#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target oxidarium
exec build/bin/oxidarium "$@"
