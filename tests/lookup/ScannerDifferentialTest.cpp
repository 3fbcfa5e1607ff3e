// FastScanner skips every line its byte search rules out, so a wrong anchor or a slip at a
// read boundary loses results silently. These tests run it and the plain ReferenceScanner on
// the same generated libraries and typed texts and demand identical reports.

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "Big5Codec.h"
#include "ByteReader.h"
#include "Scanner.h"
#include "TextMatch.h"

namespace qb {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
// A Thai letter: code page 950 has no code for it, so no line can ever hold it.
constexpr char16_t kOutsideCodePage = u'\u0E01';

// What the code page holds, learnt by decoding every byte and every lead/trail pair through
// the codec's decoder. FastScanner relies on the codec's reverse table instead, so a fault
// there shows.
struct CodePage {
    std::vector<std::string> hanzi;                          // pairs of CJK ideographs
    std::vector<std::string> asciiLetterTrail;               // assigned pairs like A4 41
    std::vector<std::string> unassigned;                     // lead + trail, read as U+FFFD
    std::vector<std::string> fullWidthLetters;               // Ａ … ｚ
    std::map<char16_t, std::vector<std::string>> twoCodes;   // characters with several codes
    std::map<char16_t, std::vector<std::string>> codesOf;    // every code, in byte order
};

bool isAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

std::string hex(std::u16string_view text) {
    std::ostringstream out;
    for (char16_t ch : text) out << std::hex << static_cast<unsigned>(ch) << ' ';
    return out.str();
}

std::string hex(std::string_view bytes, size_t most = 400) {
    std::ostringstream out;
    for (size_t i = 0; i < bytes.size() && i < most; ++i)
        out << std::hex << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ' ';
    if (bytes.size() > most) out << "... (" << std::dec << bytes.size() << " bytes)";
    return out.str();
}

const CodePage& codePage() {
    static const CodePage page = [] {
        Big5Codec codec;
        CodePage p;
        for (int b = 0; b <= 0xFF; ++b) {
            const std::u16string text = codec.decode(std::string(1, static_cast<char>(b)));
            if (text.size() == 1 && text[0] != kReplacement)
                p.codesOf[text[0]].push_back(std::string(1, static_cast<char>(b)));
        }
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
                const std::u16string text = codec.decode(pair);
                if (text == std::u16string(1, kReplacement)) {
                    p.unassigned.push_back(pair);
                } else if (text.size() == 1) {
                    p.codesOf[text[0]].push_back(pair);
                    if (isAsciiLetter(static_cast<unsigned char>(trail)))
                        p.asciiLetterTrail.push_back(pair);
                }
            }
        }
        for (const auto& [ch, codes] : p.codesOf) {
            if (codes.size() > 1) p.twoCodes[ch] = codes;
            if (ch >= 0x4E00 && ch <= 0x9FFF) p.hanzi.push_back(codes.front());
            if ((ch >= 0xFF21 && ch <= 0xFF3A) || (ch >= 0xFF41 && ch <= 0xFF5A))
                p.fullWidthLetters.push_back(codes.front());
        }
        return p;
    }();
    return page;
}

TEST(ScannerDifferential, CodePageTableHasWhatTheGeneratorsDrawFrom) {
    const CodePage& page = codePage();
    EXPECT_GT(page.hanzi.size(), 13000u);
    EXPECT_GE(page.twoCodes.size(), 10u);
    EXPECT_FALSE(page.asciiLetterTrail.empty());
    EXPECT_FALSE(page.unassigned.empty());
    EXPECT_EQ(page.fullWidthLetters.size(), 52u);
    EXPECT_EQ(page.codesOf.count(kOutsideCodePage), 0u);
    // 十 is the everyday character with two codes, one of them with the trail byte 'Q'.
    ASSERT_EQ(page.twoCodes.count(u'十'), 1u);
    EXPECT_EQ(page.twoCodes.at(u'十'), (std::vector<std::string>{"\xA2\xCC", "\xA4\x51"}));
}

