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
# env:   BENCH_SIZE_MIB (256)  BENCH_REPEAT (3; 6, or 4 with BENCH_OTHER_BUILD,
#        balances which client follows which)  BENCH_STOP_PERCENT (50)
#        BENCH_SLOW_RATE (8388608 bytes/s: the throttled stop and resume)
#        WINEPREFIX (default: the build's LUMORA_WINEPREFIX)
#        BENCH_OTHER_BUILD (a build dir whose engine joins the rotation as
#        "other", for a comparison under the same load)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
size_mib="${BENCH_SIZE_MIB:-256}"
repeat="${BENCH_REPEAT:-3}"
stop_percent="${BENCH_STOP_PERCENT:-50}"
slow_rate="${BENCH_SLOW_RATE:-8388608}"
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
# shellcheck source=download_bench_lib.sh
. "$here/download_bench_lib.sh"
loop_exe="${1:-$root/build/out}/bench/wininet_loop.exe"
[ -f "$loop_exe" ] || die "$loop_exe is missing: run ./dev build first"
download_bench_setup "${1:-$root/build/out}" $((size_mib * 1048576))

# ---------------------------------------------------------------- runs
engine_fetch() { # $1 = run number, $2 = kind (engine, other)
  local kind="${2:-engine}"
  local folder="$work/$kind$1" out="$work/$kind$1.out" first
  rm -rf "$folder"; mkdir -p "$folder"
  first="$(finished_requests)"
  engine "$out" full "$url" "$(windows_path "$folder")"
  check_identical "$folder/$(value file "$out")" "$kind run $1"
  note_run "$1" "$kind" "$first" "$(finished_requests)" "$out"
  rm -rf "$folder"
}

other_fetch() { engine_exe="$other_exe" engine_fetch "$1" other; }

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

echo "Lumora download benchmark: $size_mib MiB file from 127.0.0.1:$port; running..." >&2
# The order of the clients in round $2 of $1 clients: each round starts with
# another client, and over n rounds (2n for an odd n) each client follows
# every other equally often, so none always comes after the large write of
# the same other one (a Williams square: 0 1 n-1 2 n-2 ..., shifted by the
# round, and for an odd n mirrored in the second n rounds).
round_order() {
  local n="$1" row=$((($2 - 1) % ($1 % 2 == 1 ? 2 * $1 : $1))) base=(0 1) k order=()
  for ((k = 2; k < n; k++)); do
    if ((k % 2 == 0)); then base+=($((n - k / 2))); else base+=($(((k + 1) / 2))); fi
  done
  for ((k = 0; k < n; k++)); do order+=($(((base[k] + row % n) % n))); done
  if ((row >= n)); then for ((k = n - 1; k >= 0; k--)); do echo "${order[k]}"; done; else printf '%s\n' "${order[@]}"; fi
}

clients=(engine_fetch loop_fetch curl_fetch)
[ -n "$other_exe" ] && clients+=(other_fetch)
for i in $(seq "$repeat"); do
  for k in $(round_order ${#clients[@]} "$i"); do "${clients[k]}" "$i"; done
done
stop_and_resume full-speed "$url" same
stop_and_resume throttled "$url?rate=$slow_rate" same
stop_and_resume restarted "$url?rate=$slow_rate" new

stats requests >"$work/requests.jsonl"
echo "Host: $(nproc) cores; load average at the start: $load_before; at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 "$here/download_bench_report.py" "$work/runs.tsv" "$work/requests.jsonl" "$size" \
  "$stop_percent" "$slow_rate" "$(curl --version | head -1 | cut -d' ' -f1-2)" "$(wine_name)"
