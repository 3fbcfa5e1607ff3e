#!/usr/bin/env python3
"""Builds a large library for the benchmarks from the bundled one.

Every entry of lib/X.lib is written several times into bench/data/large/X.lib, the copies'
headwords numbered ("apple", "apple 2", "apple 3", ...), so each letter's entries stay in
its letter's file, the Chinese text stays real and the proportions between the files stay
as they are. The copies are made until the library has about --lines lines (1,000,000 by
default, about 27 MB). Each file then ends with one entry found nowhere else,
"<letter>benchmarkend=基準測試末行", so that an exact lookup of it reads the whole file.

The output depends only on the input: the same lib/ always gives the same bytes. The bytes
of each line are copied as they are (Big5), with the line ends of the bundled library.

    bench/make_large_library.py [--lib DIR] [--out DIR] [--lines N]
"""

from __future__ import annotations

import argparse
import math
import os
import re
import string
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
LAST_ENTRY_TEXT = "基準測試末行".encode("cp950")
LINE = re.compile(rb"([^\r\n]*)(\r\n|\r|\n|$)")


def read_lines(path: str) -> list[tuple[bytes, bytes]]:
    """The lines of a library file with their line ends, as the program splits them."""
    with open(path, "rb") as f:
        data = f.read()
    lines = []
    for m in LINE.finditer(data):
        if m.start() == len(data):
            break
        lines.append((m.group(1), m.group(2) or b"\r\n"))
    return lines


def numbered(line: bytes, copy: int) -> bytes:
    if copy == 1:
        return line
    head, eq, rest = line.partition(b"=")
    return head + b" " + str(copy).encode("ascii") + eq + rest


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--lib", default=os.path.join(REPO, "lib"), help="the bundled library")
    ap.add_argument("--out", default=os.path.join(HERE, "data", "large"), help="output folder")
    ap.add_argument("--lines", type=int, default=1_000_000, help="lines wanted, about")
    args = ap.parse_args()

    files = {}
    for letter in string.ascii_lowercase:
        path = os.path.join(args.lib, letter + ".lib")
        if not os.path.isfile(path):
            print(f"make_large_library: {path} is missing", file=sys.stderr)
            return 1
        files[letter] = read_lines(path)
    total = sum(len(lines) for lines in files.values())
    if total == 0:
        print(f"make_large_library: {args.lib} holds no entries", file=sys.stderr)
        return 1
    copies = max(1, math.ceil(args.lines / total))

    os.makedirs(args.out, exist_ok=True)
    written_lines = written_bytes = 0
    for letter, lines in files.items():
        out = bytearray()
        for line, end in lines:
            for copy in range(1, copies + 1):
                # Empty lines stay single: they are not entries.
                if copy > 1 and not line:
                    break
                out += numbered(line, copy) + end
        end = lines[-1][1] if lines else b"\r\n"
        out += letter.encode("ascii") + b"benchmarkend=" + LAST_ENTRY_TEXT + end
        with open(os.path.join(args.out, letter + ".lib"), "wb") as f:
            f.write(out)
        written_lines += out.count(b"\n") + out.count(b"\r") - out.count(b"\r\n")
        written_bytes += len(out)
    print(f"{args.out}: {written_lines} lines, {written_bytes} bytes "
          f"({copies} copies of {total} lines)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