// The anchor is only as good as the codec's reverse table, which answers for ASCII from the
// single bytes alone: this holds it to what decoding every code says.
TEST(ScannerDifferential, CodecAgreesWithTheDecoderOnEveryCode) {
    const CodePage& page = codePage();
    std::map<char16_t, std::vector<char16_t>> byLowerCase;
    for (const auto& [ch, codes] : page.codesOf)
        byLowerCase[static_cast<char16_t>(u_tolower(ch))].push_back(ch);

    Big5Codec codec;
    // ASCII first, on a fresh codec, as an English lookup asks; then every character.
    for (char16_t ch = 0; ch < 0x80; ++ch) {
        const auto it = page.codesOf.find(ch);
        ASSERT_EQ(codec.encodingsOf(ch), it == page.codesOf.end() ? std::vector<std::string>{}
                                                                  : it->second)
            << hex(std::u16string(1, ch));
    }
    // Han ideographs, most of the table and without letter case, are sampled.
    auto sampled = [n = 0](char16_t ch) mutable {
        return ch < 0x3400 || ch > 0x9FFF || ++n % 16 == 0;
    };
    for (const auto& [ch, codes] : page.codesOf) {
        if (!sampled(ch)) continue;
        ASSERT_EQ(codec.encodingsOf(ch), codes) << hex(std::u16string(1, ch));
    }
    for (const auto& [lowered, chars] : byLowerCase) {
        if (!sampled(lowered)) continue;
        std::vector<char16_t> got = codec.charactersLoweringTo(lowered);
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got, chars) << hex(std::u16string(1, lowered));
    }
    for (char16_t ch : {kOutsideCodePage, kReplacement, char16_t(0xD800)})
        EXPECT_TRUE(codec.encodingsOf(ch).empty()) << hex(std::u16string(1, ch));
    EXPECT_TRUE(codec.charactersLoweringTo(kOutsideCodePage).empty());
}

// ---------------------------------------------------------------------------------------
// Generated libraries

struct LibraryShape {
    int maxLines = 40;
    int lineEnds = 0;  // 0 CR LF, 1 CR, 2 LF, 3 mixed
};

class LibraryMaker {
public:
    explicit LibraryMaker(uint32_t seed) : rng_(seed) {
        // A small pool per library so fields repeat across lines and typed texts taken from
        // one line match others.
        const CodePage& page = codePage();
        for (int i = 0; i < 12; ++i) pool_.push_back(pick(page.hanzi));
        for (const auto& [ch, codes] : page.twoCodes) pool_.push_back(pick(codes));
    }

    std::string library() {
        LibraryShape shape;
        shape.maxLines = 1 + below(chance(8) ? 400 : 40);  // some pass 4096-byte reads
        shape.lineEnds = below(4);
        std::string bytes;
        const int lines = below(shape.maxLines + 1);
        for (int i = 0; i < lines; ++i) {
            if (chance(8)) {
                bytes += lineEnd(shape);  // an empty line
                continue;
            }
            bytes += line();
            // The last line sometimes has no line end at all.
            if (i + 1 < lines || !chance(3)) bytes += lineEnd(shape);
        }
        return bytes;
    }

    std::string line() {
        std::string out;
        if (chance(10)) out += '=';
        const int fields = 1 + below(4);
        for (int i = 0; i < fields; ++i) {
            if (i > 0) out += chance(8) ? "==" : "=";
            out += field();
        }
        if (chance(10)) out += '=';
        return out;
    }

    std::string field() {
        std::string out;
        const int tokens = below(5);
        for (int i = 0; i < tokens; ++i) out += token();
        // A lead byte left alone before "=" or the line end.
        if (chance(15)) out += static_cast<char>(0x81 + below(0x7E));
        return out;
    }

    std::string token() {
        static const char* const kWords[] = {"apple", "pie", "a", "ab", "b", "zoo", "q", "A",
                                             "Apple", "APPLE", "Pie", "x y", "42", "-"};
        const CodePage& page = codePage();
        switch (below(16)) {
            case 0:
            case 1:
            case 2: return mixCase(kWords[below(static_cast<int>(std::size(kWords)))]);
            case 3:
            case 4:
            case 5:
            case 6: return pick(pool_);
            case 7: return pick(page.hanzi);
            case 8: {  // a character with two codes, written either way
                auto it = page.twoCodes.begin();
                std::advance(it, below(static_cast<int>(page.twoCodes.size())));
                return pick(it->second);
            }
            case 9: return pick(page.asciiLetterTrail);
            case 10: return pick(page.fullWidthLetters);
            case 11: return " ";
            case 12: return std::string(1, static_cast<char>(0x81 + below(0x7E)));  // lone lead
            case 13: return chance(2) ? "\x80" : "\xFF";
            case 14: return pick(page.unassigned);
            default: return std::string(1, static_cast<char>(0x21 + below(0x5E)));
        }
    }

