#!/usr/bin/env python3
"""Tests for build_library.py.  Run: python3 -m unittest discover tools/libbuilder

Needs no network.  The code page checks need uconv (icu-devtools) and are
skipped without it.
"""

import dataclasses
import hashlib
import io
import json
import math
import os
import shutil
import sys
import tarfile
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import build_library as bl  # noqa: E402

HAVE_UCONV = shutil.which("uconv") is not None


def headwords(raw):
    g = bl.split_gloss(raw)
    return None if g is None else [hw for hw, _ in g.headwords]


def cedict(*lines):
    return [bl.parse_cedict_line(line) for line in lines]


def table_for(lines, counts, tags=None):
    tags = tags or {}
    freq = {w: bl.Freq(n, tags.get(w, "n")) for w, n in counts.items()}
    return bl.invert(cedict(*lines), freq)


class ParseCedictLine(unittest.TestCase):
    def test_lines(self):
        cases = [
            ("# CC-CEDICT", None),
            ("", None),
            ("not a cedict line", None),
            ("書 书 [shu1] /book/letter/\r\n", ("書", "书", "shu1", ["book", "letter"])),
            ("AA制 AA制 [A A zhi4] /to split the bill/",
             ("AA制", "AA制", "A A zhi4", ["to split the bill"])),
        ]
        for line, want in cases:
            with self.subTest(line=line):
                e = bl.parse_cedict_line(line)
                if want is None:
                    self.assertIsNone(e)
                else:
                    self.assertEqual((e.trad, e.simp, e.pinyin, e.glosses), want)


class SplitGloss(unittest.TestCase):
    def test_headwords(self):
        cases = [
            ("to run", ["run"]),
            ("happy; joyful", ["happy", "joyful"]),
            ("love (romantic)", ["love"]),
            ("(of an animal) to paw (the ground)", ["paw"]),
            ("to take care of sb", ["take care of"]),
            ("to hurt sb's feelings", ["hurt one's feelings"]),
            ("to marry sb else", ["marry someone else"]),
            ("to look down on sb else", None),    # five words once spelled out
            ("a kind of", None),
            ("a man", ["man"]),
            ("an apple", ["apple"]),
            ("the sun", ["sun"]),
            ("a little", ["a little"]),
            ("a few", ["a few"]),
            ("he or him", ["he", "him"]),
            ("early or late", ["early or late"]),
            ("to eat or drink", ["eat or drink"]),
            ("café", ["cafe"]),
            ("Pokémon", ["pokemon"]),
            ("hello!", ["hello"]),
            ("a.m.", ["a.m."]),
            ("older brother", ["older brother", "brother"]),
            ("maternal grandfather", ["maternal grandfather", "grandfather"]),
            ("(Tw) software", ["software"]),
            ("fig. to hold up", ["hold up"]),
            # Dropped: cross-references, labels, fragments, non-letters.
            ("variant of 吃[chi1]", None),
            ("old variant of 喫[chi1]", None),
            ("surname Wang", None),
            ("CL:個|个[ge4]", None),
            ("see 大夫[dai4 fu5]", None),
            ("see also 書經|书经[Shu1 jing1]", None),
            ("abbr. for Beijing", None),
            ("also written 吃", None),
            ("used in 葡萄[pu2 tao5]", None),
            ("erhua variant of 玩", None),
            ("Taiwan pr. [ji2]", None),
            ("classifier for books", None),
            ("(literary) happy", None),
            ("happy (literary)", None),
            ("(dialect) father", None),
            ("(Internet slang) thank you", None),
            ("the cat (as in \"let the cat out of the bag\")", None),
            # The reference sits in a note, the sense itself is sound.
            ("to stammer (Taiwan pr. for this sense is [ji2])", ["stammer"]),
            ("apples, pears etc", None),
            ("not only ... but also", None),
            ("1", None),
            ("24 hours", None),
            ("a very long gloss with far too many words", None),
            ("(oops", None),
            ("(particle expressing surprise)", None),
            ("", None),
            ("equal = same", None),
        ]
        for raw, want in cases:
            with self.subTest(raw=raw):
                self.assertEqual(headwords(raw), want)

    def test_labels_and_penalties(self):
        g = bl.split_gloss("(slang) (Tw) to steal")
        self.assertEqual(g.labels, {"slang", "tw"})
        self.assertEqual(g.leading_labels, {"slang", "tw"})
        self.assertTrue(bl.split_gloss("(of a woman) pretty").qualified)
        self.assertFalse(bl.split_gloss("pretty (of a woman)").qualified)
        # Later ';'-parts and bent headwords carry what the ranking holds against them.
        cases = [("glad; happy", "glad", {}), ("glad; happy", "happy", {"split_part": 1.0}),
                 ("to hit", "hit", {}), ("to hit sb", "hit", {"sloppy": 1.0}),
                 ("to fall ill", "ill", {"fall_into": 1.0}),
                 ("to fall ill", "sick", {"fall_into": 1.0, "synonym": 1.0}),
                 ("older brother", "brother", {"kin_modifier": 1.0})]
        for raw, hw, signals in cases:
            with self.subTest(raw=raw, hw=hw):
                self.assertEqual(dict(bl.split_gloss(raw).headwords)[hw], signals)
        self.assertNotIn("down", dict(bl.split_gloss("to fall down").headwords))


