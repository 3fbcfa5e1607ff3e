#include "TextMatch.h"

#include <unicode/uchar.h>

#include "EntryLine.h"

namespace qb {

std::u16string toLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& ch : out) ch = static_cast<char16_t>(u_tolower(ch));
    return out;
}

TypedText::TypedText(std::u16string t) : text(std::move(t)), lowered(toLower(text)) {}

namespace {

inline char16_t lowerOf(char16_t ch) {
    // ASCII, most of every headword, without the call.
    if (ch < 0x80) return static_cast<char16_t>(static_cast<unsigned>(ch - u'A') < 26u ? ch + 0x20 : ch);
    return static_cast<char16_t>(u_tolower(ch));
}

inline bool equalsIgnoringCase(std::u16string_view field, std::u16string_view lowered) {
    if (field.size() != lowered.size()) return false;
    for (size_t i = 0; i < field.size(); ++i)
        if (lowerOf(field[i]) != lowered[i]) return false;
    return true;
}

inline bool contains(std::u16string_view field, std::u16string_view text) {
    if (text.size() == 1) {  // a character, the texts that find the most lines
        for (char16_t ch : field)
            if (ch == text[0]) return true;
        return false;
    }
    return field.find(text) != std::u16string_view::npos;
}

inline bool matches(std::u16string_view field, const TypedText& typed, MatchMode mode) {
    // An empty field never matches: the typed text of a lookup is never empty.
    if (field.empty() || typed.text.empty()) return false;
    if (equalsIgnoringCase(field, typed.lowered)) return true;
    return mode == MatchMode::AllEntries && contains(field, typed.text);
}

}  // namespace

bool fieldMatches(std::u16string_view field, const TypedText& typed, MatchMode mode) {
    return matches(field, typed, mode);
}

int countMatchingFields(std::u16string_view line, const TypedText& typed, MatchMode mode) {
    // One character, the text that finds the most lines: the line is walked once, fields and
    // all. No field holds "=", so typing it goes the general way, which finds nothing.
    if (typed.text.size() == 1 && typed.text[0] != u'=') {
        const char16_t ch = typed.text[0], lowered = typed.lowered[0];
        const bool all = mode == MatchMode::AllEntries;
        int count = 0;
        bool holds = false;
        size_t start = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] != u'=') {
                holds |= all && line[i] == ch;
                continue;
            }
            if (holds || (i - start == 1 && lowerOf(line[start]) == lowered)) {
                if (!all) return 1;
                ++count;
            }
            holds = false;
            start = i + 1;
        }
        // The last field; an empty line has none.
        if (!line.empty() && (holds || (line.size() - start == 1 && lowerOf(line[start]) == lowered)))
            ++count;
        return count;
    }
    int count = 0;
    forEachField(line, [&](std::u16string_view field) {
        if (matches(field, typed, mode)) ++count;
        return count == 0 || mode != MatchMode::Exact;
    });
    return count;
}

}  // namespace qb
