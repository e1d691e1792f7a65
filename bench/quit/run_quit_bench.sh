#!/usr/bin/env bash
# Runs the quit benchmark under Wine and prints its figures: the time from the main
# menu's exit to the window and the process gone, for lumora.exe alone and with its
# settings dialog open, beside the bare window program closed the same way. The
# program folder is the benchmark's own (no updater in it, so none starts). Starts a
# private Xvfb when there is no display. Not a test: nothing here passes or fails.
#   bench/quit/run_quit_bench.sh [build folder, default build/out] [rounds, default 5]
# Build it first: cmake --build build/out --target quit_bench lumora_skin_main
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="$(cd "${1:-$ROOT/build/out}" && pwd)"
ROUNDS="${2:-5}"
. "$ROOT/bench/bench_wine.sh"
bench_program_folder "$BUILD_DIR" quit

cd "$BUILD_DIR/bench"
"$WINE" ./quit_bench.exe "$ROUNDS" "$(bench_winpath "$WORK/prog/lumora.exe")" "$(bench_winpath "$WORK/prog/bare_window.exe")"
