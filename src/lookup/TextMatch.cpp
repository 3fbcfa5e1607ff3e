#include "lookup/TextMatch.h"

#include <cstdint>

#include "lookup/EntryLine.h"
#include "lookup/LetterCase.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb {

std::u16string toLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& ch : out) ch = lowerCase(ch);
    return out;
}

TypedText::TypedText(std::u16string t) : text(std::move(t)), lowered(toLower(text)) {}

namespace {

inline char16_t lowerOf(char16_t ch) {
    // ASCII, most of every headword, without the call.
    if (ch < 0x80)
        return static_cast<char16_t>(static_cast<unsigned>(ch - u'A') < 26u ? ch + 0x20 : ch);
    return lowerCase(ch);
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

// The line walked once, fields and all.
int countOneCharacter(std::u16string_view line, char16_t ch, char16_t lowered, MatchMode mode) {
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

// Lines of up to 64 units, nearly all of them: a bit a unit for "=" and for the character,
// eight units at a time, then a step a field.
constexpr size_t kMaskedUnits = 64;

int countOneCharacterMasked(std::u16string_view line, char16_t ch, char16_t lowered,
                            MatchMode mode) {
    const size_t n = line.size();
    uint64_t equals = 0, found = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i eq = _mm_set1_epi16(u'='), wanted = _mm_set1_epi16(static_cast<short>(ch));
    for (; i + 8 <= n; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + i));
        // Both comparisons packed into one register: "=" in the low eight bits, `ch` above.
        const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(
            _mm_packs_epi16(_mm_cmpeq_epi16(units, eq), _mm_cmpeq_epi16(units, wanted))));
        equals |= uint64_t(bits & 0xFF) << i;
        found |= uint64_t(bits >> 8) << i;
    }
    // The last units as the block that ends the line, over units already counted: setting
    // their bits again changes nothing, and most lines end in fewer than eight.
    if (i < n && n >= 8) {
        const size_t last = n - 8;
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + last));
        const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(
            _mm_packs_epi16(_mm_cmpeq_epi16(units, eq), _mm_cmpeq_epi16(units, wanted))));
        equals |= uint64_t(bits & 0xFF) << last;
        found |= uint64_t(bits >> 8) << last;
        i = n;
    }
#endif
    for (; i < n; ++i) {
        equals |= uint64_t(line[i] == u'=') << i;
        found |= uint64_t(line[i] == ch) << i;
    }
    if (mode != MatchMode::AllEntries) found = 0;
    int count = 0;
    for (size_t start = 0; start < n;) {
        const size_t end = equals != 0 ? static_cast<size_t>(__builtin_ctzll(equals)) : n;
        // The field's units: bits start to end - 1 (end can be 64).
        const uint64_t upToEnd = end >= 64 ? ~uint64_t{0} : (uint64_t{1} << end) - 1;
        if ((found & upToEnd) != 0 || (end - start == 1 && lowerOf(line[start]) == lowered)) {
            if (mode != MatchMode::AllEntries) return 1;
            ++count;
        }
        found &= ~upToEnd;
        if (equals == 0) break;
        equals &= equals - 1;
        start = end + 1;
    }
    return count;
}

}  // namespace

bool fieldMatches(std::u16string_view field, const TypedText& typed, MatchMode mode) {
    return matches(field, typed, mode);
}

int countMatchingFields(std::u16string_view line, const TypedText& typed, MatchMode mode) {
    // One character, the text that finds the most lines: the line is walked once, fields and
    // all. No field holds "=", so typing it goes the general way, which finds nothing.
    if (typed.text.size() == 1 && typed.text[0] != u'=') {
        if (line.size() <= kMaskedUnits)
            return countOneCharacterMasked(line, typed.text[0], typed.lowered[0], mode);
        return countOneCharacter(line, typed.text[0], typed.lowered[0], mode);
    }
    int count = 0;
    forEachField(line, [&](std::u16string_view field) {
        if (matches(field, typed, mode)) ++count;
        return count == 0 || mode != MatchMode::Exact;
    });
    return count;
}

}  // namespace qb