class Ranking(unittest.TestCase):
    def test_frequency_orders_first_senses(self):
        t = table_for(["快樂 快乐 [kuai4 le4] /happy/merry/",
                       "忻 忻 [xin1] /happy/"],
                      {"快乐": 2516, "忻": 58})
        self.assertEqual(bl.rank(t["happy"]), ["快樂", "忻"])

    def test_primary_sense_beats_late_sense_of_equal_frequency(self):
        t = table_for(["甲乙 甲乙 [jia3 yi3] /walk/stroll/",
                       "丙丁 丙丁 [bing3 ding1] /run/jump/hop/skip/walk/"],
                      {"甲乙": 1000, "丙丁": 1000})
        self.assertEqual(bl.rank(t["walk"]), ["甲乙", "丙丁"])

    def test_readings_of_one_word_merge(self):
        t = table_for(["看 看 [kan1] /to look after/to watch/",
                       "看 看 [kan4] /to see/to watch/"],
                      {"看": 66641})
        self.assertEqual(list(t["watch"]), ["看"])

    def test_frequency_is_shared_between_readings(self):
        # 乐 counts both "happy" (le4) and "music" (yue4): neither reading
        # may claim the whole count.
        shared = table_for(["樂 乐 [le4] /happy/", "樂 乐 [yue4] /music/"],
                           {"乐": 1000})
        alone = table_for(["樂 乐 [le4] /happy/"], {"乐": 1000})
        self.assertAlmostEqual(alone["happy"]["樂"] - shared["happy"]["樂"], math.log(2), 2)

    def test_entries_without_translations_give_nothing(self):
        t = table_for(["喫 吃 [chi1] /variant of 吃[chi1]/",
                       "王 王 [Wang2] /surname Wang/",
                       "个 个 [ge4] /CL:個|个[ge4]/",
                       "ㄅ ㄅ [b] /bopomofo b/"],
                      {"吃": 36799, "王": 1000})
        self.assertEqual(t, {})

    def test_taiwan_usage(self):
        lines = ["軟件 软件 [ruan3 jian4] /(computer) software/",
                 "軟體 软体 [ruan3 ti3] /software (Tw)/soft-bodied (animal)/",
                 "計算機 计算机 [ji4 suan4 ji1] /computer/(Tw) calculator/",
                 "電腦 电脑 [dian4 nao3] /computer/",
                 "感冒 感冒 [gan3 mao4] /to catch cold/(common) cold/CL:場|场[chang2]/"
                 "(coll.) to be interested in/(Tw) to detest/can't stand/",
                 "憎恨 憎恨 [zeng1 hen4] /to detest/hatred/"]
        t = table_for(lines, {"软件": 4601, "软体": 30, "计算机": 6396,
                              "电脑": 3427, "感冒": 604, "憎恨": 354})
        cases = [("software", "軟體"), ("computer", "電腦"),
                 ("calculator", "計算機"), ("detest", "憎恨")]
        for hw, first in cases:
            with self.subTest(hw=hw):
                self.assertEqual(bl.rank(t[hw])[0], first)

    def test_grammatical_and_counting_characters(self):
        lines = ["他 他 [ta1] /he or him/(used for either sex when the sex is unknown)/other/another/",
                 "其他 其他 [qi2 ta1] /other/(sth or sb) else/the rest/",
                 "怹 怹 [tan1] /he/",
                 "日 日 [ri4] /sun/day/date, day of the month/",
                 "太陽 太阳 [tai4 yang2] /sun/",
                 "日子 日子 [ri4 zi5] /day/"]
        t = table_for(lines, {"他": 401339, "其他": 25753, "怹": 10, "日": 78695,
                              "太阳": 5044, "日子": 5113},
                      tags={"他": "r", "其他": "r", "日": "m"})
        cases = [("he", "他"), ("other", "其他"), ("sun", "太陽"),
                 ("day", "日")]      # counting senses keep the whole frequency
        for hw, first in cases:
            with self.subTest(hw=hw):
                self.assertEqual(bl.rank(t[hw])[0], first)

    def test_rank_breaks_ties_by_word(self):
        self.assertEqual(bl.rank({"乙": 1.0, "甲": 1.0, "丙": 2.0}), ["丙", "乙", "甲"])


