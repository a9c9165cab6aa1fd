#!/usr/bin/env python3
"""Writes the resource package: a ZIP archive whose members are encrypted with
the traditional PKWARE cipher under the package password.

usage: make_package.py OUTPUT ROOT MEMBER...

Members are stored under their names relative to ROOT, in the order given.
Every byte is fixed by the inputs: one DOS timestamp for all members, and the
cipher's 12-byte header taken from a digest of the member instead of a random
source, so two builds give the same package.
"""
import hashlib
import struct
import sys
import zlib

PASSWORD = b"5318642"
# 2020-01-01 00:00:00 in DOS date and time fields.
DOS_DATE = ((2020 - 1980) << 9) | (1 << 5) | 1
DOS_TIME = 0
FLAG_ENCRYPTED = 0x0001
METHOD_STORED = 0
METHOD_DEFLATED = 8
VERSION_NEEDED = 20


class Cipher:
    """The traditional PKWARE stream cipher (three keys updated per plain byte)."""

    def __init__(self, password):
        self.keys = [0x12345678, 0x23456789, 0x34567890]
        for b in password:
            self._update(b)

    @staticmethod
    def _crc_byte(crc, b):
        return zlib.crc32(bytes([b]), crc ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    def _update(self, b):
        k0, k1, k2 = self.keys
        k0 = self._crc_byte(k0, b)
        k1 = ((k1 + (k0 & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k2 = self._crc_byte(k2, k1 >> 24)
        self.keys = [k0, k1, k2]

    def encrypt(self, data):
        out = bytearray(len(data))
        for i, b in enumerate(data):
            t = (self.keys[2] | 2) & 0xFFFF
            out[i] = b ^ (((t * (t ^ 1)) >> 8) & 0xFF)
            self._update(b)
        return bytes(out)


def pack_member(name, data):
    """Returns (method, crc, encrypted body) for one member."""
    crc = zlib.crc32(data) & 0xFFFFFFFF
    deflater = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    deflated = deflater.compress(data) + deflater.flush()
    method, body = (METHOD_DEFLATED, deflated) if len(deflated) < len(data) else (METHOD_STORED, data)
    # The header's last byte is the CRC's high byte, which unzip tools check the password against.
    header = hashlib.sha256(name.encode("utf-8") + data).digest()[:11] + bytes([crc >> 24])
    return method, crc, Cipher(PASSWORD).encrypt(header + body)


def build(root, names):
    out = bytearray()
    central = bytearray()
    for name in names:
        with open(f"{root}/{name}", "rb") as f:
            data = f.read()
        method, crc, body = pack_member(name, data)
        raw_name = name.encode("ascii")
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, VERSION_NEEDED, FLAG_ENCRYPTED, method,
                           DOS_TIME, DOS_DATE, crc, len(body), len(data), len(raw_name), 0)
        out += raw_name + body
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, VERSION_NEEDED, VERSION_NEEDED,
                               FLAG_ENCRYPTED, method, DOS_TIME, DOS_DATE, crc, len(body),
                               len(data), len(raw_name), 0, 0, 0, 0, 0, offset)
        central += raw_name
    directory_offset = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(names), len(names), len(central),
                       directory_offset, 0)
    return bytes(out)


def main(argv):
    if len(argv) < 4:
        sys.exit("usage: make_package.py OUTPUT ROOT MEMBER...")
    package = build(argv[2], argv[3:])
    with open(argv[1], "wb") as f:
        f.write(package)


if __name__ == "__main__":
    main(sys.argv)
