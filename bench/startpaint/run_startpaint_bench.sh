#!/usr/bin/env bash
# Runs the start-to-paint benchmark once under Wine and prints its figures: lumora.exe
# from a program folder of the benchmark's own (no updater in it, so none starts)
# beside the bare window program, both started by the same launcher in turns. Starts
# a private Xvfb when there is no display. Not a test: nothing here passes or fails.
#   bench/startpaint/run_startpaint_bench.sh [build folder, default build/out] [rounds, default 15]
# Each start follows a pause of 3 s, so a round takes about 7 s.
# Build it first: cmake --build build/out --target startpaint_bench
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="$(cd "${1:-$ROOT/build/out}" && pwd)"
ROUNDS="${2:-15}"
. "$ROOT/bench/bench_wine.sh"
bench_program_folder "$BUILD_DIR" startpaint

cd "$BUILD_DIR/bench"
"$WINE" ./startpaint_bench.exe "$ROUNDS" "$(bench_winpath "$WORK/prog/lumora.exe")" "$(bench_winpath "$WORK/prog/bare_window.exe")"
