#!/usr/bin/env bash
# How long the updater's transfer engine takes to stop at full speed: many
# downloads from the loopback counting server, each stopped once at another
# percentage and continued in the same process (download_bench.exe pause),
# with what StopDownload took, the bytes held, and what the server sent for
# the answer the stop cut off, beyond the bytes the engine kept of it.
#
# Builds nothing: run `./dev build` first. Not part of ctest or CI.
#
# usage: bench/run_stop_bench.sh [build dir]     (default: build/out)
# env:   BENCH_SIZE_MIB (256)  BENCH_STOPS (24: stops, at percentages spread
#        over 2-97)  WINEPREFIX (default: the build's LUMORA_WINEPREFIX)
#        BENCH_OTHER_BUILD (a build dir whose engine makes each stop too, just
#        before or after this one's in turn, for a comparison under the same load)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
size_mib="${BENCH_SIZE_MIB:-256}"
stops="${BENCH_STOPS:-24}"
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
# shellcheck source=download_bench_lib.sh
. "$here/download_bench_lib.sh"
download_bench_setup "${1:-$root/build/out}" $((size_mib * 1048576))

echo "Lumora stop benchmark: $stops stops of a $size_mib MiB download from 127.0.0.1:$port; running..." >&2
stop_once() { # $1 = run number, $2 = percent, $3 = kind (this, other)
  local folder="$work/$3-stop$1" out="$work/$3-stop$1.out" first
  mkdir -p "$folder"
  first="$(finished_requests)"
  cut -d' ' -f1 /proc/loadavg | sed 's/^/load=/' >"$out.load"
  engine "$out" pause "$url" "$(windows_path "$folder")" "$2"
  cat "$out.load" >>"$out"
  check_identical "$folder/$(value file "$out")" "$3 stop $1"
  note_run "$1" "$3" "$first" "$(finished_requests)" "$out"
  rm -rf "$folder"
}

for i in $(seq "$stops"); do
  # 37 is prime to 96: the stops visit the percentages in a scattered order.
  percent=$((2 + (i * 37) % 96))
  if [ -z "$other_exe" ]; then
    stop_once "$i" "$percent" this
  elif [ $((i % 2)) = 1 ]; then
    stop_once "$i" "$percent" this
    engine_exe="$other_exe" stop_once "$i" "$percent" other
  else
    engine_exe="$other_exe" stop_once "$i" "$percent" other
    stop_once "$i" "$percent" this
  fi
done

stats requests >"$work/requests.jsonl"
echo "Host: $(nproc) cores; load average at the start: $load_before; at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Engine: download_bench.exe under $(wine_name); this: $exe${other_exe:+; other: $other_exe}"
python3 "$here/stop_bench_report.py" "$work/runs.tsv" "$work/requests.jsonl" "$size"
