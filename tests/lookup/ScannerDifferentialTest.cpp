// FastScanner skips every line its byte search rules out, so a wrong anchor or a slip at a
// read boundary loses results silently. These tests run it and the plain ReferenceScanner on
// the same generated libraries and typed texts and demand identical reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "GeneratedLibraries.h"
#include "ScanReport.h"
#include "codepage/CodePage950.h"
#include "lookup/Big5Codec.h"
#include "lookup/LetterCase.h"
#include "lookup/Scanner.h"
#include "lookup/SimdLevel.h"
#include "lookup/TextMatch.h"

namespace qb {
namespace {

using test::codePage;
using test::CodePage;
using test::describe;
using test::hex;
using test::kOutsideCodePage;
using test::kReplacement;
using test::LibraryMaker;
using test::Report;
using test::run;

TEST(ScannerDifferential, CodePageTableHasWhatTheGeneratorsDrawFrom) {
    const CodePage& page = codePage();
    EXPECT_GT(page.hanzi.size(), 13000u);
    EXPECT_GE(page.twoCodes.size(), 10u);
    EXPECT_FALSE(page.asciiLetterTrail.empty());
    EXPECT_FALSE(page.unassigned.empty());
    EXPECT_EQ(page.fullWidthLetters.size(), 52u);
    EXPECT_GE(page.otherCaseLetters.size(), 48u);  // at least the Greek alphabet, both cases
    EXPECT_EQ(page.codesOf.count(kOutsideCodePage), 0u);
    // 十 is the everyday character with two codes, one of them with the trail byte 'Q'.
    ASSERT_EQ(page.twoCodes.count(u'十'), 1u);
    EXPECT_EQ(page.twoCodes.at(u'十'), (std::vector<std::string>{"\xA2\xCC", "\xA4\x51"}));
}

// The anchor is only as good as the codec's reverse table, generated with the decoding one:
// this holds it to what decoding every code through ICU says.
TEST(ScannerDifferential, CodecAgreesWithTheDecoderOnEveryCode) {
    const CodePage& page = codePage();
    std::map<char16_t, std::vector<char16_t>> byLowerCase;
    for (const auto& [ch, codes] : page.codesOf) byLowerCase[lowerCase(ch)].push_back(ch);

    Big5Codec codec;
    // ASCII first, including the characters no code reads as; then every character.
    for (char16_t ch = 0; ch < 0x80; ++ch) {
        const auto it = page.codesOf.find(ch);
        ASSERT_EQ(codec.encodingsOf(ch),
                  it == page.codesOf.end() ? std::vector<std::string>{} : it->second)
            << hex(std::u16string(1, ch));
    }
    for (const auto& [ch, codes] : page.codesOf)
        ASSERT_EQ(codec.encodingsOf(ch), codes) << hex(std::u16string(1, ch));
    for (const auto& [lowered, chars] : byLowerCase) {
        std::vector<char16_t> got = codec.charactersLoweringTo(lowered);
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got, chars) << hex(std::u16string(1, lowered));
    }
    for (char16_t ch : {kOutsideCodePage, kReplacement, char16_t(0xD800)})
        EXPECT_TRUE(codec.encodingsOf(ch).empty()) << hex(std::u16string(1, ch));
    EXPECT_TRUE(codec.charactersLoweringTo(kOutsideCodePage).empty());
}

constexpr size_t kPieceSizes[] = {1, 7, 4096, SIZE_MAX};
constexpr MatchMode kModes[] = {MatchMode::Exact, MatchMode::AllEntries};

// Compares the two scanners on one library and text in both modes and every piece size.
// Returns false after the first difference, which it reports in full.
bool sameReports(Big5Codec& codec, FastScanner& fast, const std::string& library,
                 const std::u16string& text, const std::string& where,
                 std::span<const size_t> pieceSizes = kPieceSizes) {
    ReferenceScanner reference(codec);
    const TypedText typed(text);
    for (MatchMode mode : kModes) {
        const Report expected = run(reference, library, SIZE_MAX, typed, mode);
        for (size_t piece : pieceSizes) {
            const Report got = run(fast, library, piece, typed, mode);
            if (got == expected) continue;
            ADD_FAILURE() << where
                          << "\n  mode: " << (mode == MatchMode::Exact ? "exact" : "all entries")
                          << "\n  piece size: " << piece << "\n  typed: " << hex(text)
                          << "\n  library: " << hex(library)
                          << "\n  reference: " << describe(expected) << "  fast: " << describe(got);
            return false;
        }
    }
    return true;
}

TEST(ScannerDifferential, FastScannerReportsWhatTheReferenceReportsOnGeneratedLibraries) {
    Big5Codec codec;
    FastScanner fast(codec);  // one scanner throughout, as the window keeps one
    // Reads of a few dozen bytes, whatever the reader hands out: lines span many of them.
    FastScanner smallReads(codec, 37);
    constexpr size_t kWhole[] = {SIZE_MAX};
    // The byte searches are built for each set of instructions; the test command runs these
    // tests once for each that the machine runs (QB_SIMD).
    int compared = 0, withMatches = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        LibraryMaker maker(seed);
        const std::string library = maker.library();
        for (const std::u16string& text : maker.typedTexts(codec, library, 8)) {
            const std::string where = "seed " + std::to_string(seed);
            ASSERT_TRUE(sameReports(codec, fast, library, text, where));
            ASSERT_TRUE(
                sameReports(codec, smallReads, library, text, where + ", reads of 37", kWhole));
            ++compared;
            ReferenceScanner reference(codec);
            withMatches +=
                !run(reference, library, SIZE_MAX, TypedText(text), MatchMode::AllEntries)
                     .lines.empty();
        }
    }
    // The generator is only worth something if many texts find lines.
    EXPECT_EQ(compared, 3200);
    EXPECT_GT(withMatches, compared / 3);
}

