#!/usr/bin/env python3
"""Independent reference of the keyed string cipher.

Writes one vector a line, tab-separated and hex-encoded where bytes may be
arbitrary: key string, now, expiry seconds, prefix length, text, cipher text.
The C++ test encodes with the same clock and compares byte for byte, and
decodes the reference's cipher texts.
"""
import base64
import hashlib
import random
import sys


def md5hex(data: bytes) -> bytes:
    return hashlib.md5(data).hexdigest().encode("ascii")


def rc4(key: bytes, data: bytes) -> bytes:
    box = list(range(256))
    j = 0
    for i in range(256):
        j = (j + box[i] + key[i % len(key)]) % 256
        box[i], box[j] = box[j], box[i]
    out = bytearray()
    a = j = 0
    for c in data:
        a = (a + 1) % 256
        j = (j + box[a]) % 256
        box[a], box[j] = box[j], box[a]
        out.append(c ^ box[(box[a] + box[j]) % 256])
    return bytes(out)


def encode(text: bytes, key_string: bytes, now: int, expiry_seconds: int, prefix_length: int) -> bytes:
    key = md5hex(key_string)
    key_a = md5hex(key[:16])
    key_b = md5hex(key[16:])
    prefix = b""
    if 0 < prefix_length < 32:
        prefix = md5hex(str(now & 0xFFFFFFFF).encode())[-prefix_length:]
    cipher_key = key_a + md5hex(key_a + prefix)
    expiry = 0
    if expiry_seconds:
        expiry = ((now & 0xFFFFFFFF) + expiry_seconds) & 0xFFFFFFFF
        if expiry >= 1 << 31:
            expiry -= 1 << 32
    body = b"%010d" % expiry + md5hex(text + key_b)[:16] + text
    return prefix + base64.b64encode(rc4(cipher_key, body)).replace(b"=", b"")


VIEW_KEY = b"m!r+t#v$w%xyz^q&k*n(j"
CLIENT_KEY = b"qorvx#e!w%&+b~zn^(k$u+y)s*g=hjcd?"


def vectors():
    now = 1700000000
    yield VIEW_KEY, now, 0, 7, b""
    yield VIEW_KEY, now, 0, 7, b"http://127.0.0.1/home/index.html"
    yield CLIENT_KEY, now + 1, 0, 7, '{"uid":"用户","ver":"1.0"}'.encode("utf-8")
    yield CLIENT_KEY, 4294967295, 0, 7, b"low 32 bits of the clock at their top"
    yield b"k", 0, 0, 0, b"no prefix"
    yield b"k", now, 0, 32, b"32 means no prefix"
    yield b"k", now, 0, 31, b"longest prefix"
    yield b"expiring key", now, 3600, 7, b"valid for an hour"
    rnd = random.Random(20240501)
    for length in (1, 2, 3, 25, 26, 27, 200, 3000):
        yield VIEW_KEY, now + length, 0, 7, bytes(rnd.randrange(256) for _ in range(length))


def main() -> int:
    lines = []
    for key_string, now, expiry, prefix_length, text in vectors():
        cipher = encode(text, key_string, now, expiry, prefix_length)
        lines.append("\t".join([key_string.hex(), str(now), str(expiry), str(prefix_length),
                                text.hex(), cipher.decode("ascii")]))
    with open(sys.argv[1], "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
