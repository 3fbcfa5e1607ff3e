#include "lookup/Utf8.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb {
namespace {

// Writes units below 0x80 as bytes, eight at a time while there are eight, up to the first
// unit that is not ASCII or is `stop` when the writer stops at one.
template <bool kStops>
inline void writeAsciiBlocks(std::u16string_view text, char16_t stop, size_t& i, char*& out) {
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i stops = _mm_set1_epi16(static_cast<short>(stop));
    for (; i + 8 <= text.size(); i += 8, out += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        __m128i plain = _mm_cmpeq_epi16(_mm_and_si128(units, high), _mm_setzero_si128());
        if constexpr (kStops) plain = _mm_andnot_si128(_mm_cmpeq_epi16(units, stops), plain);
        // Stored whole even where the run ends in it: the bytes past the run are written
        // over next, and `out` has room for three a unit.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(units, units));
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(plain)); mask != 0xFFFF) {
            const unsigned run = static_cast<unsigned>(__builtin_ctz(~mask)) / 2;
            i += run, out += run;
            return;
        }
    }
#else
    (void)text, (void)stop, (void)i, (void)out;
#endif
}

// The one converter behind writeUtf8 and writeUtf8UpTo; returns how many units it wrote.
// `out` is moved once at the end: through the reference, every byte written could change the
// pointer itself (a char may alias anything), and it was read back after each one.
template <bool kStops>
size_t writeUtf8Units(std::u16string_view text, char16_t stop, char*& where) {
    char* out = where;
    auto put = [&](unsigned byte) { *out++ = static_cast<char>(byte); };
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        char32_t c = text[i];
        if (c < 0x80) {
            // Headwords are English: eight units at a time while they are ASCII, then one.
            writeAsciiBlocks<kStops>(text, stop, i, out);
            if (!kStops) {
                uint64_t units;
                while (i + 4 <= size && (std::memcpy(&units, text.data() + i, 8),
                                         (units & 0xFF80FF80FF80FF80u) == 0)) {
                    for (int k = 0; k < 4; ++k) *out++ = static_cast<char>(units >> (16 * k));
                    i += 4;
                }
            }
            while (i < size && text[i] < 0x80) {
                if (kStops && text[i] == stop) {
                    where = out;
                    return i;
                }
                put(text[i++]);
            }
            continue;
        }
        ++i;
        // Definitions are Chinese: three bytes, the case to meet first.
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            put(0xE0 | c >> 12);
            put(0x80 | (c >> 6 & 0x3F));
            put(0x80 | (c & 0x3F));
            continue;
        }
        if (c < 0x800) {
            put(0xC0 | c >> 6);
            put(0x80 | (c & 0x3F));
            continue;
        }
        const bool pair = c <= 0xDBFF && i < size && text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        if (!pair) {  // a lone surrogate
            put(0xEF), put(0xBF), put(0xBD);
            continue;
        }
        c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        put(0xF0 | c >> 18);
        put(0x80 | (c >> 12 & 0x3F));
        put(0x80 | (c >> 6 & 0x3F));
        put(0x80 | (c & 0x3F));
    }
    where = out;
    return i;
}

}  // namespace

// Each ill-formed stretch becomes one U+FFFD: the longest start of a well-formed sequence,
// or else one byte (Unicode's "maximal subpart" practice, which ICU and the web follow).
std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned lead = *p++;
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            continue;
        }
        // The trail bytes a lead takes, and the range its first trail byte must fall in (it
        // rules out overlong forms, surrogates and code points past U+10FFFF).
        int trails = 0;
        unsigned low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF)
            trails = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            trails = 2, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
        else if (lead >= 0xF0 && lead <= 0xF4)
            trails = 3, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
        else {
            out += u'\uFFFD';
            continue;
        }
        char32_t c = lead & (0x3F >> trails);
        bool whole = true;
        for (int i = 0; i < trails; ++i, low = 0x80, high = 0xBF) {
            if (p == end || *p < low || *p > high) {
                whole = false;
                break;
            }
            c = c << 6 | (*p++ & 0x3F);
        }
        if (!whole) {
            out += u'\uFFFD';
        } else if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view text) {
    std::string out(text.size() * kMostUtf8PerUnit, '\0');
    out.resize(static_cast<size_t>(writeUtf8(text, out.data()) - out.data()));
    return out;
}

char* writeUtf8(std::u16string_view text, char* out) {
    writeUtf8Units<false>(text, 0, out);
    return out;
}

size_t writeUtf8UpTo(std::u16string_view text, char16_t stop, char*& out) {
    return writeUtf8Units<true>(text, stop, out);
}

size_t utf8SliceEnd(std::u16string_view text, size_t most) {
    if (text.size() <= most) return text.size();
    const char16_t last = text[most - 1];
    return most > 1 && last >= 0xD800 && last <= 0xDBFF ? most - 1 : most;
}

}  // namespace qb
