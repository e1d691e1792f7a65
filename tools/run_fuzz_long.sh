#!/usr/bin/env bash
# Long fuzzing run by hand (never from the tests): every target of tests/fuzz/fuzz.py,
# COUNT inputs each (default 100000), from a fixed seed so the run replays.
#   tools/run_fuzz_long.sh [COUNT] [SEED] [TARGET...]
# Needs a finished ./dev build (LUMORA_BUILD names another build tree, such as a copy of
# the harness programs and packed skins that later builds leave alone). Runs under its own Xvfb and wineserver on the project's
# Wine prefix; PARALLEL targets run side by side (default 2). Batches, failing inputs
# (with how each was made) and a log per target go to build/fuzz/<target>/.
# LIMIT_MS is the time limit per input (default 10000); on a loaded machine large inputs
# that take linear time can pass it, so a long run beside other work wants more.
# LUMORA_FUZZ_SHALLOW_JSON=1 leaves out deeply nested JSON (see fuzz.py).
# A failing input replays with:
#   python3 tests/fuzz/fuzz.py replay --target TARGET build/fuzz/TARGET/failures/TARGET-NNNNNNN.in
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
COUNT="${1:-100000}"; SEED="${2:-1}"; shift $(( $# > 2 ? 2 : $# ))
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || mapfile -t TARGETS < <(python3 "$ROOT/tests/fuzz/fuzz.py" list)
BUILD="${LUMORA_BUILD:-$ROOT/build/out}"
WINE="$(sed -n 's/^LUMORA_WINE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")"
export WINEPREFIX="$(sed -n 's/^LUMORA_WINEPREFIX:[A-Z]*=//p' "$BUILD/CMakeCache.txt")"
export WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=;winemenubuilder.exe=d"
[ -x "$BUILD/tests/fuzz_upd.exe" ] && [ -x "$BUILD/tests/fuzz_ui.exe" ] || { echo "build first: ./dev build" >&2; exit 1; }

XVFB_PID=
cleanup() { [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  n=120
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n+1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

run_one() {
  local target="$1" work="$ROOT/build/fuzz/$1"
  mkdir -p "$work"
  python3 "$ROOT/tests/fuzz/fuzz.py" --source "$ROOT" --build "$BUILD" --wine "$WINE" \
    --limit-ms "${LIMIT_MS:-10000}" run --target "$target" --count "$COUNT" --seed "$SEED" --batch 5000 --work "$work" --verbose \
    >"$work/log.txt" 2>&1 || true
  tail -1 "$work/log.txt"
}
export -f run_one
export ROOT BUILD WINE COUNT SEED LIMIT_MS
printf '%s\n' "${TARGETS[@]}" | xargs -P "${PARALLEL:-2}" -I{} bash -c 'run_one {}'
