#!/usr/bin/env bash
# Checks the include floors of the source tree: a folder includes only from its own folder and
# from floors below it, never sideways between the folders of one floor; and only the store
# (and the tools, tests, benchmarks and fuzzers) includes sqlite3.h or the store's raw handle
# (store/Handle.h). Prints every offending include as file:line and exits 1 when there is one.
#
# Usage: check_floors.sh [source root]   (default: the tree this script lives in)
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/../.." && pwd)"}

# The floors, bottom to top, written once. Folders on one line share a floor. A listed folder
# that does not exist yet is simply absent; main.cpp sits above every floor.
floors=(
  "store"
  "controls"
  "shell"
  "checklist budget guests vendors seating reports exchange"
  "app cli"
)
# Folders outside the floors, which may include anything and may include sqlite3.h.
free_folders=" tools tests bench fuzz "

declare -A floor_of
for i in "${!floors[@]}"; do
  for folder in ${floors[$i]}; do
    floor_of[$folder]=$i
  done
done

include_pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]+)[">]'

# Sets `name` to the path from the root of a name written relative to the including file's
# folder. (No subshells in the loop: the tree has a few thousand includes.)
resolve() {
  local dir=${1%/*} rel=$2
  [ "$dir" = "$1" ] && dir=""
  while :; do
    case "$rel" in
      ./*) rel=${rel#./} ;;
      ../*) rel=${rel#../}; [[ "$dir" == */* ]] && dir=${dir%/*} || dir="" ;;
      *) break ;;
    esac
  done
  name=${dir:+$dir/}$rel
}

faults=0
report() {
  echo "$1: $2"
  faults=$((faults + 1))
}

while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  # The included name: between the quotes or the angle brackets.
  [[ "$text" =~ $include_pattern ]] || continue
  name=${BASH_REMATCH[1]}
  from=${file%%/*}
  [ "$from" = "$file" ] && from=""                # a file at the root
  if [ "${name##*/}" = "sqlite3.h" ]; then
    if [ "$from" != "store" ] && [[ "$free_folders" != *" $from "* ]]; then
      report "$file:$line" "includes sqlite3.h; only store/ talks to SQLite"
    fi
    continue
  fi
  if [ "$name" = "store/Handle.h" ]; then
    if [ "$from" != "store" ] && [[ "$free_folders" != *" $from "* ]]; then
      report "$file:$line" "includes store/Handle.h; above the store, code reads through Database and ReadQuery"
    fi
    continue
  fi
  # A quoted name relative to the including file's folder ("y.h", "../x/y.h").
  if [ "${BASH_REMATCH[0]: -1}" = '"' ] && [[ "$name" != */* || "$name" == ../* || "$name" == ./* ]]; then
    resolve "$file" "$name"
  fi
  to=${name%%/*}
  [ "$to" != "$name" ] && [ -n "${floor_of[$to]+x}" ] || continue
  [ "$from" = "$to" ] && continue
  [ -z "$from" ] && continue                      # main.cpp and other files at the root
  [[ "$free_folders" == *" $from "* ]] && continue
  if [ -z "${floor_of[$from]+x}" ]; then
    report "$file:$line" "includes $name, but $from/ has no floor (add it to the floors of $0)"
  elif [ "${floor_of[$from]}" -lt "${floor_of[$to]}" ]; then
    report "$file:$line" "includes $name from a floor above ($from/ is below $to/)"
  elif [ "${floor_of[$from]}" -eq "${floor_of[$to]}" ]; then
    report "$file:$line" "includes $name sideways ($from/ and $to/ share a floor)"
  fi
done < <(cd "$root" && grep -rnE '^[[:space:]]*#[[:space:]]*include' \
           --include='*.cpp' --include='*.h' --include='*.hpp' --include='*.c' --include='*.cc' \
           --exclude-dir='build*' --exclude-dir='.?*' . | sed 's|^\./||')

if [ "$faults" -gt 0 ]; then
  echo "$faults include(s) break the floors: a folder includes only from floors below it." >&2
  exit 1
fi
echo "floors: every include points down"