TEST(ScannerDifferential, LinesLongerThanOneReadAreScannedWhole) {
    Big5Codec codec;
    FastScanner fast(codec);
    const CodePage& page = codePage();
    // Many times the scanner's reads (128 KiB), with the interesting parts at the far end.
    std::string longLine;
    LibraryMaker body(7919);
    while (longLine.size() < 1'100'000u) longLine += body.token();
    // Few fields, or a text found in each would report megabytes hundreds of times.
    std::replace(longLine.begin(), longLine.end(), '=', '+');
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        LibraryMaker maker(seed * 7919);
        const std::string tail = "tail" + page.hanzi[seed] + "=" + page.twoCodes.at(u'十')[1];
        const std::string ends[] = {"\r\n", "\r", "\n"};
        const std::string& end = ends[seed - 1];
        const std::string library = maker.line() + end + "zz=" + longLine + tail + end +
                                    maker.line() + end + "tail=last" + end;
        std::vector<std::u16string> texts = {u"TAIL", u"last", u"十", u"not there"};
        texts.push_back(codec.decode("tail" + page.hanzi[seed]));
        texts.push_back(codec.decode(page.hanzi[seed]));
        // Short reads (a line this long must not be walked again after each one), reads of
        // a page, and everything at once. One-byte reads are left to the short libraries:
        // here they would cost millions of calls.
        constexpr size_t kPieces[] = {7, 4096, SIZE_MAX};
        for (const auto& text : texts)
            ASSERT_TRUE(sameReports(codec, fast, library, text,
                                    "long line, seed " + std::to_string(seed), kPieces));
    }
}

TEST(ScannerDifferential, LineEndsSplitAcrossReadsCountOnce) {
    // Piece sizes that cut between CR and LF, and inside a Big5 pair, at every offset.
    Big5Codec codec;
    FastScanner fast(codec);
    const std::string library = "ab=\xA4\x51\r\n\r\nAB=x\r\r\n\n\xA2\xCC=ab\r\n\xA4\r\nab";
    ReferenceScanner reference(codec);
    for (const char16_t* text : {u"ab", u"十", u"x", u"\uFFFD"}) {
        const TypedText typed(text);
        for (MatchMode mode : kModes) {
            const Report expected = run(reference, library, SIZE_MAX, typed, mode);
            for (size_t piece = 1; piece <= library.size(); ++piece)
                ASSERT_EQ(run(fast, library, piece, typed, mode), expected)
                    << "piece size " << piece << ", typed " << hex(text);
        }
    }
}

// ---------------------------------------------------------------------------------------
// The anchor itself

