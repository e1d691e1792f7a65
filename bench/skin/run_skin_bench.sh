#!/usr/bin/env bash
# Runs the skin benchmarks once under Wine and prints their figures (the main UI
# library's parse and paint figures, then the updater library's paint figures); starts a private
# Xvfb when there is no display. Not a test: nothing here passes or fails on timings.
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

# The Wine loader the build folder was configured for, and a prefix of the benchmark's
# own: a shared prefix's wineserver is busy with whatever else runs there (skewing the
# paint figures), and a program started in it without a display leaves its desktop
# without a display driver, so no window could be created.
WINE="$(sed -n 's/^LUMORA_WINE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt" | head -1)"
: "${WINE:=/usr/lib/wine/wine64}"
case "$WINE" in *64) export WINEARCH=win64 ;; *) export WINEARCH=win32 ;; esac
export WINELOADER="$WINE"
export WINEPREFIX="${SKIN_BENCH_WINEPREFIX:-$ROOT/build/wineprefix-skinbench-$WINEARCH}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

XVFB_PID=
cleanup() {
  # the benchmark's own prefix only: everything running there is ours
  [ -z "${SKIN_BENCH_WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null || true; }
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  n=95
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n+1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the benchmark's Wine prefix $WINEPREFIX" >&2
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  # no crash dialog: a crash must end the run, not wait for a click
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  wineserver -w || true
fi

SKIN_WIN="Z:${SKIN//\//\\}"
cd "$BUILD_DIR/bench"
"$WINE" ./skin_bench.exe "$SKIN_WIN"
echo "the painted window: $BUILD_DIR/bench/skin_bench_window.bmp"
if [ -f ./upd_skin_bench.exe ]; then
  "$WINE" ./upd_skin_bench.exe
  echo "the updater library's painted window: $BUILD_DIR/bench/upd_skin_bench_window.bmp"
fi
