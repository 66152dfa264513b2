#!/usr/bin/env python3
"""Writes the comparison's data once: integer and text-heavy records, as binary, at the largest
sizes users convert (1.6 MB of binary, at most 4.8 MB of text). The text forms are made by
layoutpress-cli itself. Usage: gen_data.py DIR"""
import random
import struct
import sys

out = sys.argv[1]
rng = random.Random(20261206)


def spread():
    magnitude = rng.getrandbits(31) >> rng.randrange(31)
    return -magnitude if rng.random() < 0.5 else magnitude


# long a; short b; u_char c; bit:8 f;  (8 bytes; 150000 records keep the text under 4.8 MB)
with open(f"{out}/integers.bin", "wb") as f:
    f.write(b"".join(struct.pack("<ihBB", spread(), rng.randrange(-32768, 32768),
                                 rng.randrange(256), rng.randrange(256))
                     for _ in range(150000)))
with open(f"{out}/integers.str", "wb") as f:
    f.write(b"long a;\r\nshort b;\r\nu_char c;\r\nbit:8 f;\r\n")

# f_char name[24]; long n;  (28 bytes; 57142 records fill 1.6 MB)
letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ-"
records = []
for _ in range(57142):
    name = rng.choice(letters[27:53]) + "".join(rng.choice(letters)
                                                for _ in range(rng.randrange(3, 23)))
    records.append(struct.pack("<24si", name.encode(), spread()))
with open(f"{out}/texts.bin", "wb") as f:
    f.write(b"".join(records))
with open(f"{out}/texts.str", "wb") as f:
    f.write(b"f_char name[24];\r\nlong n;\r\n")