std::string foldAsciiLetters(std::string bytes) {
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return bytes;
}

struct AnchorCase {
    std::u16string typed;
    FastScanner::Anchor::Kind kind;
    size_t forms;  // how many byte strings the search looks for at once
    // Big5 forms of fields that match the text: each must hold one of the anchor's forms.
    std::vector<std::string> matchingFields;
};

TEST(ScannerDifferential, AnchorIsFoundInEveryWayAMatchingFieldCanBeWritten) {
    using Kind = FastScanner::Anchor::Kind;
    const auto& ten = codePage().twoCodes.at(u'十');           // A2CC and A451
    const std::string zi = "\xA6\x72";                         // 字
    const std::string bad = codePage().unassigned.front();     // reads as U+FFFD
    const std::string fullA = "\xA2\xCF", fulla = "\xA2\xE9";  // Ａ and ａ
    const std::string ALPHA = "\xA3\x44", alpha = "\xA3\x5C";  // Α and α
    const AnchorCase cases[] = {
        {u"Apple", Kind::Bytes, 1, {"apple", "APPLE", "aPpLe"}},
        {u"十字", Kind::Bytes, 2, {ten[0] + zi, ten[1] + zi}},
        {u"字十", Kind::Bytes, 2, {zi + ten[0], zi + ten[1]}},
        {u"Q十", Kind::Bytes, 2, {"q" + ten[0], "Q" + ten[1]}},
        {u"十十", Kind::Bytes, 4, {ten[0] + ten[1], ten[1] + ten[0], ten[1] + ten[1]}},
        {u"ab\uFFFDcd", Kind::Bytes, 1, {"ab" + bad + "cd", "AB" + bad + "CD"}},
        {u" ", Kind::Bytes, 1, {" "}},
        {u"42", Kind::Bytes, 1, {"42"}},
        {u"十", Kind::Bytes, 2, {ten[0], ten[1]}},
        {u"Ａ", Kind::Bytes, 2, {fullA, fulla}},
        {u"ａｐｐ", Kind::Bytes, 8, {fulla + "\xA2\xF8\xA2\xF8", fullA + "\xA2\xDE\xA2\xF8"}},
        {u"α", Kind::Bytes, 2, {alpha, ALPHA}},
        {u"\uFFFD", Kind::Unreadable, 0, {bad, "\xA4"}},
        {u"\uFFFD\uFFFD", Kind::Unreadable, 0, {bad + bad}},
        {u"a\r", Kind::NoMatchPossible, 0, {}},
        {u"\n", Kind::NoMatchPossible, 0, {}},
        {std::u16string(u"ab") + kOutsideCodePage, Kind::NoMatchPossible, 0, {}},
    };
    Big5Codec codec;
    FastScanner fast(codec);
    for (const AnchorCase& c : cases) {
        SCOPED_TRACE(hex(c.typed));
        const TypedText typed(c.typed);
        const FastScanner::Anchor anchor = fast.anchorFor(typed);
        EXPECT_EQ(anchor.kind, c.kind);
        EXPECT_EQ(anchor.forms.size(), c.forms);
        for (const std::string& field : c.matchingFields) {
            // The premise: the field really matches the text, ignoring case.
            ASSERT_TRUE(fieldMatches(codec.decode(field), typed, MatchMode::Exact)) << hex(field);
            if (anchor.kind == Kind::Unreadable) {
                EXPECT_NE(codec.findUnreadable(field, 0), std::string::npos) << hex(field);
                continue;
            }
            const std::string searched = anchor.folded ? foldAsciiLetters(field) : field;
            EXPECT_TRUE(std::any_of(
                anchor.forms.begin(), anchor.forms.end(),
                [&](const std::string& form) { return searched.find(form) != std::string::npos; }))
                << "no anchor form in " << hex(field);
        }
        // And the scanner finds every one of those fields as a line, in both modes.
        std::string library;
        for (const std::string& field : c.matchingFields) library += "x=" + field + "\r\n";
        for (MatchMode mode : kModes) {
            for (const std::string& field : c.matchingFields) {
                const Report one = run(fast, "x=" + field + "\r\n", SIZE_MAX, typed, mode);
                EXPECT_EQ(one.lines.size(), 1u) << hex(field);
            }
            ReferenceScanner reference(codec);
            EXPECT_EQ(run(fast, library, SIZE_MAX, typed, mode),
                      run(reference, library, SIZE_MAX, typed, mode));
        }
    }
}