    std::string lineEnd(const LibraryShape& shape) {
        static const char* const kEnds[] = {"\r\n", "\r", "\n"};
        return kEnds[shape.lineEnds == 3 ? below(3) : shape.lineEnds];
    }

    std::string mixCase(std::string word) {
        for (char& c : word)
            if (isAsciiLetter(static_cast<unsigned char>(c)) && chance(3)) c ^= 0x20;
        return word;
    }

    // Typed texts for a library: its own fields and pieces of them, so that lines match,
    // altered in the ways people and paste buffers alter them.
    std::vector<std::u16string> typedTexts(Big5Codec& codec, const std::string& library, int n) {
        std::vector<std::u16string> fields;
        const std::u16string decoded = codec.decode(library);
        std::u16string current;
        for (char16_t ch : decoded) {
            if (ch == u'=' || ch == u'\r' || ch == u'\n') {
                if (!current.empty()) fields.push_back(current);
                current.clear();
            } else {
                current += ch;
            }
        }
        if (!current.empty()) fields.push_back(current);

        std::vector<std::u16string> texts;
        while (static_cast<int>(texts.size()) < n) {
            std::u16string text;
            if (!fields.empty() && !chance(6)) {
                text = pick(fields);
                if (chance(2)) {  // a piece of the field
                    const size_t from = below(static_cast<int>(text.size()));
                    text = text.substr(from, 1 + below(static_cast<int>(text.size() - from)));
                }
            } else {
                text = codec.decode(token());
            }
            alter(text);
            if (!text.empty()) texts.push_back(std::move(text));
        }
        return texts;
    }

    void alter(std::u16string& text) {
        auto at = [&] { return static_cast<size_t>(below(static_cast<int>(text.size()) + 1)); };
        switch (below(14)) {
            case 0:
                for (char16_t& ch : text) ch = static_cast<char16_t>(u_toupper(ch));
                break;
            case 1:
                for (char16_t& ch : text) ch = static_cast<char16_t>(u_tolower(ch));
                break;
            case 2:
                for (char16_t& ch : text)
                    if (chance(2)) ch = static_cast<char16_t>(u_toupper(ch));
                break;
            case 3: text.insert(at(), 1, kReplacement); break;
            case 4: text.insert(at(), 1, kOutsideCodePage); break;
            case 5: text.insert(at(), 1, chance(2) ? u'\r' : u'\n'); break;
            case 6: text.insert(at(), 1, static_cast<char16_t>(u'Ａ' + below(26))); break;
            case 7: text.insert(at(), 1, static_cast<char16_t>(u'ａ' + below(26))); break;
            case 8: text = u" "; break;
            case 9: text = text.substr(0, 1); break;
            case 10: text.insert(at(), 1, u'='); break;
            default: break;  // as it stands: most texts should be able to match
        }
    }

    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int oneIn) { return below(oneIn) == 0; }
    template <typename T>
    const T& pick(const std::vector<T>& from) {
        return from[static_cast<size_t>(below(static_cast<int>(from.size())))];
    }

private:
    std::mt19937 rng_;
    std::vector<std::string> pool_;
};

// ---------------------------------------------------------------------------------------
// Running both scanners

struct Report {
    std::vector<std::u16string> lines;
    bool readable = true;
    bool stoppedAtMatch = false;
    // Compared as bytes: lines of megabytes, and sanitizer builds.
    bool operator==(const Report& other) const {
        if (readable != other.readable || stoppedAtMatch != other.stoppedAtMatch ||
            lines.size() != other.lines.size())
            return false;
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].size() != other.lines[i].size() ||
                std::memcmp(lines[i].data(), other.lines[i].data(), lines[i].size() * 2) != 0)
                return false;
        return true;
    }
};

Report run(Scanner& scanner, std::string_view library, size_t pieceSize, const TypedText& typed,
           MatchMode mode) {
    MemoryReader reader(library, pieceSize);
    Report report;
    const ScanResult result = scanner.scan(reader, typed, mode, [&](std::u16string_view line) {
        report.lines.emplace_back(line);
    });
    report.readable = result.readable;
    report.stoppedAtMatch = result.stoppedAtMatch;
    return report;
}

std::string describe(const Report& r) {
    std::ostringstream out;
    out << r.lines.size() << " lines, readable=" << r.readable
        << " stoppedAtMatch=" << r.stoppedAtMatch << "\n";
    for (const auto& line : r.lines) out << "  [" << hex(line) << "]\n";
    return out.str();
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
            ADD_FAILURE() << where << "\n  mode: "
                          << (mode == MatchMode::Exact ? "exact" : "all entries")
                          << "\n  piece size: " << piece << "\n  typed: " << hex(text)
                          << "\n  library: " << hex(library) << "\n  reference: "
                          << describe(expected) << "  fast: " << describe(got);
            return false;
        }
    }
    return true;
}

