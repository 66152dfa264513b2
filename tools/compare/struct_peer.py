#!/usr/bin/env python3
"""The Python `struct` converter for the comparison's records, text to binary and back, in the
text form layoutpress writes (" value," per member, CR LF between records).
Usage: struct_peer.py integers|texts to-binary|to-text IN OUT"""
import struct
import sys

kind, direction, source, target = sys.argv[1:5]
with open(source, "rb") as f:
    data = f.read()

if kind == "integers":
    record = struct.Struct("<ihBB")
    if direction == "to-binary":
        out = bytearray()
        for line in data.split(b"\r\n"):
            a, b, c, bits = line.split(b",")[:4]
            out += record.pack(int(a), int(b), int(c), int(bits, 2))
    else:
        out = b"\r\n".join(b" %d, %d, %d, %s," % (a, b, c, format(bits, "08b").encode())
                           for a, b, c, bits in record.iter_unpack(data))
else:
    record = struct.Struct("<24si")
    if direction == "to-binary":
        out = bytearray()
        for line in data.split(b"\r\n"):
            name, rest = line[2:].split(b'"', 1)
            out += record.pack(name, int(rest.strip(b" ,")))
    else:
        out = b"\r\n".join(b' "%s", %d,' % (name.replace(b"\0", b""), n)
                           for name, n in record.iter_unpack(data))

with open(target, "wb") as f:
    f.write(out)
