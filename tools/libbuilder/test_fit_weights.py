"""Tests for fit_weights.py: the fit moves weights the way a list asks,
within the signs the signals' meanings allow, and the committed lists stay
apart."""

import json
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import build_library as bl  # noqa: E402
import fit_weights as fw  # noqa: E402
from evaluate_library import read_expectations  # noqa: E402


def small_table():
    # Four headwords.  In each, the more frequent word has a note on its
    # sense ("(of a horse)") that costs more than the frequency gains it, and
    # the list wants the noted word first: only a lighter "note" can say so.
    lines, counts, expectations = [], {}, []
    for i, (plain, noted) in enumerate([("甲乙", "丙丁"), ("戊己", "庚辛"),
                                        ("壬癸", "子丑"), ("寅卯", "辰巳")]):
        hw = f"word{i}"
        lines += [f"{plain} {plain} [a] /{hw}/", f"{noted} {noted} [b] /{hw} (of a horse)/"]
        counts[plain], counts[noted] = 700, 1000
        expectations.append((hw, [noted]))
    # Four more, without notes, where the list wants the more frequent word.
    for i, (common, rare) in enumerate([("天地", "玄黃"), ("宇宙", "洪荒"),
                                        ("日月", "盈昃"), ("辰宿", "列張")]):
        hw = f"plain{i}"
        lines += [f"{common} {common} [c] /{hw}/", f"{rare} {rare} [d] /{hw}/"]
        counts[common], counts[rare] = 900 + 50 * i, 300
        expectations.append((hw, [common]))
    freq = {w: bl.Freq(n, "n") for w, n in counts.items()}
    entries = [bl.parse_cedict_line(line) for line in lines]
    return bl.candidates(entries, freq), expectations


class Fit(unittest.TestCase):
    def test_weights_follow_the_list_within_their_signs(self):
        table, expectations = small_table()
        start = {n: w for n, (w, _) in bl.SIGNALS.items()}
        items, unusable = fw.training_items(table, expectations)
        self.assertEqual((len(items), unusable), (8, 0))
        before = fw.first_right(table, expectations, start)

        free = fw.fit(items, start)
        # The note costs less than the frequency gap now, and stays a penalty.
        self.assertGreater(free["note"], start["note"])
        self.assertLessEqual(free["note"], 0.0)
        self.assertAlmostEqual(sum(free[n] for n in fw.FREQUENCY_SIGNALS), 1.0, places=2)
        self.assertEqual(fw.first_right(table, expectations, free), 8)
        self.assertEqual(before, 4)

        # Frozen with the frequencies, whose weights set the scale, a weight
        # comes out as it went in.
        frozen = fw.fit(items, start, frozenset(["note", *fw.FREQUENCY_SIGNALS]))
        self.assertEqual(frozen["note"], start["note"])

    def test_wanted(self):
        cases = [("書", ["書", "書籍"], 1.0), ("書籍", ["書", "書籍"], fw.LATER_CHOICE),
                 ("冊", ["書", "書籍"], 0.0)]
        for word, expected, want in cases:
            with self.subTest(word=word):
                self.assertEqual(fw.wanted(word, expected), want)

    def test_signs_follow_meanings(self):
        start = {n: w for n, (w, _) in bl.SIGNALS.items()}
        cases = [("position", -1), ("taiwan_lift", 1), ("unknown", -1), ("level2_chars", -1)]
        for name, sign in cases:
            with self.subTest(name=name):
                self.assertEqual(fw.sign_of(name, start), sign)
        self.assertTrue(set(fw.NEW_SIGNAL_SIGNS) <= set(bl.SIGNALS))


class CommittedLists(unittest.TestCase):
    def read(self, path):
        with open(path, encoding="utf-8") as f:
            return read_expectations(f.read())

    def test_training_list_is_large_and_apart_from_the_evaluation_list(self):
        training = self.read(fw.TRAINING_LIST)
        evaluation = self.read(fw.EVALUATION_LIST)
        self.assertGreaterEqual(len(training), 1000)
        self.assertEqual({e for e, _ in training} & {e for e, _ in evaluation}, set())
        for english, words in training:
            with self.subTest(english=english):
                self.assertLessEqual(len(words), 3)
                for w in words:
                    w.encode("cp950")          # Traditional, in code page 950

    def test_committed_weights_name_every_signal(self):
        # load_weights fills in starting values, so read the file itself: a
        # signal added since the last fit would rank by an unfitted weight.
        with open(bl.WEIGHTS_FILE, encoding="utf-8") as f:
            self.assertEqual(set(json.load(f)["weights"]), set(bl.SIGNALS))
        weights = bl.load_weights()
        self.assertAlmostEqual(sum(weights[n] for n in fw.FREQUENCY_SIGNALS), 1.0, places=2)


if __name__ == "__main__":
    unittest.main()