class RarityRules(unittest.TestCase):
    def test_rare_words_go_last(self):
        # (CEDICT lines, counts, headword, expected order).  Each rare word's
        # sense is listed first and matches exactly; the plain word is later
        # in its entry or rarer in the frequency list, and still goes first.
        cases = [
            # A lone character the frequency list barely knows (痡: 0, 虺: 38).
            (["痡 痡 [pu1] /sick/disabled/", "虺 虺 [hui1] /sick/",
              "生病 生病 [sheng1 bing4] /to fall ill/"],
             {"虺": 38, "生病": 469}, "sick", ["生病", "虺", "痡"]),
            # A word the frequency list does not know, while another is known.
            (["閨閫 闺阃 [gui1 kun3] /women's quarters/",
              "宿舍 宿舍 [su4 she4] /dormitory/quarters/"],
             {"宿舍": 30}, "quarters", ["宿舍", "閨閫"]),
            # A transliteration rarer than a native word.
            (["開麥拉 开麦拉 [kai1 mai4 la1] /(Tw) (loanword) camera/",
              "相機 相机 [xiang4 ji1] /photo camera/camera/"],
             {"开麦拉": 3000, "相机": 4180}, "camera", ["相機", "開麥拉"]),
            # ... but the most frequent word stays first, loanword or not.
            (["巧克力 巧克力 [qiao3 ke4 li4] /chocolate (loanword)/",
              "朱古力 朱古力 [zhu1 gu3 li4] /chocolate/"],
             {"巧克力": 2000, "朱古力": 50}, "chocolate", ["巧克力", "朱古力"]),
        ]
        for lines, counts, hw, order in cases:
            with self.subTest(hw=hw):
                self.assertEqual(bl.rank(table_for(lines, counts)[hw]), order)

    def test_common_word_survives_the_cut(self):
        # 病 gives "ill" only as its third sense, far below the rare 瘏; being
        # very common it keeps its place, where a rarer word would be cut.
        lines = ["病 病 [bing4] /illness/disease/to fall ill/defect/",
                 "病倒 病倒 [bing4 dao3] /to fall ill/",
                 "抱病 抱病 [bao4 bing4] /to be ill/"]
        t = table_for(lines, {"病": 9053, "病倒": 400000, "抱病": 1})
        files = bl.build_lines(t, {chr(i) for i in range(0x80)} | set("病倒抱"))
        line = dict(files["i"])["ill"].split(bl.SEPARATOR)
        self.assertEqual(line, ["病倒", "病"])

    def test_level2_character_never_opens_a_line(self):
        agreed = {chr(i) for i in range(0x80)} | set("痡癠生病")
        table = {"sick": {"癠": 9.0, "痡": 8.0, "生病": 1.0},   # 生病 far below: cut
                 "ailing": {"癠": 9.0, "痡": 8.0}}
        self.assertTrue(bl.is_level2("痡") and bl.is_level2("癠") and not bl.is_level2("病"))
        files = bl.build_lines(table, agreed)
        self.assertEqual(files["a"], [])
        self.assertEqual(files["s"], [])


