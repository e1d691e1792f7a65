#!/usr/bin/env python3
"""Prints the figures of run_download_bench.sh.

usage: download_bench_report.py <runs.tsv> <requests.jsonl> <file size>
                                <stop percent> <slow rate> <curl name> <wine name>

runs.tsv has one line per run: name, kind (engine, loop, curl, resume-same,
resume-new), the first and end index of its requests in requests.jsonl, and
the run's key=value output file. requests.jsonl is the counting server's
list of answered requests: {"order", "path", "range", "sent"}.
"""
import json
import statistics
import sys

MIB = 1048576.0


def read_values(path):
    values = {}
    with open(path) as lines:
        for line in lines:
            key, _, value = line.strip().partition("=")
            values.setdefault(key, []).append(value)
    return values


class Run:
    def __init__(self, fields, requests):
        self.name, self.kind = fields[0], fields[1]
        self.requests = sorted(requests[int(fields[2]):int(fields[3])],
                               key=lambda r: r["order"])
        self.values = read_values(fields[4])

    def number(self, key, index=-1):
        return float(self.values[key][index])

    def text(self, key, index=-1):
        return self.values[key][index] if key in self.values else "-"

    def sent(self):
        return sum(r["sent"] for r in self.requests)

    def sent_without_range(self):
        return sum(r["sent"] for r in self.requests if not r["range"])

    def ranges(self):
        return [r["range"] for r in self.requests if r["range"]]


def range_bounds(text):
    first, _, last = text.split("=", 1)[1].partition("-")
    return int(first), int(last) if last else None


def resumed_range_index(ranges, held):
    """The index in `ranges` of the first range asked for after the stop,
    which left `held` bytes. Probes (bytes=0-0) are skipped. Before the stop
    the pieces follow each other; the first range after it either overlaps
    the one before (the stop cut that one short, or it asks for held bytes
    again) or, when the stop fell between two pieces, starts at the stop."""
    pieces = [(i, range_bounds(r)) for i, r in enumerate(ranges) if r != "bytes=0-0"]
    for (_, before), (index, after) in zip(pieces, pieces[1:]):
        if before[1] is None or after[0] <= before[1]:
            return index
    for index, (first, _) in pieces:
        if held > 0 and first == held:
            return index
    return None


def rate(size, seconds):
    return size / seconds / MIB


def report_throughput(runs, size, curl_name, wine_name):
    engine = [r for r in runs if r.kind == "engine"]
    loop = [r for r in runs if r.kind == "loop"]
    curl = [r for r in runs if r.kind == "curl"]
    print("Throughput: %d MiB, %d runs each, each round begun by another client;"
          " every file checked (sha256)"
          % (size / MIB, len(engine)))
    print("  engine: download_bench.exe under %s," % wine_name)
    print("          timed from its probe request to the completion message")
    print("  loop:   wininet_loop.exe under the same Wine: one InternetOpenUrl, 64 KiB"
          " InternetReadFile, WriteFile; from InternetOpen to the last write")
    print("  curl:   %s, native; its time_total" % curl_name)
    print("  %-3s %-6s %9s %9s %14s   %s" % ("run", "tool", "seconds", "MiB/s", "server sent",
                                           "detail"))
    for run in runs:
        if run.kind not in ("engine", "loop", "curl", "other"):
            continue
        seconds = run.number("total_seconds")
        detail = ""
        if run.kind in ("engine", "other"):
            detail = ("probe %.2f s + transfer %.2f s (%.1f MiB/s); probe answer %d B, ranges %d B"
                      % (run.number("probe_seconds"), run.number("transfer_seconds"),
                         rate(size, run.number("transfer_seconds")), run.sent_without_range(),
                         run.sent() - run.sent_without_range()))
        print("  %-3s %-6s %9.3f %9.1f %14d   %s"
              % (run.name, run.kind, seconds, rate(size, seconds), run.sent(), detail))
    engine_rate = rate(size, statistics.median(r.number("total_seconds") for r in engine))
    transfer_rate = rate(size, statistics.median(r.number("transfer_seconds") for r in engine))
    curl_rate = rate(size, statistics.median(r.number("total_seconds") for r in curl))
    loop_rate = rate(size, statistics.median(r.number("total_seconds") for r in loop))
    engine_sent = statistics.median(r.sent() for r in engine)
    curl_sent = statistics.median(r.sent() for r in curl)
    print("  median engine: %.1f MiB/s (transfer alone, after the probe: %.1f MiB/s)"
          % (engine_rate, transfer_rate))
    print("  median loop:   %.1f MiB/s" % loop_rate)
    print("  median curl:   %.1f MiB/s" % curl_rate)
    print("  ratio engine/WinINet loop: %.4f (transfer alone: %.4f)"
          % (engine_rate / loop_rate, transfer_rate / loop_rate))
    print("  ratio engine/curl: %.4f (transfer alone: %.4f)"
          % (engine_rate / curl_rate, transfer_rate / curl_rate))
    other = [r for r in runs if r.kind == "other"]
    if other:
        other_rate = rate(size, statistics.median(r.number("total_seconds") for r in other))
        print("  other build's engine: median %.1f MiB/s; ratio other/WinINet loop: %.4f;"
              " ratio engine/other: %.4f" % (other_rate, other_rate / loop_rate, engine_rate / other_rate))
    print("  server sent per download: engine %.3f x file size, curl %.3f x file size"
          % (engine_sent / size, curl_sent / size))


def report_resume(run, size, slow_rate):
    titles = {
        "full-speed": "full speed, one process (pause and continue)",
        "throttled": "server at %.1f MiB/s, one process (pause and continue)" % (slow_rate / MIB),
        "restarted": "server at %.1f MiB/s, stop, save \"updatefile.list\", resume in a new process"
                     % (slow_rate / MIB),
    }
    held = int(run.text("held_bytes"))
    print("  %s:" % titles.get(run.name, run.name))
    print("    stop asked at %s%%; StopDownload took %.2f s; stopped at %s%%, %d B held (%.1f%%)"
          % (run.text("stop_requested_percent"), run.number("stop_seconds"),
             run.text("stopped_percent"), held, held * 100.0 / size))
    ranges = run.ranges()
    print("    ranges requested, in order: %s; file identical" % (", ".join(ranges) or "none"))
    resumed = resumed_range_index(ranges, held)
    if resumed is not None:
        resumed_at = range_bounds(ranges[resumed])[0]
        print("    the resumed range starts at byte %d: %d held bytes asked for again"
              % (resumed_at, max(held - resumed_at, 0)))
    sent = run.sent()
    print("    server sent %d B = %.3f x file size (%d B beyond it; %d B of them answers"
          " to probes without a range)" % (sent, sent / size, sent - size,
                                           run.sent_without_range()))


def main():
    runs_path, requests_path, size, stop_percent, slow_rate, curl_name, wine_name = sys.argv[1:8]
    size, slow_rate = int(size), int(slow_rate)
    with open(requests_path) as lines:
        requests = [json.loads(line) for line in lines if line.strip()]
    with open(runs_path) as lines:
        runs = [Run(line.rstrip("\n").split("\t"), requests) for line in lines if line.strip()]
    report_throughput(runs, size, curl_name, wine_name)
    print("Stop at %s%% and resume (bytes the server sent for the whole download):" % stop_percent)
    for run in runs:
        if run.kind.startswith("resume"):
            report_resume(run, size, slow_rate)


if __name__ == "__main__":
    main()