// The table decoder and the search for unreadable sequences answer from the code table; ICU
// is what they must agree with, on every code and on what surrounds a code it cannot read.
TEST(ScannerDifferential, TableDecodingAgreesWithIcu) {
    Big5Codec codec;
    CodePage950 codePage950;
    const CodePage& page = codePage();
    std::vector<std::string> texts = {
        "", "plain", "\x80", "\xFF", "\xA4", "a\xA4", "\xA4\r\n",
        // ASCII runs ending in each part of a block of 16 or 8
        "abcdefgh", "abcdefghij\xA4\x40", "abcdefghijklmnopqrs\xA4\x40",
        "abcdefghijklmnopqrstuvw\xA4\x40xy", "abcdefghijklmnopqrstuvwx"};
    // The table is generated from the converter: every single byte, and every pair a high
    // byte starts, readable or not, between ASCII and after a character of two bytes.
    auto between = [](std::string before, std::initializer_list<char> bytes) {
        before.append(bytes);
        return before.append(1, '>');
    };
    for (int b = 0; b <= 0xFF; ++b) texts.push_back(between("<", {char(b)}));
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0; trail <= 0xFF; ++trail)
            texts.push_back(
                between(trail % 2 ? "<" : page.hanzi.front(), {char(lead), char(trail)}));
    for (size_t i = 0; i < page.unassigned.size(); i += 7)
        texts.push_back("x" + page.unassigned[i] + "y" + page.hanzi[i % page.hanzi.size()]);
    // Several sequences it cannot read in one text, with and without bytes below 0x40 (where
    // the converter is asked about a stretch only) between them, before them and after them.
    const std::string bad = page.unassigned.front(), han = page.hanzi.front();
    for (const std::string& gap :
         {std::string(""), std::string("="), han, "ab" + han, han + " " + han})
        for (const std::string& around : {std::string(""), std::string("1"), han + "x", "=" + han})
            for (const std::string& lone : {std::string("\xA4"), bad})
                texts.push_back(around + bad + gap + lone + gap + bad + around + lone);
    std::u16string got = u"left over";
    for (const std::string& text : texts) {
        const std::u16string expected = codec.decode(text);
        codePage950.decodeInto(text, got);
        ASSERT_EQ(got, expected) << hex(text);
        const bool unreadable = expected.find(kReplacement) != std::u16string::npos;
        ASSERT_EQ(codec.findUnreadable(text, 0) != std::string::npos, unreadable) << hex(text);
    }
}

