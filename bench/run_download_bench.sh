#!/usr/bin/env bash
# Benchmark of the updater's transfer engine (CHttpDownload driven through
# CDownloadManager, as the update wizard drives it): throughput on one large
# file from the loopback test server, side by side with our plainest
# synchronous WinINet loop (wininet_loop.exe, same Wine) and Debian's curl
# fetching the same file from the same server; then the bytes the server
# sends for a download stopped midway and resumed: at full speed in one
# process, and throttled both in one process and from "updatefile.list" in a
# new process. Every downloaded file is checked against the served one.
#
# Builds nothing: run `./dev build` first, which builds
# <build dir>/bench/download_bench.exe. Not part of ctest or CI.
#
# usage: bench/run_download_bench.sh [build dir]     (default: build/out)
# env:   BENCH_SIZE_MIB (256)  BENCH_REPEAT (3)  BENCH_STOP_PERCENT (50)
#        BENCH_SLOW_RATE (8388608 bytes/s: the throttled stop and resume)
#
# Everything stays on 127.0.0.1; the server stops by itself after its
# lifetime, every fetch has a time limit, and the temporary folder is removed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="$(cd "${1:-$root/build/out}" && pwd)"
size_mib="${BENCH_SIZE_MIB:-256}"
repeat="${BENCH_REPEAT:-3}"
stop_percent="${BENCH_STOP_PERCENT:-50}"
slow_rate="${BENCH_SLOW_RATE:-8388608}"
size=$((size_mib * 1048576))
exe="$build/bench/download_bench.exe"
loop_exe="$build/bench/wininet_loop.exe"
fetch_limit=900

die() { echo "run_download_bench: $*" >&2; exit 1; }
[ -f "$exe" ] || die "$exe is missing: run ./dev build first"
[ -f "$loop_exe" ] || die "$loop_exe is missing: run ./dev build first"
command -v curl >/dev/null || die "curl is missing: apt-get install curl"

cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
wine_loader="$(cache_value LUMORA_WINE)"
[ -n "$wine_loader" ] || wine_loader=wine
WINEPREFIX="$(cache_value LUMORA_WINEPREFIX)"
[ -n "$WINEPREFIX" ] || die "no LUMORA_WINEPREFIX in $build/CMakeCache.txt"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=;winemenubuilder.exe=d"
# Loopback only: neither Wine's WinINet nor curl may take a proxy from the environment.
unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY

work="$(mktemp -d "${TMPDIR:-/tmp}/lumora-download-bench.XXXXXX")"
server=""
cleanup() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

windows_path() { echo "Z:$1" | sed 's|/|\\|g'; }

# ---------------------------------------------------------------- server
mkdir -p "$work/root"
head -c "$size" /dev/urandom >"$work/root/bench.bin"
expected_sha="$(sha256sum "$work/root/bench.bin" | cut -d' ' -f1)"
python3 "$here/counting_server.py" --root "$work/root" --port-file "$work/port" --lifetime 1800 &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || die "the test server did not start"
port="$(cat "$work/port")"
url="http://127.0.0.1:$port/files/bench.bin"

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

# ---------------------------------------------------------------- runs
value() { sed -n "s/^$1=//p" "$2" | tr -d '\r' | tail -1; }

check_identical() { # $1 = file, $2 = what
  [ -f "$1" ] || die "$2: no file $1"
  [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$expected_sha" ] || die "$2: the file differs from the served one"
}

engine() { # $1 = output file, rest = arguments of download_bench.exe
  local out="$1"; shift
  if ! timeout -k 10 "$fetch_limit" "$wine_loader" "$exe" "$@" >"$out" 2>"$out.err"; then
    cat "$out" "$out.err" >&2
    die "download_bench.exe $1 failed"
  fi
  settle
}

# runs.tsv: name, kind, first and end index of its requests, its output file
runs="$work/runs.tsv"
: >"$runs"
note_run() { printf '%s\t%s\t%s\t%s\t%s\n' "$@" >>"$runs"; }

engine_fetch() { # $1 = run number
  local folder="$work/engine$1" out="$work/engine$1.out" first
  rm -rf "$folder"; mkdir -p "$folder"
  first="$(finished_requests)"
  engine "$out" full "$url" "$(windows_path "$folder")"
  check_identical "$folder/$(value file "$out")" "engine run $1"
  note_run "$1" engine "$first" "$(finished_requests)" "$out"
  rm -rf "$folder"
}

loop_fetch() { # $1 = run number
  local file="$work/loop$1.bin" out="$work/loop$1.out" first
  first="$(finished_requests)"
  if ! timeout -k 10 "$fetch_limit" "$wine_loader" "$loop_exe" "$url" "$(windows_path "$file")" \
      >"$out" 2>"$out.err"; then
    cat "$out" "$out.err" >&2
    die "wininet_loop.exe run $1 failed"
  fi
  settle
  check_identical "$file" "WinINet loop run $1"
  note_run "$1" loop "$first" "$(finished_requests)" "$out"
  rm -f "$file"
}

curl_fetch() { # $1 = run number
  local file="$work/curl$1.bin" out="$work/curl$1.out" first
  first="$(finished_requests)"
  curl -sS --fail --noproxy '*' --max-time "$fetch_limit" -o "$file" \
    -w 'total_seconds=%{time_total}\nbytes=%{size_download}\n' "$url" >"$out" || die "curl run $1 failed"
  settle
  check_identical "$file" "curl run $1"
  note_run "$1" curl "$first" "$(finished_requests)" "$out"
  rm -f "$file"
}

stop_and_resume() { # $1 = name, $2 = url, $3 = "same" or "new" process
  local folder="$work/$1" out="$work/$1.out" first
  mkdir -p "$folder"
  first="$(finished_requests)"
  if [ "$3" = same ]; then
    engine "$out" pause "$2" "$(windows_path "$folder")" "$stop_percent"
  else
    engine "$out" stop "$2" "$(windows_path "$folder")" "$stop_percent"
    [ -f "$folder/updatefile.list" ] || die "$1: no updatefile.list after the stop"
    engine "$out.resume" resume "$(windows_path "$folder")"
    cat "$out.resume" >>"$out"
  fi
  check_identical "$folder/$(value file "$out")" "$1"
  note_run "$1" "resume-$3" "$first" "$(finished_requests)" "$out"
  rm -rf "$folder"
}

# One untimed start first, so Wine's own start-up (prefix, wineserver) is
# behind us; the bench program times from its first request anyway.
timeout -k 10 120 "$wine_loader" "$exe" >/dev/null 2>&1 || true

echo "Lumora download benchmark: $size_mib MiB file from 127.0.0.1:$port; running..." >&2
for i in $(seq "$repeat"); do
  engine_fetch "$i"
  loop_fetch "$i"
  curl_fetch "$i"
done
stop_and_resume full-speed "$url" same
stop_and_resume throttled "$url?rate=$slow_rate" same
stop_and_resume restarted "$url?rate=$slow_rate" new

stats requests >"$work/requests.jsonl"
echo "Host: $(nproc) cores; load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
arch="$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=.*mingw-\(.*\)\.cmake$/\1/p' "$build/CMakeCache.txt")"
wine_name="$("$wine_loader" --version 2>/dev/null || echo wine) ($(basename "$wine_loader"), $arch build)"
python3 "$here/download_bench_report.py" "$work/runs.tsv" "$work/requests.jsonl" "$size" \
  "$stop_percent" "$slow_rate" "$(curl --version | head -1 | cut -d' ' -f1-2)" "$wine_name"
