#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lookup/LineEnds.h"
#include "lookup/SimdLevel.h"
#include "lookup/TextMatch.h"

#if defined(QB_SIMD_X86)
#include <emmintrin.h>
#endif

namespace qb {

// What one pass over a line tells for a text of one character stored as one byte that is
// never part of a pair (see FastScanner::Anchor::oneByte): where the line ends and how many of
// its fields match. Neither that byte nor "=" can be the second byte of a pair, so the fields
// and the text's places in them are read off the bytes, sixteen at a time from SSE2 on,
// without decoding.
struct OneByteLine {
    size_t end = 0;
    int matches = 0;
};

// Inline: the scanner calls it for each of a million lines.
inline OneByteLine oneByteLineFrom(std::string_view text, size_t start, char wanted, MatchMode mode,
                                   SimdLevel level) {
    OneByteLine line;
    // A place of the text opens a new matching field when it is the line's first or an "="
    // stands between it and the last.
    bool anyFound = false, equalsSince = false;
    auto found = [&](size_t at) {
        if (mode == MatchMode::AllEntries) {
            line.matches += !anyFound || equalsSince;
        } else {  // exact: the field is the character alone
            const bool opens = at == start || text[at - 1] == '=';
            const bool closes =
                at + 1 == text.size() || text[at + 1] == '=' || isLineEnd(text[at + 1]);
            if (opens && closes) line.matches = 1;
        }
        anyFound = true;
        equalsSince = false;
    };
    size_t i = start;
#if defined(QB_SIMD_X86)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const __m128i eq = _mm_set1_epi8('='), want = _mm_set1_epi8(wanted);
    const size_t blocksEnd = level >= SimdLevel::Sse2 ? text.size() : 0;
    for (; i + 16 <= blocksEnd; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const auto ends = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        // Only the places before the line's end count.
        const uint32_t inLine = ends != 0 ? (ends & (0u - ends)) - 1 : 0xFFFF;
        const uint32_t equals =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, eq))) & inLine;
        uint32_t hits =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, want))) & inLine;
        uint32_t after = inLine;  // the places after the last one found
        for (; hits != 0; hits &= hits - 1) {
            const uint32_t below = (hits & (0u - hits)) - 1;
            equalsSince |= (equals & after & below) != 0;
            found(i + static_cast<size_t>(__builtin_ctz(hits)));
            after = ~below << 1 & inLine;
        }
        equalsSince |= (equals & after) != 0;
        if (ends != 0) {
            line.end = i + static_cast<size_t>(__builtin_ctz(ends));
            return line;
        }
    }
#else
    (void)level;
#endif
    for (; i < text.size() && !isLineEnd(text[i]); ++i) {
        if (text[i] == '=')
            equalsSince = true;
        else if (text[i] == wanted)
            found(i);
    }
    line.end = i;
    return line;
}

}  // namespace qb