TEST(ScannerDifferential, FastScannerReportsWhatTheReferenceReportsOnGeneratedLibraries) {
    Big5Codec codec;
    FastScanner fast(codec);  // one scanner throughout, as the window keeps one
    int compared = 0, withMatches = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        LibraryMaker maker(seed);
        const std::string library = maker.library();
        for (const std::u16string& text : maker.typedTexts(codec, library, 8)) {
            const std::string where = "seed " + std::to_string(seed);
            ASSERT_TRUE(sameReports(codec, fast, library, text, where));
            ++compared;
            ReferenceScanner reference(codec);
            withMatches += !run(reference, library, SIZE_MAX, TypedText(text), MatchMode::AllEntries)
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
    // Big5 forms of fields that match the text: each must hold the anchor's bytes.
    std::vector<std::string> matchingFields;
};

TEST(ScannerDifferential, AnchorIsFoundInEveryWayAMatchingFieldCanBeWritten) {
    using Kind = FastScanner::Anchor::Kind;
    const auto& ten = codePage().twoCodes.at(u'十');  // A2CC and A451
    const std::string zi = "\xA6\x72";                 // 字
    const std::string bad = codePage().unassigned.front();  // reads as U+FFFD
    const AnchorCase cases[] = {
        {u"Apple", Kind::Bytes, {"apple", "APPLE", "aPpLe"}},
        {u"十字", Kind::Bytes, {ten[0] + zi, ten[1] + zi}},
        {u"字十", Kind::Bytes, {zi + ten[0], zi + ten[1]}},
        {u"Q十", Kind::Bytes, {"q" + ten[0], "Q" + ten[1]}},
        {u"ab\uFFFDcd", Kind::Bytes, {"ab" + bad + "cd", "AB" + bad + "CD"}},
        {u" ", Kind::Bytes, {" "}},
        {u"42", Kind::Bytes, {"42"}},
        {u"十", Kind::EveryLine, {ten[0], ten[1]}},
        {u"\uFFFD", Kind::EveryLine, {bad}},
        {u"Ａ", Kind::EveryLine, {"\xA2\xCF", "\xA2\xE9"}},  // Ａ and ａ
        {u"a\r", Kind::NoMatchPossible, {}},
        {u"\n", Kind::NoMatchPossible, {}},
        {std::u16string(u"ab") + kOutsideCodePage, Kind::NoMatchPossible, {}},
    };
    Big5Codec codec;
    FastScanner fast(codec);
    for (const AnchorCase& c : cases) {
        SCOPED_TRACE(hex(c.typed));
        const TypedText typed(c.typed);
        const FastScanner::Anchor anchor = fast.anchorFor(typed);
        EXPECT_EQ(anchor.kind, c.kind);
        for (const std::string& field : c.matchingFields) {
            // The premise: the field really matches the text, ignoring case.
            ASSERT_TRUE(fieldMatches(codec.decode(field), typed, MatchMode::Exact)) << hex(field);
            if (anchor.kind != Kind::Bytes) continue;
            const std::string searched = anchor.folded ? foldAsciiLetters(field) : field;
            EXPECT_NE(searched.find(anchor.bytes), std::string::npos)
                << "anchor " << hex(anchor.bytes) << " not in " << hex(field);
        }
        // And the scanner finds every one of those fields as a line, in both modes.
        std::string library;
        for (const std::string& field : c.matchingFields) library += "x=" + field + "\r\n";
        for (MatchMode mode : kModes) {
            Report all;
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

TEST(ScannerDifferential, EveryCharacterWithTwoCodesIsFoundUnderBoth) {
    Big5Codec codec;
    FastScanner fast(codec);
    ReferenceScanner reference(codec);
    const std::string zi = "\xA6\x72";  // 字, one code only, so texts with it get an anchor
    for (const auto& [ch, codes] : codePage().twoCodes) {
        SCOPED_TRACE(hex(std::u16string(1, ch)));
        std::string library;
        for (const std::string& code : codes) library += "w=" + code + zi + "\r\nv=" + zi + code + "\n";
        for (const std::u16string& text :
             {std::u16string(1, ch), std::u16string(1, ch) + u"字", u"字" + std::u16string(1, ch)}) {
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