class BuildLines(unittest.TestCase):
    AGREED = {chr(i) for i in range(0x80)} | set("大小書冊甲乙丙丁戊己庚辛壬癸子")

    def test_selection_and_order(self):
        table = {
            "big": {"大": 9.0, "小": 1.0},            # 小 is below the cutoff
            "book": {"書": 5.0, "冊": 4.0, "鎔": 6.0},  # 鎔 not in the agreed set
            "a-b": {"甲": 1.0},
            "a b": {"乙": 1.0},
            "ab": {"丙": 1.0},
            "a": {"丁": 1.0},     # by whole line, "a b=" would sort first
            "many": {c: 10 + i / 10 for i, c in enumerate("甲乙丙丁戊己庚辛壬癸")},
            "only unknown": {"鎔": 3.0},
        }
        files = bl.build_lines(table, self.AGREED)
        self.assertEqual(files["b"], [("big", "大"), ("book", "書\uff1b冊")])
        self.assertEqual([hw for hw, _ in files["a"]], ["a", "a b", "a-b", "ab"])
        many = files["m"][0][1].split(bl.SEPARATOR)
        self.assertEqual(len(many), bl.MAX_WORDS_PER_HEADWORD)
        self.assertEqual(many[0], "癸")
        self.assertEqual(files["o"], [])
        self.assertEqual(sorted(files), list(bl.LETTERS))

    def test_render_uses_crlf_on_every_line(self):
        self.assertEqual(bl.render([("a", "甲"), ("b", "乙")]), "a=甲\r\nb=乙\r\n")


class CheckFileText(unittest.TestCase):
    def test_rejects(self):
        cases = [
            ("a=甲", "CR LF"),
            ("a=甲\nab=乙\r\n", "stray"),
            ("b=甲\r\n", "headword"),
            ("A=甲\r\n", "headword"),
            ("ab=甲\r\naa=乙\r\n", "order"),
            ("aa=甲\r\naa=乙\r\n", "order"),
            ("a=甲=乙\r\n", "'='"),
            ("a=\r\n", "definition"),
            ("a=甲\uff1b甲\r\n", "repeated"),
            ("a=?\r\n", "definition"),
            ("a=甲\ufffd\r\n", "replacement"),
            ("a=" + "\uff1b".join("甲乙丙丁戊己庚辛壬") + "\r\n", "too many"),
        ]
        for text, message in cases:
            with self.subTest(text=text):
                with self.assertRaisesRegex(bl.BuildError, message):
                    bl.check_file_text("a", text)

    def test_accepts_and_counts(self):
        self.assertEqual(bl.check_file_text("a", "a b=甲\r\nab=乙\uff1b丙\r\n"), 2)
        self.assertEqual(bl.check_file_text("a", ""), 0)


@unittest.skipUnless(HAVE_UCONV, "uconv (icu-devtools) not installed")
class CodePage950(unittest.TestCase):
    def test_agreement(self):
        agreed, unencodable, differing = bl.agreed_characters("快書·€üa々¢")
        self.assertTrue({"快", "書", "·", "€", "a"} <= agreed)
        self.assertEqual(unencodable, ["ü"])
        # Python writes these, but ICU's windows-950 reads something else back.
        self.assertEqual(sorted(differing), sorted(["々", "¢"]))

    def test_verify_file(self):
        text = "apple=蘋果\r\navocado=酪梨\uff1b牛油果\r\n"
        self.assertEqual(bl.verify_file("a", text.encode("cp950")), 2)
        with self.assertRaisesRegex(bl.BuildError, "reads back"):
            bl.verify_file("a", text.encode("cp950"), expected=text + "x")
        cases = [
            (b"apple=\xa4\r\n", "uconv"),             # lead byte cut short
            (b"apple=\xa3\xe2\r\n", "uconv"),        # unassigned
            (b"apple=\x81\x40\r\n", "definition"),   # user-defined area
            (b"apple=\xa7\xd6\x80\r\n", "definition"),
            ("apple=蘋果\n".encode("cp950"), "CR LF"),
        ]
        for data, message in cases:
            with self.subTest(data=data):
                with self.assertRaisesRegex(bl.BuildError, message):
                    bl.verify_file("a", data)


