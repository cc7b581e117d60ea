#!/usr/bin/env python3
"""Writes demo.mhx: a module file of Motorola S-records for a made-up module firmware.

    python3 samples/make_demo.py

A header record (S0) names the firmware, 300 data records (S1) carry 16 bytes each from
address 0x1000, a count record (S5) holds the number of data records and an end record (S9)
the start address. Every record ends with its checksum: the ones' complement of the low
byte of the sum of the count, address and data bytes. Lines end with LF only, so the file's
bytes are exactly what the module receives.
"""

import os

HEADER = b"DEMO MODUL XY verze 1.24"
START = 0x1000
RECORDS = 300


def record(kind, address, data):
    body = bytes([len(data) + 3, address >> 8, address & 0xFF]) + data
    checksum = (~sum(body)) & 0xFF
    return "S%d%s%02X" % (kind, body.hex().upper(), checksum)


def firmware():
    """Deterministic bytes that look like code, with the version text inside."""
    state = 0x2024
    image = bytearray()
    while len(image) < RECORDS * 16:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        image.append((state >> 16) & 0xFF)
    image[0x40:0x40 + len(HEADER)] = HEADER
    return bytes(image)


def main():
    image = firmware()
    lines = [record(0, 0, HEADER)]
    for k in range(RECORDS):
        lines.append(record(1, START + 16 * k, image[16 * k:16 * k + 16]))
    lines.append(record(5, RECORDS, b""))
    lines.append(record(9, START, b""))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo.mhx")
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
