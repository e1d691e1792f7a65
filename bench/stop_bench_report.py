#!/usr/bin/env python3
"""Prints the figures of run_stop_bench.sh.

usage: stop_bench_report.py <runs.tsv> <requests.jsonl> <file size>

The files are those of download_bench_report.py. For each stop: where it was
asked and where it took effect, what StopDownload took, and the answer in
flight at the stop: its range, the body bytes the server sent for it and
how many of them came after the bytes the engine kept ("unread"; the
server's socket buffers hold some of them, a few MiB on loopback at most).
"""
import json
import statistics
import sys

from download_bench_report import Run, range_bounds, resumed_range_index


def cut_answer(ranged, resumed, held):
    """The answer the stop cut off: among the range requests before the
    resumed one, the last whose range holds the stop point short of its end;
    None when the stop fell between two pieces."""
    cut = None
    for request in ranged[:resumed]:
        first, last = range_bounds(request["range"])
        if first <= held and (last is None or held <= last):
            cut = request
    return cut


def main():
    runs_path, requests_path, size = sys.argv[1:4]
    size = int(size)
    with open(requests_path) as lines:
        requests = [json.loads(line) for line in lines if line.strip()]
    with open(runs_path) as lines:
        runs = [Run(line.rstrip("\n").split("\t"), requests) for line in lines if line.strip()]
    print("Stops at full speed, each continued in the same process; every file checked (sha256)")
    print("  %-3s %-5s %5s %6s %8s %12s  %-24s %12s %12s %5s"
          % ("run", "build", "asked", "load", "stop s", "held B", "answer cut off", "sent B",
             "unread B", "again"))
    for run in runs:
        report_stop(run)
    for kind in sorted(set(run.kind for run in runs), reverse=True):
        chosen = [run for run in runs if run.kind == kind]
        seconds = sorted(run.number("stop_seconds") for run in chosen)
        print("  %s: StopDownload seconds: median %.3f, 90th percentile %.3f, max %.3f,"
              " %d of %d above 0.1 s; server sent %.3f x file size per download"
              % (kind, statistics.median(seconds), seconds[int(0.9 * (len(seconds) - 1))],
                 seconds[-1], sum(1 for s in seconds if s > 0.1), len(seconds),
                 sum(run.sent() for run in chosen) / len(chosen) / size))


def report_stop(run):
    held = int(run.text("held_bytes"))
    ranged = [r for r in run.requests if r["range"]]
    resumed = resumed_range_index([r["range"] for r in ranged], held)
    again = 0
    if resumed is None:
        resumed = len(ranged)
    else:
        again = max(held - range_bounds(ranged[resumed]["range"])[0], 0)
    cut = cut_answer(ranged, resumed, held)
    answer, sent, unread = "(between pieces)", "-", "-"
    if cut is not None:
        answer, sent = cut["range"], cut["sent"]
        # what the server sent counts the answer's header too, a few hundred bytes
        unread = max(sent - (held - range_bounds(cut["range"])[0]), 0)
    print("  %-3s %-5s %4s%% %6s %8.3f %12d  %-24s %12s %12s %5d"
          % (run.name, run.kind, run.text("stop_requested_percent"), run.text("load"),
             run.number("stop_seconds"), held, answer, sent, unread, again))


if __name__ == "__main__":
    main()
