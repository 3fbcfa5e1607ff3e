#!/usr/bin/env python3
"""Measures the bundled library against common_words.tsv.

For every word of the list it reads the headword's line from lib/ and
counts the word as covered when one of the expected translations is
anywhere in the definition, and as right first when the definition opens
with one.  Prints both figures, the words that miss, and fails (exit 1) when
a figure drops below the floor the library has already reached.

    python3 tools/libbuilder/evaluate_library.py [--lib DIR] [--list FILE]

Reads only the committed files: no network, no other input.
"""

from __future__ import annotations

import argparse
import os
import sys
from dataclasses import dataclass

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

CODEC = "cp950"
SEPARATOR = "\uff1b"

# What the committed library reaches, in per cent; raise these when it gets
# better so that it cannot quietly get worse again.
FLOOR_COVERAGE = 98.9
FLOOR_FIRST = 90.5


class ListError(Exception):
    pass


def read_expectations(text: str) -> list[tuple[str, set[str]]]:
    """Parses "english<TAB>word word ..." lines; '#' starts a comment line."""
    out: list[tuple[str, set[str]]] = []
    seen: set[str] = set()
    for n, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        english, tab, words = line.partition("\t")
        expected = set(words.split())
        if not tab or not english or not expected:
            raise ListError(f"line {n}: expected 'english<TAB>translations': {line!r}")
        if english in seen:
            raise ListError(f"line {n}: {english!r} listed twice")
        seen.add(english)
        out.append((english, expected))
    return out


def read_library(lib_dir: str) -> dict[str, list[str]]:
    """headword -> translations, in order, from every lib/?.lib present."""
    table: dict[str, list[str]] = {}
    for name in sorted(os.listdir(lib_dir)):
        if not (len(name) == 5 and name.endswith(".lib")):
            continue
        with open(os.path.join(lib_dir, name), "rb") as f:
            text = f.read().decode(CODEC)
        for line in text.split("\r\n"):
            if "=" in line:
                headword, definition = line.split("=", 1)
                table[headword] = definition.split(SEPARATOR)
    return table


@dataclass
class Result:
    total: int
    covered: int
    first: int
    missing: list[str]                                  # no line at all
    uncovered: list[tuple[str, list[str]]]              # line, but no expected word
    wrong_first: list[tuple[str, list[str], int]]       # expected word further down

    def coverage(self) -> float:
        return 100.0 * self.covered / self.total if self.total else 0.0

    def accuracy(self) -> float:
        return 100.0 * self.first / self.total if self.total else 0.0


def evaluate(expectations, table) -> Result:
    r = Result(len(expectations), 0, 0, [], [], [])
    for english, expected in expectations:
        words = table.get(english)
        if not words:
            r.missing.append(english)
            continue
        positions = [i for i, w in enumerate(words) if w in expected]
        if not positions:
            r.uncovered.append((english, words))
            continue
        r.covered += 1
        if positions[0] == 0:
            r.first += 1
        else:
            r.wrong_first.append((english, words, positions[0]))
    return r


def report(r: Result, out=sys.stdout) -> None:
    for english in r.missing:
        print(f"missing    {english}", file=out)
    for english, words in r.uncovered:
        print(f"uncovered  {english}={SEPARATOR.join(words)}", file=out)
    # Worst first: the expected word furthest down the line.
    for english, words, pos in sorted(r.wrong_first, key=lambda t: (-t[2], t[0])):
        print(f"first #{pos + 1:<3} {english}={SEPARATOR.join(words)}", file=out)
    print(f"words: {r.total}  covered: {r.covered} ({r.coverage():.1f}%)  "
          f"right first: {r.first} ({r.accuracy():.1f}%)", file=out)


FREQUENT_ENGLISH = os.path.join(HERE, "frequent_english.txt")
FREQUENT_COUNT = 3000
# Big5 level 2, the "less frequently used characters" (C940-F9D5).
BIG5_LEVEL2 = (0xC940, 0xF9D5)


def is_level2_character(word: str) -> bool:
    """A lone character of Big5 level 2."""
    if len(word) != 1:
        return False
    code = word.encode(CODEC)
    return len(code) == 2 and BIG5_LEVEL2[0] <= int.from_bytes(code, "big") <= BIG5_LEVEL2[1]


def rare_first(frequent: list[str], table) -> tuple[int, list[str]]:
    """Of the most frequent English words the library has, those whose line
    opens with a lone character of Big5 level 2; and how many were looked at."""
    have = [w for w in frequent if w in table][:FREQUENT_COUNT]
    return len(have), [w for w in have if is_level2_character(table[w][0])]


def read_word_list(path: str) -> list[str]:
    with open(path, encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip() and not line.startswith("#")]


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--lib", default=os.path.join(REPO, "lib"))
    ap.add_argument("--list", default=os.path.join(HERE, "common_words.tsv"))
    ap.add_argument("--min-coverage", type=float, default=FLOOR_COVERAGE)
    ap.add_argument("--min-first", type=float, default=FLOOR_FIRST)
    ap.add_argument("--frequent", default=FREQUENT_ENGLISH)
    args = ap.parse_args(argv)
    try:
        with open(args.list, encoding="utf-8") as f:
            expectations = read_expectations(f.read())
    except ListError as e:
        print(f"{args.list}: {e}", file=sys.stderr)
        return 1
    table = read_library(args.lib)
    if not table:
        print(f"no library files in {args.lib}", file=sys.stderr)
        return 1
    r = evaluate(expectations, table)
    report(r)
    looked_at, rare = rare_first(read_word_list(args.frequent), table)
    print(f"of the {looked_at} most frequent English words the library has, "
          f"{len(rare)} open with a lone level-2 character"
          + (": " + " ".join(f"{w}={table[w][0]}" for w in rare) if rare else ""))
    failed = bool(rare)
    if r.coverage() < args.min_coverage:
        print(f"coverage {r.coverage():.1f}% is below the floor {args.min_coverage}%",
              file=sys.stderr)
        failed = True
    if r.accuracy() < args.min_first:
        print(f"right first {r.accuracy():.1f}% is below the floor {args.min_first}%",
              file=sys.stderr)
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
