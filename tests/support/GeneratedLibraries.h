// Generated Big5 libraries and typed texts, for comparing the fast scanner with the plain one
// (the differential test and the scanner fuzzer).

#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/Big5Codec.h"
#include "lookup/LetterCase.h"

namespace qb::test {

inline constexpr char16_t kReplacement = u'\uFFFD';
// A Thai letter: code page 950 has no code for it, so no line can ever hold it.
inline constexpr char16_t kOutsideCodePage = u'\u0E01';

// What the code page holds, learnt by decoding every byte and every lead/trail pair through
// the codec's decoder. FastScanner relies on the codec's reverse table instead, so a fault
// there shows.
struct CodePage {
    std::vector<std::string> hanzi;             // pairs of CJK ideographs
    std::vector<std::string> asciiLetterTrail;  // assigned pairs like A4 41
    std::vector<std::string> unassigned;        // lead + trail, read as U+FFFD
    std::vector<std::string> fullWidthLetters;  // Ａ … ｚ
    std::vector<std::string> otherCaseLetters;  // Greek, Cyrillic: a case partner with a code
    std::map<char16_t, std::vector<std::string>> twoCodes;  // characters with several codes
    std::map<char16_t, std::vector<std::string>> codesOf;   // every code, in byte order
};

bool isAsciiLetter(unsigned char c);
std::string hex(std::u16string_view text);
std::string hex(std::string_view bytes, size_t most = 400);

// What the code page holds, learnt once by decoding every code.
const CodePage& codePage();

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
        static const char* const kWords[] = {"apple", "pie",   "a",     "ab",  "b",   "zoo", "q",
                                             "A",     "Apple", "APPLE", "Pie", "x y", "42",  "-"};
        const CodePage& page = codePage();
        switch (below(17)) {
            case 0:
            case 1:
            case 2:
                return mixCase(kWords[below(static_cast<int>(std::size(kWords)))]);
            case 3:
            case 4:
            case 5:
            case 6:
                return pick(pool_);
            case 7:
                return pick(page.hanzi);
            case 8: {  // a character with two codes, written either way
                auto it = page.twoCodes.begin();
                std::advance(it, below(static_cast<int>(page.twoCodes.size())));
                return pick(it->second);
            }
            case 9:
                return pick(page.asciiLetterTrail);
            case 10:
                return pick(page.fullWidthLetters);
            case 11:
                return " ";
            case 12:
                return std::string(1, static_cast<char>(0x81 + below(0x7E)));  // lone lead
            case 13:
                return chance(2) ? "\x80" : "\xFF";
            case 14:
                return pick(page.unassigned);
            case 15:
                return pick(page.otherCaseLetters);
            default:
                return std::string(1, static_cast<char>(0x21 + below(0x5E)));
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
            alter(codec, text);
            if (!text.empty()) texts.push_back(std::move(text));
        }
        return texts;
    }

    void alter(Big5Codec& codec, std::u16string& text) {
        const CodePage& page = codePage();
        auto at = [&] { return static_cast<size_t>(below(static_cast<int>(text.size()) + 1)); };
        switch (below(16)) {
            case 0:
                for (char16_t& ch : text) ch = upperCase(ch);
                break;
            case 1:
                for (char16_t& ch : text) ch = lowerCase(ch);
                break;
            case 2:
                for (char16_t& ch : text)
                    if (chance(2)) ch = upperCase(ch);
                break;
            case 3:
                text.insert(at(), 1, kReplacement);
                break;
            case 4:
                text.insert(at(), 1, kOutsideCodePage);
                break;
            case 5:
                text.insert(at(), 1, chance(2) ? u'\r' : u'\n');
                break;
            case 6:
                text.insert(at(), 1, static_cast<char16_t>(u'Ａ' + below(26)));
                break;
            case 7:
                text.insert(at(), 1, static_cast<char16_t>(u'ａ' + below(26)));
                break;
            case 8:
                text = u" ";
                break;
            case 9:
                text = text.substr(0, 1);
                break;
            case 10:
                text.insert(at(), 1, u'=');
                break;
            case 11:
                text.assign(1 + below(2), kReplacement);
                break;
            case 12:  // characters that all have several forms, and nothing else
                text.clear();
                for (int i = below(3); i >= 0; --i)
                    text += codec.decode(chance(2) ? pick(page.fullWidthLetters)
                                                   : pick(page.otherCaseLetters));
                break;
            default:
                break;  // as it stands: most texts should be able to match
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

}  // namespace qb::test
