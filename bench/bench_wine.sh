# Sourced by the benchmark scripts that run a program under Wine in the
# benchmark's own prefix, on the display they find or on a private Xvfb.
#   bench_wine_env BUILD_DIR   the Wine loader BUILD_DIR was configured for and the prefix
#   bench_display              a private Xvfb when there is no display
#   bench_prefix               creates the prefix on first use
#   bench_on_exit COMMAND      runs COMMAND at exit, after the benchmark's own clean-up
#   bench_winpath PATH         PATH as the Windows programs see it
#   bench_program_folder BUILD_DIR NAME
#                              all of the above for a benchmark that starts lumora.exe and the
#                              bare window program: WORK, a temporary folder removed at exit,
#                              holds the program folder WORK/prog (no updater in it, so none starts)
# Not a test: nothing here passes or fails on timings.

BENCH_XVFB_PID=
BENCH_EXIT_HOOKS=()

bench_cleanup() {
  local hook
  for hook in "${BENCH_EXIT_HOOKS[@]}"; do eval "$hook" || true; done
  # the benchmark's own prefix only: everything running there is ours
  [ -z "${SKIN_BENCH_WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null || true; }
  [ -n "$BENCH_XVFB_PID" ] && kill "$BENCH_XVFB_PID" 2>/dev/null || true
}
trap bench_cleanup EXIT

bench_on_exit() { BENCH_EXIT_HOOKS+=("$1"); }

# A prefix of the benchmarks' own: a shared prefix's wineserver is busy with whatever
# else runs there (skewing the figures), and a program started in it without a
# display leaves its desktop without a display driver, so no window could be created.
bench_wine_env() {
  WINE="$(sed -n 's/^LUMORA_WINE:[A-Z]*=//p' "$1/CMakeCache.txt" | head -1)"
  : "${WINE:=/usr/lib/wine/wine64}"
  case "$WINE" in *64) export WINEARCH=win64 ;; *) export WINEARCH=win32 ;; esac
  export WINELOADER="$WINE"
  export WINEPREFIX="${SKIN_BENCH_WINEPREFIX:-$ROOT/build/wineprefix-skinbench-$WINEARCH}"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=;winemenubuilder.exe=d"
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

bench_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=95
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n+1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  BENCH_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}

bench_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "creating the benchmark's Wine prefix $WINEPREFIX" >&2
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  # no crash dialog: a crash must end the run, not wait for a click
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  wineserver -w || true
}

bench_winpath() { echo "Z:$1" | sed 's|/|\\|g'; }

# The programs, the skin, the error page and the DLLs the build made, in a folder of
# the benchmark's own, on the benchmark's display and prefix, with no proxy between
# them and the loopback servers they may reach. $2 names the benchmark: its program
# is bench/<name>_bench.exe, made by the target <name>_bench.
bench_program_folder() {
  local build_dir="$1" name="$2" dll f
  for f in "$build_dir/bench/${name}_bench.exe" "$build_dir/bench/bare_window.exe" "$build_dir/bin/lumora.exe" \
           "$build_dir/bin/skin/skin.sk"; do
    [ -f "$f" ] || { echo "missing $f: run 'cmake --build $build_dir --target ${name}_bench lumora_skin_main'" >&2; exit 1; }
  done
  bench_wine_env "$build_dir"
  unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY
  WORK="$(mktemp -d "${TMPDIR:-/tmp}/lumora-$name.XXXXXX")"
  bench_on_exit 'rm -rf "$WORK"'
  bench_display
  bench_prefix
  mkdir -p "$WORK/prog/skin" "$WORK/prog/html"
  cp "$build_dir/bin/lumora.exe" "$build_dir/bench/bare_window.exe" "$WORK/prog/"
  cp "$build_dir/bin/skin/skin.sk" "$WORK/prog/skin/"
  [ -f "$build_dir/bin/html/err.html" ] && cp "$build_dir/bin/html/err.html" "$WORK/prog/html/"
  for dll in "$build_dir"/bin/*.dll; do [ -f "$dll" ] && cp "$dll" "$WORK/prog/"; done
  return 0
}
