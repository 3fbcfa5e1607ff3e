#!/usr/bin/env python3
"""Tests for evaluate_library.py.  Needs no network."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import evaluate_library as ev  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def write_lib(folder, files):
    for name, lines in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write("".join(f"{line}\r\n" for line in lines).encode("cp950"))


class ReadExpectations(unittest.TestCase):
    def test_lines(self):
        cases = [
            ("# note\n\ngive\t給 給予\n", [("give", {"給", "給予"})]),
            ("give up\t放棄\n", [("give up", {"放棄"})]),
        ]
        for text, want in cases:
            with self.subTest(text=text):
                self.assertEqual(ev.read_expectations(text), want)

    def test_bad_lines(self):
        for text in ("give 給\n", "give\t\n", "\t給\n", "a\t一\na\t一個\n"):
            with self.subTest(text=text):
                with self.assertRaises(ev.ListError):
                    ev.read_expectations(text)

    def test_committed_list(self):
        with open(os.path.join(HERE, "common_words.tsv"), encoding="utf-8") as f:
            expectations = ev.read_expectations(f.read())
        self.assertGreaterEqual(len(expectations), 300)
        for english, words in expectations:
            with self.subTest(english=english):
                self.assertEqual(english, english.strip().lower())
                for w in words:
                    w.encode("cp950")    # a word the library could never hold


class Evaluate(unittest.TestCase):
    def test_counts(self):
        table = {"give": ["與", "給"], "dog": ["狗"], "like": ["同"], "take": ["拿"]}
        expectations = [("give", {"給"}), ("dog", {"狗"}), ("like", {"喜歡"}),
                        ("take", {"拿", "取"}), ("cat", {"貓"})]
        r = ev.evaluate(expectations, table)
        self.assertEqual((r.total, r.covered, r.first), (5, 3, 2))
        self.assertEqual(r.missing, ["cat"])
        self.assertEqual(r.uncovered, [("like", ["同"])])
        self.assertEqual(r.wrong_first, [("give", ["與", "給"], 1)])
        self.assertAlmostEqual(r.coverage(), 60.0)
        self.assertAlmostEqual(r.accuracy(), 40.0)


class ReadLibraryAndFloors(unittest.TestCase):
    def test_reads_every_letter_and_applies_floors(self):
        with tempfile.TemporaryDirectory() as d:
            write_lib(d, {"d.lib": ["dog=狗；犬"], "g.lib": ["give=與；給", "give up=放棄"],
                          "README": []})
            self.assertEqual(ev.read_library(d), {"dog": ["狗", "犬"], "give": ["與", "給"],
                                                  "give up": ["放棄"]})
            lst = os.path.join(d, "words.tsv")
            with open(lst, "w", encoding="utf-8") as f:
                f.write("dog\t狗\ngive\t給\n")
            base = ["--lib", d, "--list", lst]
            cases = [
                ([], 0),                                   # 100% covered, 50% first
                (["--min-coverage", "100", "--min-first", "50"], 0),
                (["--min-first", "50.1"], 1),
                (["--min-coverage", "100.1"], 1),
            ]
            for extra, rc in cases:
                with self.subTest(extra=extra):
                    with open(os.devnull, "w") as null:
                        old, sys.stdout, sys.stderr = (sys.stdout, sys.stderr), null, null
                        try:
                            got = ev.main(base + ["--min-coverage", "0", "--min-first", "0"] + extra)
                        finally:
                            sys.stdout, sys.stderr = old
                    self.assertEqual(got, rc)


if __name__ == "__main__":
    unittest.main()
