#!/usr/bin/env bash
# Checks that a program of the build loads none of the named shared libraries: the command-line
# tool no Qt Widgets, the store's link check no Qt Gui. Prints what it found and exits 1.
#
# Usage: check_links.sh PROGRAM PATTERN   (PATTERN: an extended regular expression over ldd's lines)
set -euo pipefail
program=$1 pattern=$2
[ -x "$program" ] || { echo "$program: no such program (build it first)" >&2; exit 1; }
if found=$(ldd "$program" | grep -E "$pattern"); then
  echo "$program loads what its floor must not:" >&2
  echo "$found" >&2
  exit 1
fi
echo "$(basename "$program"): none of /$pattern/"
