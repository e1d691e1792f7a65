#!/usr/bin/env python3
"""Signs update manifests for the updater and describes the files they list.

The updater accepts a manifest only when its last section is

    [SIGNATURE]
    ECDSA=<r||s as 128 lowercase hex digits>

and the ECDSA P-256 / SHA-256 signature verifies over every byte before the
[SIGNATURE] line, with the public key built into lumoraupd.exe. Each FILE and
SETUP entry of the manifest carries the SIZE and SHA256 that `digest` prints.

    sign_update.py sign --key PRIVATE.pem MANIFEST_IN [-o MANIFEST_OUT]
    sign_update.py digest FILE
    sign_update.py genkey PRIVATE.pem

The private key stays with whoever publishes updates; never commit it. The
public key (X||Y hex printed by genkey) goes into the build as
-DLUMORA_UPDATE_PUBLIC_KEY=<hex>.
"""

import argparse
import hashlib
import os
import re
import sys

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec, utils

SIGNATURE_HEADER = b"[SIGNATURE]"
COORD_BYTES = 32

_HEADER_LINE = re.compile(rb"^\[SIGNATURE\]\r?$", re.MULTILINE)


def strip_signature(data: bytes) -> bytes:
    """The manifest without its signature section, which is always the last one."""
    headers = list(_HEADER_LINE.finditer(data))
    return data[: headers[-1].start()] if headers else data


def ensure_line_end(body: bytes) -> bytes:
    if not body or body.endswith(b"\n"):
        return body
    return body + (b"\r\n" if b"\r\n" in body else b"\n")


def sign_bytes(private_key, body: bytes) -> bytes:
    der = private_key.sign(body, ec.ECDSA(hashes.SHA256()))
    r, s = utils.decode_dss_signature(der)
    return r.to_bytes(COORD_BYTES, "big") + s.to_bytes(COORD_BYTES, "big")


def signed_manifest(private_key, data: bytes) -> bytes:
    """The manifest with a fresh signature as its last section."""
    body = ensure_line_end(strip_signature(data))
    if _HEADER_LINE.search(body):
        # The updater refuses a manifest with two signature sections.
        raise SystemExit("the manifest has more than one [SIGNATURE] section")
    newline = b"\r\n" if b"\r\n" in body or not body else b"\n"
    signature = sign_bytes(private_key, body).hex().encode("ascii")
    return body + SIGNATURE_HEADER + newline + b"ECDSA=" + signature + newline


def load_private_key(path: str):
    with open(path, "rb") as f:
        key = serialization.load_pem_private_key(f.read(), password=None)
    if not isinstance(key, ec.EllipticCurvePrivateKey) or key.curve.name != "secp256r1":
        raise SystemExit(f"{path}: not an ECDSA P-256 private key")
    return key


def public_key_hex(private_key) -> str:
    numbers = private_key.public_key().public_numbers()
    return (numbers.x.to_bytes(COORD_BYTES, "big") + numbers.y.to_bytes(COORD_BYTES, "big")).hex()


def file_digest(path: str):
    sha = hashlib.sha256()
    size = 0
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            sha.update(block)
            size += len(block)
    return size, sha.hexdigest()


def command_sign(args) -> int:
    key = load_private_key(args.key)
    with open(args.manifest, "rb") as f:
        data = f.read()
    out = signed_manifest(key, data)
    target = args.output or args.manifest
    temp = target + ".signing"
    with open(temp, "wb") as f:
        f.write(out)
    os.replace(temp, target)
    return 0


def command_digest(args) -> int:
    size, sha = file_digest(args.file)
    print(f"SIZE={size}")
    print(f"SHA256={sha}")
    return 0


def command_genkey(args) -> int:
    if os.path.exists(args.private):
        raise SystemExit(f"{args.private} exists; not overwriting a key")
    key = ec.generate_private_key(ec.SECP256R1())
    pem = key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                            serialization.NoEncryption())
    fd = os.open(args.private, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
    with os.fdopen(fd, "wb") as f:
        f.write(pem)
    print(public_key_hex(key))
    return 0


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description="Sign update manifests and describe update files.")
    sub = parser.add_subparsers(dest="command", required=True)
    sign = sub.add_parser("sign", help="replace the manifest's signature with a fresh one")
    sign.add_argument("--key", required=True, help="PEM file of the ECDSA P-256 private key")
    sign.add_argument("manifest")
    sign.add_argument("-o", "--output", help="write here instead of in place")
    sign.set_defaults(run=command_sign)
    digest = sub.add_parser("digest", help="print SIZE= and SHA256= of a file")
    digest.add_argument("file")
    digest.set_defaults(run=command_digest)
    genkey = sub.add_parser("genkey", help="make a key pair; prints the public X||Y hex")
    genkey.add_argument("private")
    genkey.set_defaults(run=command_genkey)
    args = parser.parse_args(argv)
    return args.run(args)


if __name__ == "__main__":
    sys.exit(main())
