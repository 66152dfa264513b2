#!/usr/bin/env python3
"""Prints what a Windows program file says about itself, one KEY=VALUE line each:
machine, format, subsystem, the link date, the dates in the resource tree, the debug directory,
the version resource (numbers and strings) and the manifest's settings.

    tools/release/pe_facts.py PROGRAM.exe

Reads the file with nothing but the PE layout; for the release checks on this machine, where
the 32-bit programs cannot run."""

import struct
import sys

MACHINES = {0x14C: "i386", 0x8664: "amd64"}
SUBSYSTEMS = {2: "gui", 3: "console"}
RT_ICON_GROUP, RT_VERSION, RT_MANIFEST = 14, 16, 24


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        self.machine, sections, self.timestamp = struct.unpack_from("<HHI", data, pe + 4)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        self.format = {0x10B: "PE32", 0x20B: "PE32+"}.get(magic, hex(magic))
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        directories = opt + (96 if magic == 0x10B else 112)
        self.directory = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = opt + optional_size
        for i in range(sections):
            _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raw))

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise ValueError("address %#x is in no section" % rva)

    def resources(self):
        """(type, name, data bytes) of every resource, and the dates of the resource tree."""
        rva, size = self.directory[2]
        if size == 0:
            return [], []
        base = self.offset(rva)
        found, dates = [], []

        def walk(offset, path):
            dates.append(struct.unpack_from("<I", self.data, base + offset + 4)[0])
            named, ids = struct.unpack_from("<HH", self.data, base + offset + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i)
                key = ("name", key & 0x7FFFFFFF) if key & 0x80000000 else key
                if target & 0x80000000:
                    walk(target & 0x7FFFFFFF, path + [key])
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(data_rva)
                    found.append((path[0], path[1], self.data[start:start + data_size]))

        walk(0, [])
        return found, dates


def version_strings(block):
    """The StringFileInfo values of a VS_VERSIONINFO block."""
    values = {}

    def children(start, end):
        while start + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", block, start)
            if length == 0:
                break
            key_end = start + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[start + 6:key_end].decode("utf-16-le")
            value_start = (key_end + 2 + 3) & ~3
            yield key, kind, value_length, value_start, start + length
            start = (start + length + 3) & ~3

    for key, _, _, value_start, end in children(0, len(block)):
        # VS_VERSIONINFO: the fixed part, then StringFileInfo and VarFileInfo.
        inner = (value_start + 52 + 3) & ~3
        for name, _, _, first, last in children(inner, end):
            if name != "StringFileInfo":
                continue
            for _, _, _, table_first, table_last in children(first, last):
                for value_key, _, count, at, _ in children(table_first, table_last):
                    text = block[at:at + 2 * count].decode("utf-16-le").rstrip("\0")
                    values[value_key] = text
    return values


def facts(path):
    with open(path, "rb") as f:
        pe = Pe(f.read())
    out = [("machine", MACHINES.get(pe.machine, hex(pe.machine))), ("format", pe.format),
           ("subsystem", SUBSYSTEMS.get(pe.subsystem, str(pe.subsystem))),
           ("link_date", str(pe.timestamp))]
    resources, dates = pe.resources()
    out.append(("resource_dates", ",".join(sorted({str(d) for d in dates})) or "none"))
    out.append(("debug_directory", "none" if pe.directory[6][1] == 0 else "present"))
    out.append(("icon_groups", str(sum(1 for r in resources if r[0] == RT_ICON_GROUP))))
    versions = [r[2] for r in resources if r[0] == RT_VERSION]
    if versions:
        block = versions[0]
        at = block.find(struct.pack("<I", 0xFEEF04BD))
        fms, fls, pms, pls = struct.unpack_from("<IIII", block, at + 8)
        out.append(("file_version", "%d.%d.%d.%d" % (fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF)))
        out.append(("product_version", "%d.%d.%d.%d" % (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF)))
        for key, value in sorted(version_strings(block).items()):
            out.append(("string." + key, value))
    manifests = [r[2] for r in resources if r[0] == RT_MANIFEST]
    if manifests:
        text = manifests[0].decode("utf-8", "replace")
        out.append(("manifest.execution_level", "asInvoker" if 'level="asInvoker"' in text else "other"))
        out.append(("manifest.supported_os", str(text.count("<supportedOS "))))
        out.append(("manifest.common_controls_6",
                    "yes" if "Microsoft.Windows.Common-Controls" in text else "no"))
    else:
        out.append(("manifest", "none"))
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: pe_facts.py PROGRAM.exe")
    for key, value in facts(sys.argv[1]):
        print("%s=%s" % (key, value))


if __name__ == "__main__":
    main()
