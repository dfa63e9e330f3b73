#!/usr/bin/env bash
# Builds the program, makes sure the user's data directory holds the shipped databases, and
# starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target oxidarium

# The user's data directory: files of data/ that are not there yet are copied in; the user's
# own files and changes are never touched.
data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/Oxidarium"
profile="${OXIDARIUM_PROFILE:-${XDG_CONFIG_HOME:-$HOME/.config}/Oxidarium/Oxidarium.ini}"
mkdir -p "$data_dir"
added=0
for file in data/*; do
  [ -f "$file" ] || continue
  target="$data_dir/$(basename "$file")"
  if [ ! -e "$target" ]; then
    cp "$file" "$target"
    added=1
  fi
done

# The program takes the data directory over from "datalocation.txt" beside itself and deletes
# the file: it then records the databases in its profile, keeps its preferences there and
# catalogues the directory. Needed when files were added or the profile does not know the
# directory yet.
if [ "$added" = 1 ] || ! grep -qF "$data_dir" "$profile" 2>/dev/null; then
  printf '%s\n' "$data_dir" > build/bin/datalocation.txt
fi

exec build/bin/oxidarium "$@"
