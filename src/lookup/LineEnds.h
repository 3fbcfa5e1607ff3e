#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_LINE_ENDS_SSE2 1
#include <emmintrin.h>
#endif

namespace qb {

// A line ends at CR, at CR LF, or at a lone LF.
inline bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

#if defined(QB_LINE_ENDS_SSE2)
// A bit for each of the 16 bytes at `at` that ends a line.
inline uint32_t lineEndBits(const char* at) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')))));
}
#endif

// Where the line that goes on at `from` ends: the first CR or LF at or after it, or the end.
inline size_t lineEndFrom(std::string_view text, size_t from) {
    size_t i = from;
#if defined(QB_LINE_ENDS_SSE2)
    for (; i + 16 <= text.size(); i += 16)
        if (const uint32_t bits = lineEndBits(text.data() + i); bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(bits));
#endif
    while (i < text.size() && !isLineEnd(text[i])) ++i;
    return i;
}

// Where the line that holds `at` starts: just past the last CR or LF before it, or `from`
// when there is none after `from`. A line found by a digit is walked back over its headword,
// twenty bytes and more, and a read that ends inside a line of megabytes over all of itself:
// sixteen at a time.
inline size_t lineStartBefore(std::string_view text, size_t from, size_t at) {
    size_t i = at;
#if defined(QB_LINE_ENDS_SSE2)
    for (; i >= from + 16; i -= 16)
        if (const uint32_t bits = lineEndBits(text.data() + i - 16); bits != 0)
            return i - 16 + static_cast<size_t>(32 - __builtin_clz(bits));
#endif
    while (i > from && !isLineEnd(text[i - 1])) --i;
    return i;
}

}  // namespace qb
