#!/usr/bin/env bash
# The floor check on small trees: it passes a tree whose includes all point down, and names
# each include that runs up a floor, sideways between subsystems, or to sqlite3.h outside
# the store.
set -uo pipefail
check="$(cd "$(dirname "$0")" && pwd)/check_floors.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

put() {  # put FILE LINE...: writes a source file
  mkdir -p "$work/$(dirname "$1")"
  local file=$1
  shift
  printf '%s\n' "$@" >"$work/$file"
}

expect() {  # expect WHAT STATUS OUTPUT-PATTERN...
  local what=$1 status=$2
  shift 2
  local out code
  out=$(bash "$check" "$work" 2>&1)
  code=$?
  if [ "$code" -ne "$status" ]; then
    echo "FAIL $what: exit $code, expected $status"$'\n'"$out"
    failed=1
  fi
  for pattern in "$@"; do
    if ! grep -qF -- "$pattern" <<<"$out"; then
      echo "FAIL $what: no line with '$pattern' in"$'\n'"$out"
      failed=1
    fi
  done
}

# A sound tree: every include points down; cli/ and exchange/ do not exist yet.
put store/Store.h '#pragma once' '#include <sqlite3.h>'
put store/Store.cpp '#include "store/Store.h"' '#include "Store.h"'
put controls/Grid.h '#include "store/Store.h"' '#include <QWidget>'
put shell/Help.cpp '#include "controls/Grid.h"'
put guests/Window.cpp '#include "shell/Help.h"' '#include "guests/Rules.h"' '#include "store/Store.h"'
put app/Main.cpp '#include "guests/Window.h"' '#include "shell/Help.h"'
put main.cpp '#include "app/Main.h"'
put tests/store/StoreTest.cpp '#include <sqlite3.h>' '#include "app/Main.h"'
put bench/Bench.cpp '#include <sqlite3.h>' '#include "store/Handle.h"'
put store/Undo.cpp '#include "store/Handle.h"'
expect "a sound tree" 0 "every include points down"

# Up a floor, sideways, relative up, and sqlite3.h outside the store.
put store/Uses.cpp '#include "controls/Grid.h"'
put guests/Seats.cpp '// a comment' '#include "seating/Plan.h"'
put shell/Relative.cpp '#include "../app/Main.cpp"'
put reports/Data.cpp '#  include <sqlite3.h>'
put app/Cli.cpp '#include "cli/Command.h"'
put guests/Raw.cpp '#include "store/Handle.h"'
expect "a tree with faults" 1 \
  "store/Uses.cpp:1: includes controls/Grid.h from a floor above" \
  "guests/Seats.cpp:2: includes seating/Plan.h sideways" \
  "shell/Relative.cpp:1: includes app/Main.cpp from a floor above" \
  "reports/Data.cpp:1: includes sqlite3.h" \
  "app/Cli.cpp:1: includes cli/Command.h sideways" \
  "guests/Raw.cpp:1: includes store/Handle.h"
count=$(bash "$check" "$work" 2>/dev/null | grep -c ': includes')
[ "$count" -eq 6 ] || { echo "FAIL: $count faults reported, expected 6"; failed=1; }

# A folder without a floor that includes the floors must be given one.
rm -rf "$work"/store/Uses.cpp "$work"/guests/Seats.cpp "$work"/guests/Raw.cpp "$work"/shell/Relative.cpp "$work"/reports "$work"/app/Cli.cpp
put plugins/Extra.cpp '#include "store/Store.h"'
expect "a folder without a floor" 1 "plugins/Extra.cpp:1: includes store/Store.h, but plugins/ has no floor"

exit $failed