// The search for unreadable sequences works out where pairs start a block of 64 bytes at a
// time: every sequence, readable or not, is put at every place of a text a few blocks long,
// so that it lands at each offset in a block, across block edges and at the very end.
TEST(ScannerDifferential, UnreadableSequencesAreFoundWhereverTheyFall) {
    const CodePage& page = codePage();
    const auto& ten = page.twoCodes.at(u'十');
    // Readable sequences of every shape: ASCII, Han pairs, pairs with an ASCII trail byte,
    // and the high bytes that read alone.
    std::vector<std::string> readable = {"a", "=", " ", ten[0], ten[1], "\x80", "\xFF"};
    for (size_t i = 0; i < 6; ++i) {
        readable.push_back(page.hanzi[i * 997 % page.hanzi.size()]);
        readable.push_back(page.asciiLetterTrail[i * 31 % page.asciiLetterTrail.size()]);
    }
    // Two bodies: 200 bytes or so with long runs of high bytes, as definitions have, and 300
    // of Han characters whose trail bytes are high too, one run over several blocks, so that
    // blocks of nothing but high bytes start with a lead and with a trail.
    std::vector<std::vector<std::string>> bodies(2);
    for (size_t i = 0, bytes = 0; bytes < 200; ++i) {
        bodies[0].push_back(readable[(i * 7 + i / 5) % readable.size()]);
        bytes += bodies[0].back().size();
    }
    for (size_t i = 0; bodies[1].size() < 150; i += 389) {
        const std::string& han = page.hanzi[i % page.hanzi.size()];
        if (static_cast<unsigned char>(han[1]) >= 0x80) bodies[1].push_back(han);
    }
    // The edges of the bytes that can follow a lead, the one lead without a full row (A3)
    // where a trail stands too, and a lead below 0xA1.
    const std::vector<std::string> unreadable = {page.unassigned.front(),
                                                 page.unassigned.back(),
                                                 "\xA4=",
                                                 "\xA4\r",
                                                 "\xA4 ",
                                                 "\xA4\x80",
                                                 "\xA4\x3F",
                                                 "\xA4\x7F",
                                                 "\xA4\xA0",
                                                 "\xA4\xFF",
                                                 "\xA3\xFE",
                                                 "\xA3\xC0",
                                                 std::string(1, '\xA4')};  // last: at the end
    const std::vector<std::string> inserted = {"\xA4\x41", "\xA4\xA1", "\x80",     "\xFF",
                                               "\xA4\x40", "\xA4\x7E", "\xA4\xFE", "\xA3\x40",
                                               "\xA4\xA3", "\xA3\xA3", "\x81\x40", "\xA0\xFE"};
    // Both ways of sorting out a block, at the level the process searches with; the real
    // table must have the shape the quicker way needs, and 64-byte registers must take it.
    const SimdLevel level = processSimdLevel();
    ASSERT_TRUE(Big5Blocks(true, level).fewDoubtful);
    ASSERT_EQ(Big5Blocks(true, level).wide, level == SimdLevel::Avx512);
    for (const auto path : {Big5Blocks::Path::Best, Big5Blocks::Path::General}) {
        SCOPED_TRACE(path == Big5Blocks::Path::Best ? "best path" : "general path");
        Big5Codec codec(level, path);
        for (const auto& body : bodies) {
            for (size_t shift = 0; shift <= Big5Blocks::kBlock; ++shift) {
                for (size_t at = 0; at <= body.size(); ++at) {
                    std::string before(shift, 'x');
                    for (size_t i = 0; i < at; ++i) before += body[i];
                    std::string after;
                    for (size_t i = at; i < body.size(); ++i) after += body[i];
                    for (const std::string& bad : unreadable) {
                        const std::string text = before + bad + (bad.size() == 1 ? "" : after);
                        ASSERT_NE(codec.decode(text).find(kReplacement), std::u16string::npos)
                            << hex(text);
                        ASSERT_EQ(codec.findUnreadable(text, 0), before.size()) << hex(text);
                        // From the start of a later line, as the scanner asks after each line.
                        ASSERT_EQ(codec.findUnreadable("ab\n" + text, 3), before.size() + 3)
                            << hex(text);
                    }
                    for (const std::string& good : inserted) {
                        const std::string text = before + good + after;
                        ASSERT_EQ(codec.decode(text).find(kReplacement), std::u16string::npos)
                            << hex(text);
                        ASSERT_EQ(codec.findUnreadable(text, 0), std::string::npos) << hex(text);
                    }
                }
            }
        }
    }
}

TEST(ScannerDifferential, EveryCharacterWithTwoCodesIsFoundUnderBoth) {
    Big5Codec codec;
    FastScanner fast(codec);
    ReferenceScanner reference(codec);
    const std::string zi = "\xA6\x72";  // 字, one code only, so texts with it get an anchor
    for (const auto& [ch, codes] : codePage().twoCodes) {
        SCOPED_TRACE(hex(std::u16string(1, ch)));
        std::string library;
        for (const std::string& code : codes)
            library += "w=" + code + zi + "\r\nv=" + zi + code + "\n";
        for (const std::u16string& text : {std::u16string(1, ch), std::u16string(1, ch) + u"字",
                                           u"字" + std::u16string(1, ch)}) {
            const TypedText typed(text);
            const Report got = run(fast, library, SIZE_MAX, typed, MatchMode::AllEntries);
            EXPECT_EQ(got, run(reference, library, SIZE_MAX, typed, MatchMode::AllEntries));
            // Each line holds the text once whichever code it uses (a lone character
            // occurs in every line).
            EXPECT_EQ(got.lines.size(), text.size() == 1 ? 2 * codes.size() : codes.size());
        }
    }
}

}  // namespace
}  // namespace qb
