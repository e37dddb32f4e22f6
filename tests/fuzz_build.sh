#!/usr/bin/env bash
# Builds the fuzz targets with clang in a build folder of their own (every library they link
# instrumented for coverage and checked by the address and undefined-behaviour sanitizers),
# then runs each over its seeds and for a few seconds of new inputs. Exits non-zero when a
# target does not build or an input makes one fail.
#
# Usage: fuzz_build.sh SOURCE_ROOT BUILD_DIR CLANG CLANGXX
set -euo pipefail
source=$1 build=$2 cc=$3 cxx=$4
seconds=${ORVANE_FUZZ_SECONDS:-5}

cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER="$cc" \
      -DCMAKE_CXX_COMPILER="$cxx" -DORVANE_FUZZ=ON -DORVANE_BENCH=OFF > "$build.configure.log" 2>&1 ||
  { cat "$build.configure.log" >&2; exit 1; }
jobs=$(nproc 2>/dev/null || echo 2)
cmake --build "$build" -j"$jobs" --target fuzz_dialect fuzz_csv fuzz_report_formula

export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
run() {
  local target=$1 seeds=$2
  local work
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  # Every seed once, as a regression check, then new inputs grown from copies of the seeds.
  if [ -d "$seeds" ]; then
    "$build/fuzz/$target" "$seeds"/* > "$work/replay.log" 2>&1 ||
      { tail -40 "$work/replay.log" >&2; echo "$target fails on one of its seeds" >&2; return 1; }
    cp -r "$seeds"/. "$work/corpus"
  else
    mkdir "$work/corpus"
  fi
  "$build/fuzz/$target" -max_total_time="$seconds" -artifact_prefix="$work/" "$work/corpus" \
      > "$work/fuzz.log" 2>&1 ||
    { tail -40 "$work/fuzz.log" >&2; echo "$target failed on a new input" >&2; return 1; }
  echo "$target: seeds and ${seconds} s of new inputs passed"
}
run fuzz_dialect "$source/tests/store/fuzz_corpus"
run fuzz_csv "$source/tests/exchange/fuzz_corpus"
run fuzz_report_formula ""
