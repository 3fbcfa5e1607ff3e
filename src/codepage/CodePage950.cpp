#include "codepage/CodePage950.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "codepage/Big5Table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb {
namespace {

namespace table = big5table;

// Copies bytes below 0x80 to UTF-16 units sixteen at a time while there are sixteen, up to
// the first byte that is not ASCII.
inline void widenAscii(const unsigned char*& p, const unsigned char* end, char16_t*& to) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int high = _mm_movemask_epi8(v);
        // The whole block is stored even where it ends the run: the units past the run's end
        // are written over next, and `to` has room, a unit for each of these 16 bytes.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_unpackhi_epi8(v, zero));
        if (high != 0) {
            const int run = __builtin_ctz(static_cast<unsigned>(high));
            p += run, to += run;
            return;
        }
        p += 16, to += 16;
    }
    // A headword's last stretch, eight at a time once: most end fewer than sixteen bytes
    // before the definition.
    if (end - p >= 8) {
        const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        const int high = _mm_movemask_epi8(v) & 0xFF;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(v, zero));
        const int run = high != 0 ? __builtin_ctz(static_cast<unsigned>(high)) : 8;
        p += run, to += run;
    }
#else
    uint64_t block;
    while (end - p >= 8 && (std::memcpy(&block, p, 8), (block & 0x8080808080808080u) == 0)) {
        for (int k = 0; k < 8; ++k) to[k] = p[k];
        p += 8, to += 8;
    }
#endif
}

bool everyAsciiByteIsItself() {
    for (unsigned b = 0; b < 0x80; ++b)
        if (!table::kReadsAlone[b] || table::kSingle[b] != b) return false;
    return true;
}

// The code the code page writes for `ch`, or null when the table has none.
const table::Code* writtenCodeOf(char16_t ch) {
    const table::Code* const end = table::kEncodings + table::kEncodingCount;
    const table::Code* const found =
        std::lower_bound(table::kEncodings, end, ch,
                         [](const table::Code& code, char16_t c) { return code.ch < c; });
    return found != end && found->ch == ch ? found : nullptr;
}

}  // namespace

CodePage950::CodePage950() : asciiIsItself_(everyAsciiByteIsItself()) {}

std::u16string CodePage950::decode(std::string_view bytes) {
    std::u16string out;
    decodeInto(bytes, out);
    return out;
}

void CodePage950::decodeInto(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size());
    out.resize(decodeTo(bytes, out.data()));
}

std::u16string CodePage950::decodeBySystem(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(system_.decode(bytes, out.data()));
    return out;
}

// The code page has no shift states: where every sequence is one of the table's, the
// converter's answer is the table's, one sequence at a time. Whatever the converter does
// with a sequence it cannot read (how many bytes one U+FFFD stands for) is left to it: it is
// given the stretch around that sequence between two bytes below 0x40, which no pair holds,
// so that it reads it as it would read it in the whole text. A line of megabytes with a
// cut-off pair at its end is then not decoded a second time, by the converter, in full.
size_t CodePage950::decodeTo(std::string_view bytes, char16_t* out) {
    char16_t* to = out;
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = begin + bytes.size();
    const unsigned char* p = begin;
    while (p < end) {
        // English text, sixteen bytes at a time, where every ASCII byte reads as itself.
        if (asciiIsItself_) {
            widenAscii(p, end, to);
            while (p < end && *p < 0x80) *to++ = *p++;
            if (p == end) break;
        }
        // Chinese text, a pair at a time.
        while (end - p >= 2 && *p >= 0x80) {
            const char16_t ch = table::kPairs[*p << 8 | p[1]];
            if (ch == 0) break;
            *to++ = ch;
            p += 2;
        }
        if (p == end) break;
        const unsigned b = *p;
        if (table::kReadsAlone[b]) {
            *to++ = table::kSingle[b];
            ++p;
            continue;
        }
        if (b >= 0x80 && end - p >= 2) {
            if (const char16_t ch = table::kPairs[b << 8 | p[1]]) {
                *to++ = ch;
                p += 2;
                continue;
            }
        }
        // Back to the last byte below 0x40, taking back what the table wrote after it, and
        // on past the next one (a stretch given to the converter before ends with one).
        const unsigned char* from = p;
        while (from > begin && from[-1] >= 0x40) --from;
        for (const unsigned char* q = from; q < p; --to)
            q += *q >= 0x80 && end - q >= 2 && table::kPairs[*q << 8 | q[1]] != 0 ? 2 : 1;
        const unsigned char* until = p + 1;
        while (until < end && *until >= 0x40) ++until;
        if (until < end) ++until;
        to += system_.decode(std::string_view(reinterpret_cast<const char*>(from),
                                              static_cast<size_t>(until - from)),
                             to);
        p = until;
    }
    return static_cast<size_t>(to - out);
}

std::string CodePage950::encode(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size();) {
        if (const table::Code* code = writtenCodeOf(text[i])) {
            if (code->sequence >= 0x100) out += static_cast<char>(code->sequence >> 8);
            out += static_cast<char>(code->sequence & 0xFF);
            ++i;
            continue;
        }
        // A run of characters without a code goes to the converter whole, so that the two
        // halves of a surrogate pair reach it together.
        size_t until = i + 1;
        while (until < text.size() && writtenCodeOf(text[until]) == nullptr) ++until;
        out += system_.encode(text.substr(i, until - i));
        i = until;
    }
    return out;
}

}  // namespace qb
