#include "lookup/Big5Codec.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <cstring>

#include "lookup/Big5Table.h"
#include "lookup/Windows950.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb {
namespace {

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

namespace table = big5table;

// Orders the table's entries by the character they are sorted on, for std::equal_range.
struct ByKey {
    static char16_t key(char16_t ch) { return ch; }
    static char16_t key(const table::Code& code) { return code.ch; }
    static char16_t key(const table::Lowering& l) { return l.lowered; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
        return key(a) < key(b);
    }
};

}  // namespace

namespace {

bool everyAsciiByteReadsAlone() {
    return std::all_of(table::kReadsAlone, table::kReadsAlone + 0x80,
                       [](bool reads) { return reads; });
}

}  // namespace

Big5Codec::Big5Codec(SimdLevel level, Big5Blocks::Path path)
    : asciiReads_(everyAsciiByteReadsAlone()), blocks_(asciiReads_, level, path) {
    asciiIsItself_ = asciiReads_;
    for (char16_t b = 0; b < 0x80; ++b) asciiIsItself_ &= table::kSingle[b] == b;
}

Big5Codec::~Big5Codec() {
    if (converter_ != nullptr) ucnv_close(converter_);
}

UConverter* Big5Codec::converter() {
    if (converter_ == nullptr) converter_ = openWindows950();
    return converter_;
}

std::u16string Big5Codec::decode(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(decodeViaIcu(bytes, out.data()));
    return out;
}

size_t Big5Codec::decodeViaIcu(std::string_view bytes, char16_t* out) {
    if (bytes.empty()) return 0;
    UConverter* const icu = converter();
    ucnv_resetToUnicode(icu);
    UChar* target = reinterpret_cast<UChar*>(out);
    const char* source = bytes.data();
    UErrorCode err = U_ZERO_ERROR;
    // Every byte yields at most one UTF-16 unit in this code page.
    ucnv_toUnicode(icu, &target, target + bytes.size(), &source, bytes.data() + bytes.size(),
                   nullptr, true, &err);
    return static_cast<size_t>(target - reinterpret_cast<UChar*>(out));
}

void Big5Codec::decodeInto(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size());
    out.resize(decodeTo(bytes, out.data()));
}

// The code page has no shift states: where every sequence is one of the table's, the
// converter's answer is the table's, one sequence at a time. Whatever the converter does
// with a sequence it cannot read (how many bytes one U+FFFD stands for) is left to it: it is
// given the stretch around that sequence between two bytes below 0x40, which no pair holds,
// so that it reads it as it would read it in the whole text. A line of megabytes with a
// cut-off pair at its end is then not decoded a second time, by the converter, in full.
size_t Big5Codec::decodeTo(std::string_view bytes, char16_t* out) {
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
        to += decodeViaIcu(std::string_view(reinterpret_cast<const char*>(from),
                                            static_cast<size_t>(until - from)),
                           to);
        p = until;
    }
    return static_cast<size_t>(to - out);
}

size_t Big5Codec::findUnreadable(std::string_view bytes, size_t from) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    auto pairReadsAt = [&](size_t at) { return table::pairReads(s[at] << 8 | s[at + 1]); };
    for (size_t i = from; i < n;) {
        size_t found;
        if (blocks_.skipReadable(s, n, i, found)) return found;
        // A sequence at a time over what the blocks left: the end of the text, or a block
        // they could not judge.
        const size_t until = std::min(n, i + Big5Blocks::kBlock);
        while (i < until) {
            // English stretches eight bytes at a time, then Chinese ones a pair at a time.
            if (asciiReads_) {
                uint64_t block;
                while (i + 8 <= until &&
                       (std::memcpy(&block, s + i, 8), (block & 0x8080808080808080u) == 0))
                    i += 8;
                while (i < until && s[i] < 0x80) ++i;
            }
            while (i < until && i + 1 < n && s[i] >= 0x80 && pairReadsAt(i)) i += 2;
            if (i >= until) break;
            if (table::kReadsAlone[s[i]]) {
                ++i;
                continue;
            }
            if (i + 1 < n && pairReadsAt(i)) {
                i += 2;
                continue;
            }
            return i;
        }
    }
    return std::string_view::npos;
}

bool Big5Codec::standsAlone(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0x80 || !table::kReadsAlone[b]) return false;
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead)
        if (table::pairReads(lead << 8 | b)) return false;
    return true;
}

std::string Big5Codec::encode(std::u16string_view text) {
    std::string out(text.size() * 2 + 1, '\0');
    UErrorCode err = U_ZERO_ERROR;
    UConverter* const icu = converter();
    ucnv_resetFromUnicode(icu);
    const int32_t n = ucnv_fromUChars(icu, out.data(), static_cast<int32_t>(out.size()),
                                      reinterpret_cast<const UChar*>(text.data()),
                                      static_cast<int32_t>(text.size()), &err);
    out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
    return out;
}

const std::vector<std::string>& Big5Codec::encodingsOf(char16_t ch) {
    if (auto it = encodings_.find(ch); it != encodings_.end()) return it->second;
    const auto [first, last] =
        std::equal_range(table::kCodes, table::kCodes + table::kCodeCount, ch, ByKey{});
    std::vector<std::string> found;
    for (const table::Code* code = first; code != last; ++code)
        found.push_back(code->sequence < 0x100
                            ? std::string(1, static_cast<char>(code->sequence))
                            : std::string{static_cast<char>(code->sequence >> 8),
                                          static_cast<char>(code->sequence & 0xFF)});
    return encodings_.emplace(ch, std::move(found)).first->second;
}

const std::vector<char16_t>& Big5Codec::charactersLoweringTo(char16_t lowered) {
    if (auto it = byLowerCase_.find(lowered); it != byLowerCase_.end()) return it->second;
    const auto [first, last] = std::equal_range(
        table::kLowerings, table::kLowerings + table::kLoweringCount, lowered, ByKey{});
    std::vector<char16_t> found;
    for (const table::Lowering* l = first; l != last; ++l) found.push_back(l->ch);
    return byLowerCase_.emplace(lowered, std::move(found)).first->second;
}

}  // namespace qb
