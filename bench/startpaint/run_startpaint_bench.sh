#!/usr/bin/env bash
# Runs the start-to-paint benchmark once under Wine and prints its figures: lumora.exe
# from a program folder of the benchmark's own (no updater in it, so none starts)
# beside the bare window program, both started by the same launcher in turns. Starts
# a private Xvfb when there is no display. Not a test: nothing here passes or fails.
#   bench/startpaint/run_startpaint_bench.sh [build folder, default build/out] [rounds, default 15]
# Build it first: cmake --build build/out --target startpaint_bench
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="$(cd "${1:-$ROOT/build/out}" && pwd)"
ROUNDS="${2:-15}"
EXE="$BUILD_DIR/bench/startpaint_bench.exe"
for f in "$EXE" "$BUILD_DIR/bench/bare_window.exe" "$BUILD_DIR/bin/lumora.exe" "$BUILD_DIR/bin/skin/skin.sk"; do
  [ -f "$f" ] || { echo "missing $f: run 'cmake --build $BUILD_DIR --target startpaint_bench lumora_skin_main'" >&2; exit 1; }
done

# The benchmark's own prefix, as the skin benchmark keeps one: nothing else runs there.
WINE="$(sed -n 's/^LUMORA_WINE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt" | head -1)"
: "${WINE:=/usr/lib/wine/wine64}"
case "$WINE" in *64) export WINEARCH=win64 ;; *) export WINEARCH=win32 ;; esac
export WINELOADER="$WINE"
export WINEPREFIX="${SKIN_BENCH_WINEPREFIX:-$ROOT/build/wineprefix-skinbench-$WINEARCH}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY

WORK="$(mktemp -d "${TMPDIR:-/tmp}/lumora-startpaint.XXXXXX")"
XVFB_PID=
cleanup() {
  [ -z "${SKIN_BENCH_WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null || true; }
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
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
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  wineserver -w || true
fi

# The program folder: the program, its skin and error page; both programs sit in it.
mkdir -p "$WORK/prog/skin" "$WORK/prog/html"
cp "$BUILD_DIR/bin/lumora.exe" "$BUILD_DIR/bench/bare_window.exe" "$WORK/prog/"
cp "$BUILD_DIR/bin/skin/skin.sk" "$WORK/prog/skin/"
[ -f "$BUILD_DIR/bin/html/err.html" ] && cp "$BUILD_DIR/bin/html/err.html" "$WORK/prog/html/"
for dll in "$BUILD_DIR"/bin/*.dll; do [ -f "$dll" ] && cp "$dll" "$WORK/prog/"; done

winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
cd "$BUILD_DIR/bench"
"$WINE" ./startpaint_bench.exe "$ROUNDS" "$(winpath "$WORK/prog/lumora.exe")" "$(winpath "$WORK/prog/bare_window.exe")"
