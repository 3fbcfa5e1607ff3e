#!/usr/bin/env python3
"""Fits the library's ranking weights on training_words.tsv.

The model is a conditional logit: for each English headword of the training
list, the chance that a learner's first translation is candidate c is

    exp(score(c)) / sum of exp(score(x)) over the headword's candidates,

where score is the weighted sum of c's signals (build_library.SIGNALS) in
its best sense.  The fit maximises the chance of the expected translations
over the whole list, less an L2 pull towards the hand-set starting weights,
so that a signal the list rarely shows keeps its starting value.  A word's
best sense depends on the weights, so the fit alternates: choose each
word's best sense, fit, and again, a fixed number of rounds.  Candidates that
the rarity rules put last whatever the weights (build_library.score_table)
are left out, as are headwords with no expected translation among their
candidates.

Only the weights in FITTED move (the balance of the two frequency lists and
the rarity signals); README.md tells why the others keep their hand-set
values.  The weights are then scaled so that the two ln(frequency) signals
together weigh 1 (the cut-off and margins of build_library are in those
units), rounded, and written to ranking_weights.json.  Same inputs, same
bytes.

    python3 tools/libbuilder/fit_weights.py [--tarball-dir DIR] [--cross-validate]

Standard library only.
"""

from __future__ import annotations

import argparse
import json
import math
import os
import sys

import build_library as bl
from evaluate_library import read_expectations

HERE = os.path.dirname(os.path.abspath(__file__))
TRAINING_LIST = os.path.join(HERE, "training_words.tsv")
EVALUATION_LIST = os.path.join(HERE, "common_words.tsv")

L2 = 0.1
ROUNDS = 4          # best sense chosen, then fitted, this many times
STEPS = 400         # gradient steps per round
LEARNING_RATE = 0.05
LATER_CHOICE = 0.3  # how much a list's second or third word counts against its first
DECIMALS = 3


class Item:
    """One training headword: its candidates' signals, as index/value pairs."""

    def __init__(self, headword, words, expected):
        self.headword = headword
        self.words = words                    # [(word, Candidate)]
        self.expected = expected              # words, best first
        self.rows: list[list[tuple[int, float]]] = []
        self.positive: list[float] = []       # how much each candidate is wanted first


def training_items(table, expectations) -> tuple[list[Item], int]:
    """The headwords that can teach something, and how many could not."""
    items, unusable = [], 0
    for english, expected in expectations:
        words = table.get(english)
        if not words:
            unusable += 1
            continue
        usable = [(w, c) for w, c in sorted(words.items()) if encodable(w)]
        positives = [w for w, _ in usable if w in expected]
        if not positives or len(positives) == len(usable):
            unusable += 1
            continue
        items.append(Item(english, usable, expected))
    return items, unusable


def wanted(word: str, expected: list[str]) -> float:
    """The list's first word is the one wanted first; the others less so."""
    if word not in expected:
        return 0.0
    return 1.0 if word == expected[0] else LATER_CHOICE


def ordered_expectations(text: str) -> list[tuple[str, list[str]]]:
    """The list as read_expectations reads it, keeping each line's order."""
    read_expectations(text)       # the same checks
    out = []
    for line in text.splitlines():
        if line.strip() and not line.startswith("#"):
            english, _, words = line.partition("\t")
            out.append((english, words.split()))
    return out


def encodable(word: str) -> bool:
    try:
        word.encode(bl.OUTPUT_CODEC)
    except UnicodeEncodeError:
        return False
    return True


def choose_senses(items: list[Item], weights: dict[str, float], names: list[str]) -> None:
    """Gives each candidate the signals of its best sense under `weights`,
    dropping the ones the rarity rules put last."""
    index = {n: i for i, n in enumerate(names)}
    for item in items:
        scores = bl.score_table({item.headword: dict(item.words)}, weights)[item.headword]
        kept = [(w, c) for w, c in item.words if not bl.is_late(scores[w])]
        if not any(w in item.expected for w, _ in kept):
            kept = item.words
        item.rows, item.positive = [], []
        for w, c in kept:
            best = max(c.senses, key=lambda s: bl.dot(weights, s))
            item.rows.append(sorted((index[k], v) for k, v in best.items()))
            item.positive.append(wanted(w, item.expected))


def loss_and_gradient(items, w, w0):
    n = len(items)
    grad = [2 * L2 * (a - b) for a, b in zip(w, w0)]
    loss = L2 * sum((a - b) ** 2 for a, b in zip(w, w0)) * n
    for item in items:
        scores = [sum(w[i] * v for i, v in row) for row in item.rows]
        top = max(scores)
        e = [math.exp(s - top) for s in scores]
        total = sum(e)
        pos = sum(x * p for x, p in zip(e, item.positive))
        loss += math.log(total) - math.log(pos)
        for row, x, p in zip(item.rows, e, item.positive):
            g = x / total - x * p / pos
            if g:
                for i, v in row:
                    grad[i] += g * v
    return loss / n, [g / n for g in grad]


# Each signal keeps the sign its meaning gives it: a penalty stays a
# penalty, however the list's few cases of it fall; the fit decides the size.
# Signals that start at 0 are named here; the others keep their start's sign.
NEW_SIGNAL_SIGNS = {
    "unknown": -1, "level2_chars": -1, "transliteration": -1, "lone_orphan": -1,
    "rarer_by_3": -1, "rarer_by_6": -1, "tw_unknown": -1,
}


