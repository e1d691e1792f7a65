#!/usr/bin/env python3
"""The updater tests' loopback server (tests/updater/httpserver.py), unchanged,
with a count of every byte it hands to client sockets: headers and bodies,
including what a client never reads because it closed early.

GET /bench/sent answers the total so far as decimal text, GET /bench/requests
the bytes sent for each answered file request so far as JSON lines {"order",
"path", "range", "sent"}, "order" numbering them as they arrived; neither
answer is counted. Takes the same arguments as httpserver.py.
"""
import json
import os
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "tests", "updater"))
import httpserver  # noqa: E402

_lock = threading.Lock()
_sent = 0
_started = 0  # requests begun, numbering them in arrival order
_requests = []  # requests answered, in the order they ended


def _add_sent(count):
    global _sent
    with _lock:
        _sent += count


class CountingWriter:
    """Wraps a handler's socket writer; a write that raised sent nothing whole."""

    def __init__(self, inner):
        self._inner = inner
        self.counting = True
        self.sent = 0  # by the current request

    def write(self, data):
        written = self._inner.write(data)
        if self.counting:
            self.sent += len(data)
            _add_sent(len(data))
        return written

    def __getattr__(self, name):
        return getattr(self._inner, name)


_base_setup = httpserver.Handler.setup
_base_do_get = httpserver.Handler.do_GET


def _setup(self):
    _base_setup(self)
    self.wfile = CountingWriter(self.wfile)


def _do_get(self):
    if self.path.startswith("/bench/"):
        return _send_stats(self)
    global _started
    self.wfile.counting = True
    self.wfile.sent = 0
    with _lock:
        _started += 1
        order = _started
    try:
        _base_do_get(self)
    finally:
        # A client that closed early ends the answer with an error; its
        # bytes up to there still count.
        with _lock:
            _requests.append({"order": order, "path": self.path,
                              "range": self.headers.get("Range"), "sent": self.wfile.sent})


def _send_stats(self):
    self.wfile.counting = False
    with _lock:
        if self.path == "/bench/requests":
            body = "".join(json.dumps(entry) + "\n" for entry in _requests).encode()
        else:
            body = str(_sent).encode()
    self.send_response(200)
    self.send_header("Content-Type", "text/plain")
    self.send_header("Content-Length", str(len(body)))
    self.end_headers()
    self.wfile.write(body)


httpserver.Handler.setup = _setup
httpserver.Handler.do_GET = _do_get

if __name__ == "__main__":
    httpserver.main()