class Fetch(unittest.TestCase):
    def make_source(self, member_data, member="package/data.txt"):
        buf = io.BytesIO()
        with tarfile.open(fileobj=buf, mode="w:gz") as tar:
            info = tarfile.TarInfo(member)
            info.size = len(member_data)
            tar.addfile(info, io.BytesIO(member_data))
        blob = buf.getvalue()
        src = bl.Source("x@1", "x-1.tgz", hashlib.sha256(blob).hexdigest(),
                        "package/data.txt", hashlib.sha256(b"good").hexdigest(), "")
        return src, blob

    def test_checksums(self):
        with tempfile.TemporaryDirectory() as d:
            src, blob = self.make_source(b"good")
            with open(os.path.join(d, src.tarball), "wb") as f:
                f.write(blob)
            self.assertEqual(bl.extract_member(src, bl.fetch_tarball(src, d, d)), b"good")

            cases = [
                ("tarball", lambda: bl.fetch_tarball(
                    dataclasses.replace(src, tarball_sha256="0" * 64), d, d)),
                ("member", lambda: bl.extract_member(src, self.make_source(b"evil")[1])),
                ("missing member", lambda: bl.extract_member(
                    src, self.make_source(b"good", member="package/other.txt")[1])),
                ("missing tarball", lambda: bl.fetch_tarball(
                    dataclasses.replace(src, tarball="absent.tgz"), d, d)),
            ]
            for name, call in cases:
                with self.subTest(name):
                    with self.assertRaises(bl.BuildError):
                        call()


class ParseCedictJs(unittest.TestCase):
    def test_entries(self):
        text = bl.JS_EXPORT + json.dumps({"all": [
            ["書", "书", "shu1", ["book", "letter"], [], []],
            ["喫", "吃", "chi1", "to eat", [3], []],
            ["上同調", "上同调", "shang4 tong2 diao4", [], [], []],
        ], "variantLookup": [], "classifierLookup": []}, ensure_ascii=False)
        got = [(e.trad, e.simp, e.pinyin, e.glosses, e.variant_of)
               for e in bl.parse_cedict_js(text)]
        self.assertEqual(got, [("書", "书", "shu1", ["book", "letter"], False),
                               ("喫", "吃", "chi1", ["to eat"], True),
                               ("上同調", "上同调", "shang4 tong2 diao4", [], False)])

    def test_rejects_other_data(self):
        for text in ('{"all": []}', bl.JS_EXPORT + "{not json",
                     bl.JS_EXPORT + '{"entries": []}',
                     bl.JS_EXPORT + '{"all": [["書", "书"]]}'):
            with self.subTest(text=text):
                with self.assertRaises(bl.BuildError):
                    bl.parse_cedict_js(text)


