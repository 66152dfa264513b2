#!/usr/bin/env python3
"""The files of the release zips, made the same way on every run.

    release_files.py fill TEMPLATE OUT KEY=VALUE|KEY=@FILE...   @KEY@ replaced, CR LF line ends
    release_files.py crlf IN OUT                                 a text file with CR LF line ends
    release_files.py zip OUT.zip FOLDER                          the folder's files, zipped

The zip lists its entries sorted by name, folders before their files, every one dated
SOURCE_DATE_EPOCH (UTC; required) with fixed permissions, so that the same files always give
the same bytes."""

import os
import re
import sys
import time
import zipfile


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def fill(template, out, pairs):
    with open(template, encoding="utf-8") as f:
        text = f.read()
    for pair in pairs:
        key, _, value = pair.partition("=")
        if value.startswith("@"):
            with open(value[1:], encoding="utf-8") as f:
                value = f.read()
        marker = "@" + key + "@"
        if marker not in text:
            sys.exit("release_files: %s has no %s" % (template, marker))
        text = text.replace(marker, value)
    left = re.search(r"@[A-Z][A-Z0-9_]*@", text)
    if left:
        sys.exit("release_files: %s: no value for %s" % (template, left.group(0)))
    write_text(out, text)


def write_text(out, text):
    with open(out, "w", encoding="utf-8", newline="") as f:
        f.write(crlf(text))


def make_zip(out, folder):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        sys.exit("release_files: SOURCE_DATE_EPOCH is not set")
    date_time = time.gmtime(max(int(epoch), 315532800))[:6]  # zip dates start in 1980
    entries = []
    for here, folders, files in os.walk(folder):
        folders.sort()
        relative = os.path.relpath(here, folder).replace(os.sep, "/")
        prefix = "" if relative == "." else relative + "/"
        if prefix:
            entries.append((prefix, None))
        for name in sorted(files):
            entries.append((prefix + name, os.path.join(here, name)))
    with zipfile.ZipFile(out, "w") as archive:
        for name, path in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 0  # MS-DOS: the attributes below are the DOS ones
            if path is None:
                info.external_attr = 0x10  # folder
                archive.writestr(info, b"")
                continue
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0x20  # archive bit, as Windows writes files
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


def main():
    args = sys.argv[1:]
    if len(args) >= 3 and args[0] == "fill":
        fill(args[1], args[2], args[3:])
    elif len(args) == 3 and args[0] == "crlf":
        with open(args[1], encoding="utf-8") as f:
            write_text(args[2], f.read())
    elif len(args) == 3 and args[0] == "zip":
        make_zip(args[1], args[2])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
