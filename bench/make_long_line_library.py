#!/usr/bin/env python3
"""Builds a library whose a.lib is one line of many megabytes, for timing the lookup of a file
that lost its line ends (saved with the wrong ones, or a download cut up and glued back).

The entries of lib/a.lib are written one after another until a.lib holds about --mib MiB:
with nothing between them by default, so the whole file is one line whose fields run from
one entry's definition into the next headword ("...=蘋果apple=..."), or, with --ends lf, each
ended by a line feed alone. The other 25 files are copied from lib/ as they are, so a text
looked up in all of them reads those too. The same lib/ always gives the same bytes.

    bench/make_long_line_library.py [--lib DIR] [--out DIR] [--mib N] [--ends none|lf]
"""

from __future__ import annotations

import argparse
import os
import re
import shutil
import string

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--lib", default=os.path.join(REPO, "lib"))
    parser.add_argument("--out", default=os.path.join(HERE, "data", "long-line"))
    parser.add_argument("--mib", type=int, default=64)
    parser.add_argument("--ends", choices=("none", "lf"), default="none")
    args = parser.parse_args()

    os.makedirs(args.out, exist_ok=True)
    for letter in string.ascii_lowercase:
        if letter != "a":
            shutil.copyfile(os.path.join(args.lib, f"{letter}.lib"),
                            os.path.join(args.out, f"{letter}.lib"))
    with open(os.path.join(args.lib, "a.lib"), "rb") as f:
        entries = [e for e in re.split(rb"\r\n|\r|\n", f.read()) if e]
    end = b"\n" if args.ends == "lf" else b""
    block = b"".join(e + end for e in entries)
    size = args.mib << 20
    with open(os.path.join(args.out, "a.lib"), "wb") as f:
        written = 0
        while written < size:
            piece = block[: size - written]
            f.write(piece)
            written += len(piece)


if __name__ == "__main__":
    main()