class CommonWordRanking(unittest.TestCase):
    def test_derived_headwords(self):
        cases = [
            ("to be afraid", ["be afraid", "afraid"]),
            ("to be in", ["be in"]),                   # no content word to keep
            ("to see; to look at", ["see", "look at", "look"]),
            ("to look for", ["look for"]),             # "for" changes the verb
            ("to let sb do sth", ["let"]),
            ("to make sb (feel sad etc)", ["make"]),
            ("to swim (used mostly in 會水)", None),   # not a word on its own
            ("cow's milk", ["cow's milk", "milk"]),    # a kind of milk
            ("Adam's apple", ["adam's apple"]),        # a name's, not a kind of apple
            ("one's own", ["one's own"]),              # a placeholder possessor
            ("it's nothing", ["it's nothing"]),        # a contraction, not a possessive
        ]
        for raw, want in cases:
            with self.subTest(raw=raw):
                self.assertEqual(headwords(raw), want)

    def test_narrowing_notes(self):
        cases = [("snake (as one of the 12 zodiac animals)", True),
                 ("(of a woman) to marry", True),
                 ("beer (loanword)", False),
                 ("snake", False)]
        for raw, qualified in cases:
            with self.subTest(raw=raw):
                self.assertEqual(bl.split_gloss(raw).qualified, qualified)

    def test_everyday_word_first(self):
        lines = ["給 给 [gei3] /to/for/for the benefit of/to give/to allow/"
                 "(grammatical equivalent of 被)/(sentence intensifier)/",
                 "與 与 [yu3] /and/to give/together with/",
                 "交給 交给 [jiao1 gei3] /to give; to deliver; to hand over/",
                 "給予 给予 [ji3 yu3] /to give/",
                 "同 同 [tong2] /like/same/similar/together/alike/with/",
                 "喜歡 喜欢 [xi3 huan5] /to like; to be fond of/",
                 "於 于 [yu2] /in; at; to; from; by/",
                 "于 于 [yu2] /to go/to take/variant of 於|于[yu2]/",
                 "取 取 [qu3] /to take/to get/to choose/to fetch/"]
        counts = {"给": 69480, "与": 160984, "交给": 3204, "给予": 4000, "同": 37578,
                  "喜欢": 9783, "于": 106176, "取": 10965}
        tags = {"给": "p", "与": "p", "同": "p", "于": "p", "取": "v"}
        t = table_for(lines, counts, tags)
        cases = [("give", "給", "與"), ("like", "喜歡", "同"), ("take", "取", "于")]
        for hw, first, later in cases:
            with self.subTest(hw=hw):
                order = bl.rank(t[hw])
                self.assertEqual(order[0], first)
                self.assertLess(order.index(first), order.index(later))

    def test_phrase_prefers_a_word_to_a_lone_character(self):
        lines = ["捨 舍 [she3] /to give up; to abandon/to give alms/",
                 "放棄 放弃 [fang4 qi4] /to renounce; to abandon; to give up/"]
        # 捨 is the more frequent, and "give up" opens its entry, not 放棄's.
        t = table_for(lines, {"舍": 1500, "放弃": 3181}, {"舍": "v", "放弃": "v"})
        self.assertEqual(bl.rank(t["give up"]), ["放棄", "捨"])

    def test_taiwan_term_entry(self):
        lines = ["網絡 网络 [wang3 luo4] /network (computing)/",
                 "網路 网路 [wang3 lu4] /network (computer, telecom)/"
                 "Taiwanese term for 網絡|网络[wang3 luo4]/"]
        t = table_for(lines, {"网络": 2000, "网路": 73})
        self.assertEqual(bl.rank(t["network"])[0], "網路")


    def test_signals_against_a_more_frequent_rival(self):
        # Each row: CEDICT lines, jieba counts and tags, headword, the word
        # that must come first and the other one it must beat.
        cases = [
            ("mainland and Taiwan words for one thing",
             ["西紅柿 西红柿 [xi1 hong2 shi4] /tomato/",
              "番茄 番茄 [fan1 qie2] /tomato/"],
             {"西红柿": 188, "番茄": 117}, {}, "tomato", "番茄", "西紅柿"),
            ("word counted mostly as a person's name",
             ["白雪 白雪 [bai2 xue3] /snow/",
              "雪 雪 [xue3] /snow/to wipe away/"],
             {"白雪": 1572, "雪": 1400}, {"白雪": "nr"}, "snow", "雪", "白雪"),
            ("copula read as 'right'",
             ["是 是 [shi4] /to be/correct; right; true/",
              "對 对 [dui4] /right; correct/to face/pair/"],
             {"是": 796991, "对": 184674}, {"是": "v", "对": "p"}, "right", "對", "是"),
            ("modal read as 'to meet'",
             ["會 会 [hui4] /can/to meet; to get together/meeting/",
              "遇到 遇到 [yu4 dao4] /to meet; to run into/"],
             {"会": 92091, "遇到": 5143}, {"会": "v"}, "meet", "遇到", "會"),
            ("zodiac name of an animal",
             ["小龍 小龙 [xiao3 long2] /snake (as one of the 12 Chinese zodiac animals)/",
              "蛇 蛇 [she2] /snake/serpent/",
              "毒蛇 毒蛇 [du2 she2] /viper/"],      # 蛇 is an everyday character
             {"小龙": 4342, "蛇": 2430, "毒蛇": 500}, {}, "snake", "蛇", "小龍"),
            ("sense narrowed to listed examples",
             ["重點 重点 [zhong4 dian3] /important point/key (project etc)/",
              "鑰匙 钥匙 [yao4 shi5] /key/"],
             {"重点": 6000, "钥匙": 721}, {}, "key", "鑰匙", "重點"),
            ("jieba's catch-all tag zg is no bound-morpheme mark",
             ["鳥 鸟 [niao3] /bird/",
              "鳥兒 鸟儿 [niao3 r5] /bird/"],
             {"鸟": 3048, "鸟儿": 1500}, {"鸟": "zg"}, "bird", "鳥", "鳥兒"),
            ("the 子 noun before its lone character when the two are close",
             ["房 房 [fang2] /house/room/", "房子 房子 [fang2 zi5] /house/building/"],
             {"房": 6407, "房子": 3194}, {}, "house", "房子", "房"),
            ("... but not when the character is far more common",
             ["書 书 [shu1] /book/letter/", "書子 书子 [shu1 zi5] /book/letter/"],
             {"书": 50000, "书子": 100}, {}, "book", "書", "書子"),
            ("a literary sense late in the entry leaves the reading everyday",
             ["也 也 [ye3] /also; too/(literary) particle expressing judgment/",
              "又 又 [you4] /(once) again/also/both... and.../and yet/"],
             {"也": 307851, "又": 280000}, {"也": "d", "又": "d"}, "also", "也", "又"),
            ("the possessor's thing is a kind of the thing",
             ["牛奶 牛奶 [niu2 nai3] /cow's milk/",
              "乳汁 乳汁 [ru3 zhi1] /milk/(botany) latex/"],
             {"牛奶": 801, "乳汁": 207}, {}, "milk", "牛奶", "乳汁"),
            ("a reading whose main sense is literary stays bookish",
             ["忻 忻 [xin1] /(literary) happy/happy/",
              "快樂 快乐 [kuai4 le4] /happy; cheerful/"],
             {"忻": 30000, "快乐": 4000}, {}, "happy", "快樂", "忻"),
        ]
        for name, lines, counts, tags, hw, first, rival in cases:
            with self.subTest(name):
                order = bl.rank(table_for(lines, counts, tags)[hw])
                self.assertEqual(order[0], first, order)
                self.assertIn(rival, order)

    def test_modal_keeps_its_own_sense(self):
        lines = ["會 会 [hui4] /can/to meet/", "能夠 能够 [neng2 gou4] /to be able to; can/"]
        t = table_for(lines, {"会": 92091, "能够": 9000}, {"会": "v"})
        self.assertEqual(bl.rank(t["can"])[0], "會")

    def test_clipped_english_forms(self):
        cases = [("telephone", ["telephone", "phone"]),
                 ("bicycle", ["bicycle", "bike"]),
                 ("phone call", ["phone call"])]
        for raw, want in cases:
            with self.subTest(raw=raw):
                self.assertEqual(headwords(raw), want)


class Readme(unittest.TestCase):
    def test_attribution_and_pins(self):
        text = bl.readme_text(124263)
        text.encode("ascii")
        for needle in ("CC-CEDICT", "MDBG", "CC BY-SA 4.0",
                       "https://www.mdbg.net/chinese/dictionary?page=cedict",
                       "MIT", bl.CEDICT.tarball_sha256, bl.FREQ.member_sha256,
                       bl.CEDICT.npm_name, bl.FREQ.npm_name, "124263", bl.CEDICT_DATE):
            with self.subTest(needle=needle):
                self.assertIn(needle, text)

    def test_package_copyright_names_the_pinned_sources(self):
        # The Debian copyright file credits the same release the library is built from.
        repo = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
        with open(os.path.join(repo, "packaging", "copyright"), encoding="utf-8") as f:
            text = " ".join(f.read().split())
        for src in (bl.CEDICT, bl.FREQ):
            name, version = src.npm_name.rsplit("@", 1)
            with self.subTest(package=name):
                self.assertIn(f"{name} {version}", text)
        self.assertIn(f"release {bl.CEDICT_DATE}", text)
        self.assertIn(bl.TAIWAN_FREQ_PACKAGE, text)


if __name__ == "__main__":
    unittest.main()
