# shellcheck shell=bash
# Sourced by run_download_bench.sh and run_stop_bench.sh: the Wine set-up,
# the counting server on 127.0.0.1 with a file of random bytes, and the runs
# of download_bench.exe whose requests the reports look up.
#   download_bench_setup BUILD_DIR SIZE   sets build, exe, other_exe, wine_loader, work,
#                                         url, port, expected_sha, size
#   engine OUT ARGS...                    one download_bench.exe run, settled
#                                         ($engine_exe when set, else $exe)
#   note_run NAME KIND FIRST END OUT      a line of $work/runs.tsv
# The caller sets $here, the folder of these scripts.
# Everything stays on 127.0.0.1; the server stops by itself after its
# lifetime, every fetch has a time limit, and the temporary folder is removed.

fetch_limit=900

die() { echo "$(basename "$0"): $*" >&2; exit 1; }

cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

windows_path() { echo "Z:$1" | sed 's|/|\\|g'; }

server=""
work=""
download_bench_cleanup() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  [ -n "$work" ] && rm -rf "$work"
}

download_bench_setup() { # $1 = build dir, $2 = file size in bytes
  build="$(cd "$1" && pwd)"
  size="$2"
  exe="$build/bench/download_bench.exe"
  [ -f "$exe" ] || die "$exe is missing: run ./dev build first"
  # Another build's engine, run interleaved with this one's for a side by
  # side comparison under the same load.
  other_exe=""
  if [ -n "${BENCH_OTHER_BUILD:-}" ]; then
    other_exe="$(cd "$BENCH_OTHER_BUILD" && pwd)/bench/download_bench.exe"
    [ -f "$other_exe" ] || die "$other_exe is missing"
  fi
  command -v curl >/dev/null || die "curl is missing: apt-get install curl"
  wine_loader="$(cache_value LUMORA_WINE)"
  [ -n "$wine_loader" ] || wine_loader=wine
  # Another prefix may be chosen through the environment, for instance one
  # whose wineserver nothing else uses.
  if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX="$(cache_value LUMORA_WINEPREFIX)"; fi
  [ -n "$WINEPREFIX" ] || die "no WINEPREFIX and no LUMORA_WINEPREFIX in $build/CMakeCache.txt"
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=;winemenubuilder.exe=d"
  # Loopback only: neither Wine's WinINet nor curl may take a proxy from the environment.
  unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY

  work="$(mktemp -d "${TMPDIR:-/tmp}/lumora-download-bench.XXXXXX")"
  trap download_bench_cleanup EXIT
  trap 'exit 130' INT TERM

  mkdir -p "$work/root"
  head -c "$size" /dev/urandom >"$work/root/bench.bin"
  expected_sha="$(sha256sum "$work/root/bench.bin" | cut -d' ' -f1)"
  python3 "$here/counting_server.py" --root "$work/root" --port-file "$work/port" --lifetime 1800 &
  server=$!
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
  [ -s "$work/port" ] || die "the test server did not start"
  port="$(cat "$work/port")"
  url="http://127.0.0.1:$port/files/bench.bin"
  runs="$work/runs.tsv"
  : >"$runs"

  # The server hashes the whole file for its ETag on the first request for
  # it: an untimed request pays that, not whichever client comes first.
  curl -sS --fail --noproxy '*' --max-time 60 -r 0-0 -o /dev/null "$url" || die "the warm-up request failed"
  settle
  # One untimed start, so Wine's own start-up (prefix, wineserver) is
  # behind us; the bench program times from its first request anyway.
  timeout -k 10 120 "$wine_loader" "$exe" >/dev/null 2>&1 || true
}

stats() { curl -sS --noproxy '*' --max-time 10 "http://127.0.0.1:$port/bench/$1"; }
finished_requests() { stats requests | wc -l; }
# Waits until every request the server logged has also finished sending, so
# the bytes of one run are all counted before the next starts.
settle() {
  local started; started="$(wc -l <"$work/root/requests.log")"
  for _ in $(seq 100); do
    [ "$(finished_requests)" -ge "$started" ] && return 0
    sleep 0.1
  done
  die "the server is still sending after the client ended"
}

value() { sed -n "s/^$1=//p" "$2" | tr -d '\r' | tail -1; }

check_identical() { # $1 = file, $2 = what
  [ -f "$1" ] || die "$2: no file $1"
  [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$expected_sha" ] || die "$2: the file differs from the served one"
}

engine() { # $1 = output file, rest = arguments of download_bench.exe
  local out="$1"; shift
  if ! timeout -k 10 "$fetch_limit" "$wine_loader" "${engine_exe:-$exe}" "$@" >"$out" 2>"$out.err"; then
    cat "$out" "$out.err" >&2
    die "download_bench.exe $1 failed"
  fi
  settle
}

# runs.tsv: name, kind, first and end index of its requests, its output file
note_run() { printf '%s\t%s\t%s\t%s\t%s\n' "$@" >>"$runs"; }

wine_name() {
  local arch
  arch="$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=.*mingw-\(.*\)\.cmake$/\1/p' "$build/CMakeCache.txt")"
  echo "$("$wine_loader" --version 2>/dev/null || echo wine) ($(basename "$wine_loader"), $arch build)"
}
