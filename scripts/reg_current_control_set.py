#!/usr/bin/env python3
"""Writes a copy of a .reg export whose key paths under ...\\ControlSet001 are renamed to
...\\CurrentControlSet, keeping the file's encoding. Exits 1 (writing nothing) when the file has
no such key."""
import re
import sys


def main(source, target):
    raw = open(source, "rb").read()
    if raw.startswith(b"\xff\xfe"):
        encoding = "utf-16"
    elif raw.startswith(b"\xef\xbb\xbf"):
        encoding = "utf-8-sig"
    else:
        encoding = "latin-1"
    text = raw.decode(encoding)
    header = re.compile(r"^(\[-?[^\]\r\n]*?\\)ControlSet001(?=[\\\]])", re.IGNORECASE | re.MULTILINE)
    renamed, count = header.subn(r"\1CurrentControlSet", text)
    if count == 0:
        return 1
    with open(target, "wb") as out:
        out.write(renamed.encode(encoding))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