# Together they say how frequent a word is; their sum is scaled to 1.
FREQUENCY_SIGNALS = ("log_count", "tw_log_count")


# What the fit may move: the frequencies' balance and the rarity signals.
# The other weights stay as set by hand (see README.md, "Fitting the weights").
FITTED = frozenset(NEW_SIGNAL_SIGNS) | frozenset(FREQUENCY_SIGNALS)


def sign_of(name: str, start: dict[str, float]) -> int:
    if name in NEW_SIGNAL_SIGNS:
        return NEW_SIGNAL_SIGNS[name]
    return (start[name] > 0) - (start[name] < 0)


def fit(items, start: dict[str, float], frozen: frozenset = frozenset()) -> dict[str, float]:
    """Fits the weights; those named in `frozen` keep their starting value."""
    names = sorted(start)
    w0 = [start[n] for n in names]
    signs = [sign_of(n, start) for n in names]
    w = list(w0)
    for _ in range(ROUNDS):
        choose_senses(items, dict(zip(names, w)), names)
        # Adam: the signals differ in scale (ln counts up to 13, flags 0/1).
        m = [0.0] * len(w)
        v = [0.0] * len(w)
        for t in range(1, STEPS + 1):
            _, g = loss_and_gradient(items, w, w0)
            for i, gi in enumerate(g):
                if names[i] in frozen:
                    continue
                m[i] = 0.9 * m[i] + 0.1 * gi
                v[i] = 0.999 * v[i] + 0.001 * gi * gi
                mh = m[i] / (1 - 0.9 ** t)
                vh = v[i] / (1 - 0.999 ** t)
                w[i] -= LEARNING_RATE * mh / (math.sqrt(vh) + 1e-8)
                if signs[i] * w[i] < 0:
                    w[i] = 0.0
    scale = sum(w[names.index(n)] for n in FREQUENCY_SIGNALS)
    if scale <= 0:
        raise bl.BuildError("the fit gave frequency no positive weight")
    return {n: round(x / scale, DECIMALS) + 0.0 for n, x in zip(names, w)}


def fit_fitted(items, start: dict[str, float]) -> dict[str, float]:
    """The fit as committed: only the weights in FITTED move."""
    return fit(items, start, frozenset(n for n in start if n not in FITTED))


def first_right(table, expectations, weights) -> int:
    """How many words of the list the library's own order gets right first."""
    scored = bl.score_table({e: table[e] for e, _ in expectations if e in table}, weights)
    right = 0
    for english, expected in expectations:
        order = [w for w in bl.rank(scored.get(english, {})) if encodable(w)]
        right += bool(order) and order[0] in expected
    return right


def cross_validate(table, expectations, start, folds: int = 5) -> tuple[int, int]:
    """Right first on held-out words: each fold fitted on the others.

    Returns (with fitted weights, with the starting weights), summed over
    the folds: what the fit gains on words it has not seen.
    """
    fitted = started = 0
    for k in range(folds):
        train = [e for i, e in enumerate(expectations) if i % folds != k]
        held = [e for i, e in enumerate(expectations) if i % folds == k]
        items, _ = training_items(table, train)
        fitted += first_right(table, held, fit_fitted(items, start))
        started += first_right(table, held, start)
    return fitted, started


def load_table(tarball_dir):
    return bl.candidates(*bl.load_sources(tarball_dir))


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--tarball-dir", help="take the pinned tarballs from here")
    ap.add_argument("--list", default=TRAINING_LIST)
    ap.add_argument("--out", default=bl.WEIGHTS_FILE)
    ap.add_argument("--cross-validate", action="store_true",
                    help="also report right first on held-out fifths of the list")
    args = ap.parse_args(argv)
    with open(args.list, encoding="utf-8") as f:
        expectations = ordered_expectations(f.read())
    table = load_table(args.tarball_dir)
    start = {n: w for n, (w, _) in bl.SIGNALS.items()}
    items, unusable = training_items(table, expectations)
    before = first_right(table, expectations, start)
    weights = fit_fitted(items, start)
    after = first_right(table, expectations, weights)
    with open(EVALUATION_LIST, encoding="utf-8") as f:
        evaluation = read_expectations(f.read())
    overlap = {e for e, _ in evaluation} & {e for e, _ in expectations}
    if overlap:
        raise bl.BuildError(f"training and evaluation lists share {sorted(overlap)[:10]}")
    eval_before = first_right(table, evaluation, start)
    eval_after = first_right(table, evaluation, weights)
    result = {
        "fitted_on": os.path.basename(args.list),
        "training_words": len(expectations),
        "headwords_used": len(items),
        "right_first_before": before,
        "right_first_after": after,
        "weights": weights,
    }
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        json.dump(result, f, indent=1, sort_keys=True, ensure_ascii=False)
        f.write("\n")
    print(f"training words {len(expectations)}, used {len(items)}, "
          f"not usable {unusable}")
    print(f"right first on the training list: {before} before, {after} after")
    print(f"right first on the evaluation list ({len(evaluation)}), which the fit never "
          f"sees: {eval_before} before, {eval_after} after")
    if args.cross_validate:
        fitted, started = cross_validate(table, expectations, start)
        print(f"right first on held-out fifths of the training list: {fitted} fitted, "
              f"{started} with the starting weights")
    for n in sorted(weights):
        print(f"  {n:20s} {start[n]:7.3f} -> {weights[n]:7.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
