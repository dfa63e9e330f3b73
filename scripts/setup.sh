#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# A machine that has them all installs nothing (each package is checked with dpkg first).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev libgl-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  locales
  glpk-utils  # glpsol: the solver's results are compared with GLPK's in the tests
  xvfb xclip  # the paste test runs the program under a real X server with a clipboard owner that quits
  gcovr       # scripts/coverage.sh: what the tests run, per file and folder
  acl         # setfacl: a save keeps the access list of a shared file (the test skips without it)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale lets the tests prove that numbers never follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || ! grep -q 'de_DE.UTF-8' /etc/locale.gen 2>/dev/null; then
    as_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen || true
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null || echo "warning: could not generate de_DE.UTF-8; the locale test will skip"
fi
