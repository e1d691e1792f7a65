#!/usr/bin/env python3
"""Waits until something has painted on the X display, then saves a screenshot.

Used by `./dev run` without a display: the screen of a fresh Xvfb is black until
the program's window paints, so the mean brightness tells when it is there.
"""
import subprocess
import sys
import time


def mean_brightness(path):
    out = subprocess.run(["convert", path, "-colorspace", "Gray", "-format", "%[fx:mean]", "info:"],
                         capture_output=True, text=True)
    try:
        return float(out.stdout.strip() or 0)
    except ValueError:
        return 0.0


def main():
    target = sys.argv[1]
    deadline = time.time() + float(sys.argv[2] if len(sys.argv) > 2 else 40)
    while time.time() < deadline:
        time.sleep(1.0)
        if subprocess.run(["import", "-window", "root", target], capture_output=True).returncode != 0:
            continue
        if mean_brightness(target) > 0.01:
            time.sleep(1.5)  # let the window finish its first paint
            subprocess.run(["import", "-window", "root", target], capture_output=True)
            return 0
    print("no window painted in time", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
