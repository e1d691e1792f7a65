#!/usr/bin/env bash
# Runs the skin benchmarks once under Wine and prints their figures (the main UI
# library's parse and paint figures, then the updater library's paint figures); starts a private
# Xvfb when there is no display. Not a test: nothing here passes or fails on timings.
# Each ratio with a goal is a line of its own, the same for both libraries:
#   ratio <main|updater> library <what>: <value> (goal <goal>)
#   bench/skin/run_skin_bench.sh [build folder, default build/out]
# Build it first: cmake --build build/out --target skin_bench
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="$(cd "${1:-$ROOT/build/out}" && pwd)"
EXE="$BUILD_DIR/bench/skin_bench.exe"
SKIN="$BUILD_DIR/tests/test.sk"
for f in "$EXE" "$SKIN"; do
  [ -f "$f" ] || { echo "missing $f: run 'cmake --build $BUILD_DIR --target skin_bench'" >&2; exit 1; }
done

. "$ROOT/bench/bench_wine.sh"
bench_wine_env "$BUILD_DIR"
bench_display
bench_prefix

SKIN_WIN="Z:${SKIN//\//\\}"
cd "$BUILD_DIR/bench"
"$WINE" ./skin_bench.exe "$SKIN_WIN"
"$WINE" ./skin_bench.exe --first-steps "$SKIN_WIN"
echo "the painted window: $BUILD_DIR/bench/skin_bench_window.bmp"
if [ -f ./upd_skin_bench.exe ]; then
  "$WINE" ./upd_skin_bench.exe
  "$WINE" ./upd_skin_bench.exe --first-steps
  echo "the updater library's painted window: $BUILD_DIR/bench/upd_skin_bench_window.bmp"
fi
