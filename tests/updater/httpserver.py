#!/usr/bin/env python3
"""Loopback HTTP server for the updater's download tests.

Serves the files of --root under /files/<name> and, as the update server
lays them out, under /lumo/2014/<name>. Behaviour is chosen per
request by query parameters, so a test can reach every path of the download
engine through one server:

  ranges=0       no Accept-Ranges and Range is ignored (always 200, whole file)
  noaccept=1     honours Range but sends no Accept-Ranges header
  range200=1     announces Accept-Ranges but answers ranged requests with 200
  badrange=1     answers ranged requests with 206 whose Content-Range starts at 0
  nolength=1     no Content-Length (nor a total in Content-Range); the body
                 ends when the connection closes
  chunked=1      the same, but the body is sent in chunks
  novalidator=1  neither ETag nor Last-Modified
  noetag=1       Last-Modified only
  disposition=N  Content-Disposition: attachment; filename="N"
  rate=B         sends at about B bytes per second
  drop=N         closes the connection after N body bytes of each answer (with
                 nolength=1 by a reset, since a normal close would end the
                 body properly; with chunked=1 before the last chunk)
  stall=N        sends N body bytes of each answer, then nothing more, holding
                 the connection open as a server that stalled mid-body
  hangrange=1    answers the probe's one-byte request (Range: bytes=0-0) and
                 holds every other request without an answer
  status=S       answers with status S and a short text body

Hostile behaviours, chosen by files beside the served one, because the
updater's manifest request carries no query of the test's choosing (see the
block "hostile behaviours" below):

  <name>.hang    the request is read and never answered; the connection is
                 held until the client closes it or the server stops
  <name>.delay   the answer comes after the number of milliseconds the file
                 holds (at most 10000), as from a slow server
  <name>.query   query parameters (as above, "a=1&b=2") that every request
                 for <name> gets as if it had asked for them: the files a
                 manifest names are fetched by their bare names

Files carry a strong ETag made from their content and a Last-Modified date
from their time stamp; a Range request whose If-Range names neither gets the
whole file with 200.

/redirect/<n>/<path> answers 302 with an absolute Location one step closer to
/<path>. Every request is logged as one JSON line in --root/requests.log when
it arrives, and again in --root/answered.log, with the body bytes written to
the connection, once the answer ended (early when the client closed it).
Listens on 127.0.0.1 only, writes its port to --port-file and stops by
itself after --lifetime seconds.
"""
import argparse
import email.utils
import hashlib
import json
import os
import re
import socket
import struct
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CHUNK = 16384
# The update server's layout: the manifest and the files it names lie in
# /lumo/2014/; the download tests use /files/. Both map to --root.
SERVED_PREFIXES = ("/files/", "/lumo/2014/")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # As web servers do on keep-alive connections (nginx: tcp_nodelay on):
    # without it, the last short segment of each answer waits for the
    # client's delayed acknowledgement, about 40 ms per request.
    disable_nagle_algorithm = True

    def log_message(self, fmt, *args):  # keep the test output clean
        pass

    def do_GET(self):
        self.body_sent = 0
        self.server.log_request_line(self)
        try:
            self.answer()
        finally:
            self.server.log_answer_line(self)

    def answer(self):
        parsed = urllib.parse.urlsplit(self.path)
        self.options = dict(urllib.parse.parse_qsl(parsed.query))
        redirect = re.fullmatch(r"/redirect/(\d+)/(.+)", parsed.path)
        if redirect:
            return self.send_redirect(int(redirect.group(1)), redirect.group(2), parsed.query)
        if "status" in self.options:
            return self.send_text(int(self.options["status"]), b"error page\n")
        prefix = next((p for p in SERVED_PREFIXES if parsed.path.startswith(p)), None)
        if prefix is None:
            return self.send_text(404, b"not found\n")
        name = os.path.basename(urllib.parse.unquote(parsed.path[len(prefix):]))
        path = os.path.join(self.server.root, name)
        if name and os.path.isfile(path + ".query"):
            with open(path + ".query") as query:
                self.options.update(urllib.parse.parse_qsl(query.read().strip()))
        if name and self.hostile(path):
            return
        if self.options.get("hangrange") == "1" and self.headers.get("Range") != "bytes=0-0":
            return self.hold_without_answer()
        if not name or not os.path.isfile(path):
            return self.send_text(404, b"not found\n")
        self.send_file(path)

    # ---- hostile behaviours (begin) ----
    def hostile(self, path):
        """True when the request was handled by a hostile behaviour."""
        if os.path.exists(path + ".hang"):
            self.hold_without_answer()
            return True
        if os.path.exists(path + ".delay"):
            with open(path + ".delay") as delay:
                time.sleep(min(int(delay.read().strip() or "0"), 10000) / 1000.0)
        return False

    def hold_without_answer(self):
        # Waits until the client gives up (the socket reads end of file or
        # fails); the server's own lifetime bounds the wait otherwise.
        self.close_connection = True
        self.connection.settimeout(1.0)
        while True:
            try:
                if not self.connection.recv(4096):
                    return
            except socket.timeout:
                continue
            except OSError:
                return
    # ---- hostile behaviours (end) ----

    def send_redirect(self, steps, rest, query):
        target = "/%s" % rest if steps <= 1 else "/redirect/%d/%s" % (steps - 1, rest)
        if query:
            target += "?" + query
        location = "http://127.0.0.1:%d%s" % (self.server.server_port, target)
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def send_text(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        self.body_sent = len(body)

    def validators(self, path):
        if self.options.get("novalidator") == "1":
            return None, None
        stat = os.stat(path)
        modified = email.utils.formatdate(stat.st_mtime, usegmt=True)
        if self.options.get("noetag") == "1":
            return None, modified
        return self.server.content_tag(path, stat), modified

    def requested_range(self, size, etag, modified):
        header = self.headers.get("Range")
        if not header or self.options.get("ranges") == "0":
            return None
        if_range = self.headers.get("If-Range")
        if if_range is not None and if_range not in (etag, modified):
            return None
        match = re.fullmatch(r"bytes=(\d+)-(\d*)", header.strip())
        if not match:
            return None
        first = int(match.group(1))
        last = int(match.group(2)) if match.group(2) else size - 1
        return first, min(last, size - 1)

    def send_file(self, path):
        size = os.path.getsize(path)
        etag, modified = self.validators(path)
        wanted = self.requested_range(size, etag, modified)
        chunked = self.options.get("chunked") == "1"
        nolength = self.options.get("nolength") == "1" or chunked
        first, last, status = 0, size - 1, 200
        if wanted and self.options.get("range200") != "1":
            first, last = wanted
            if first >= size:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            status = 206
        self.send_response(status)
        if self.options.get("ranges") != "0" and self.options.get("noaccept") != "1":
            self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            shown = 0 if self.options.get("badrange") == "1" else first
            total = "*" if nolength else str(size)
            self.send_header("Content-Range", "bytes %d-%d/%s" % (shown, shown + last - first, total))
        if etag:
            self.send_header("ETag", etag)
        if modified:
            self.send_header("Last-Modified", modified)
        if "disposition" in self.options:
            self.send_header("Content-Disposition",
                             'attachment; filename="%s"' % self.options["disposition"])
        self.send_header("Content-Type", "application/octet-stream")
        if chunked:
            self.send_header("Transfer-Encoding", "chunked")
        elif nolength:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(last - first + 1))
        self.end_headers()
        self.send_body(path, first, last - first + 1, chunked)

    def send_body(self, path, offset, length, chunked=False):
        rate = int(self.options.get("rate", "0"))
        drop = int(self.options["drop"]) if "drop" in self.options else None
        stall = int(self.options["stall"]) if "stall" in self.options else None
        cut = drop if drop is not None else stall
        sent = 0
        started = time.monotonic()
        with open(path, "rb") as f:
            f.seek(offset)
            while sent < length:
                piece = min(CHUNK, length - sent)
                if cut is not None:
                    piece = min(piece, cut - sent)
                    if piece <= 0:
                        break
                data = f.read(piece)
                if not data:
                    break
                try:
                    if chunked:
                        self.wfile.write(b"%x\r\n" % len(data) + data + b"\r\n")
                    else:
                        self.wfile.write(data)
                except OSError:
                    return
                sent += len(data)
                self.body_sent = sent
                if rate > 0:
                    ahead = sent / rate - (time.monotonic() - started)
                    if ahead > 0:
                        time.sleep(ahead)
        if stall is not None and sent < length:
            try:
                self.wfile.flush()
            except OSError:
                return
            self.hold_without_answer()
        elif drop is not None and sent < length:
            self.close_connection = True
            try:
                self.wfile.flush()
                if self.options.get("nolength") == "1":
                    # A reset: a normal close would end such a body properly.
                    self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                               struct.pack("ii", 1, 0))
                    self.connection.close()
                else:
                    self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        elif chunked:
            try:
                self.wfile.write(b"0\r\n\r\n")
            except OSError:
                pass


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, root, log_path):
        super().__init__(("127.0.0.1", 0), Handler)
        self.root = root
        self.log_lock = threading.Lock()
        self.log_path = log_path
        self.answer_log_path = os.path.join(os.path.dirname(log_path), "answered.log")
        self.tags = {}

    def content_tag(self, path, stat):
        key = (path, stat.st_mtime_ns, stat.st_size, stat.st_ino)
        with self.log_lock:
            tag = self.tags.get(key)
        if tag is None:
            digest = hashlib.sha1()
            with open(path, "rb") as f:
                for piece in iter(lambda: f.read(1 << 20), b""):
                    digest.update(piece)
            tag = '"%s"' % digest.hexdigest()[:20]
            with self.log_lock:
                self.tags[key] = tag
        return tag

    def log_request_line(self, handler):
        entry = {
            "path": handler.path,
            "range": handler.headers.get("Range"),
            "referer": handler.headers.get("Referer"),
            "ifrange": handler.headers.get("If-Range"),
        }
        self.append_line(self.log_path, entry)

    def log_answer_line(self, handler):
        entry = {
            "path": handler.path,
            "range": handler.headers.get("Range"),
            "body": handler.body_sent,
        }
        self.append_line(self.answer_log_path, entry)

    def append_line(self, path, entry):
        with self.log_lock, open(path, "a") as log:
            log.write(json.dumps(entry) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()
    os.makedirs(args.root, exist_ok=True)
    server = Server(args.root, os.path.join(args.root, "requests.log"))
    timer = threading.Timer(args.lifetime, lambda: os._exit(0))
    timer.daemon = True
    timer.start()
    with open(args.port_file + ".part", "w") as f:
        f.write(str(server.server_port))
    os.replace(args.port_file + ".part", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
