#include "Big5Codec.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb {
namespace {

// Copies bytes below 0x80 to UTF-16 units sixteen at a time while there are sixteen.
inline void widenAscii(const unsigned char*& p, const unsigned char* end, char16_t*& to) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (_mm_movemask_epi8(v) != 0) return;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_unpackhi_epi8(v, zero));
        p += 16, to += 16;
    }
#else
    uint64_t block;
    while (end - p >= 8 && (std::memcpy(&block, p, 8), (block & 0x8080808080808080u) == 0)) {
        for (int k = 0; k < 8; ++k) to[k] = p[k];
        p += 8, to += 8;
    }
#endif
}

constexpr char16_t kReplacement = u'\uFFFD';

// ICU substitutes U+001A for some single illegal bytes; the program promises U+FFFD for
// every byte sequence it cannot read, whatever its length.
void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
    *err = U_ZERO_ERROR;
    const UChar replacement = kReplacement;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

}  // namespace

Big5Codec::Big5Codec() {
    UErrorCode err = U_ZERO_ERROR;
    converter_ = ucnv_open("windows-950", &err);
    if (U_FAILURE(err) || converter_ == nullptr)
        throw std::runtime_error("ICU has no windows-950 converter");
    ucnv_setToUCallBack(converter_, substituteReplacementCharacter, nullptr, nullptr, nullptr,
                        &err);
    ucnv_setFromUCallBack(converter_, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                          &err);
    if (U_FAILURE(err)) throw std::runtime_error("cannot set up the windows-950 converter");
}

Big5Codec::~Big5Codec() { ucnv_close(converter_); }

std::u16string Big5Codec::decode(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(decodeViaIcu(bytes, out.data()));
    return out;
}

size_t Big5Codec::decodeViaIcu(std::string_view bytes, char16_t* out) {
    if (bytes.empty()) return 0;
    ucnv_resetToUnicode(converter_);
    UChar* target = reinterpret_cast<UChar*>(out);
    const char* source = bytes.data();
    UErrorCode err = U_ZERO_ERROR;
    // Every byte yields at most one UTF-16 unit in this code page.
    ucnv_toUnicode(converter_, &target, target + bytes.size(), &source, bytes.data() + bytes.size(),
                   nullptr, true, &err);
    return static_cast<size_t>(target - reinterpret_cast<UChar*>(out));
}

void Big5Codec::decodeInto(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size());
    out.resize(decodeTo(bytes, out.data()));
}

// The code page has no shift states: where every sequence is one of the table's, the
// converter's answer is the table's, one sequence at a time. Whatever the converter does
// with a sequence it cannot read (how many bytes one U+FFFD stands for) is left to it.
size_t Big5Codec::decodeTo(std::string_view bytes, char16_t* out) {
    if (!singleBytesBuilt_) buildSingleByteTable();
    char16_t* to = out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        // English text, sixteen bytes at a time, where every ASCII byte reads as itself.
        if (asciiIsItself_) {
            widenAscii(p, end, to);
            while (p < end && *p < 0x80) *to++ = *p++;
            if (p == end) break;
        }
        // Chinese text, a pair at a time, once the whole table is there.
        if (reverseBuilt_) {
            while (end - p >= 2 && *p >= 0x80) {
                const char16_t ch = pairs_[*p << 8 | p[1]];
                if (ch == 0) break;
                *to++ = ch;
                p += 2;
            }
            if (p == end) break;
        }
        const unsigned b = *p;
        if (singleReads_[b]) {
            *to++ = single_[b];
            ++p;
            continue;
        }
        if (b >= 0x80 && end - p >= 2) {
            // A lookup that decodes a handful of lines is done sooner by ICU than by building
            // the table; one that decodes many builds it all at once.
            if (!rowDecoded_[b]) {
                if (++linesDecodedByIcu_ <= kLinesBeforeTable) return decodeViaIcu(bytes, out);
                buildReverseTable();
            }
            if (const char16_t ch = pairs_[b << 8 | p[1]]) {
                *to++ = ch;
                p += 2;
                continue;
            }
        }
        return decodeViaIcu(bytes, out);
    }
    return static_cast<size_t>(to - out);
}

size_t Big5Codec::findUnreadable(std::string_view bytes, size_t from) {
    if (!reverseBuilt_) buildReverseTable();
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    auto pairReads = [&](size_t at) {
        const unsigned pair = s[at] << 8 | s[at + 1];
        return (readablePairs_[pair >> 6] >> (pair & 63) & 1) != 0;
    };
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
            while (i < until && i + 1 < n && s[i] >= 0x80 && pairReads(i)) i += 2;
            if (i >= until) break;
            if (singleReads_[s[i]]) {
                ++i;
                continue;
            }
            if (i + 1 < n && pairReads(i)) {
                i += 2;
                continue;
            }
            return i;
        }
    }
    return std::string_view::npos;
}

std::string Big5Codec::encode(std::u16string_view text) {
    std::string out(text.size() * 2 + 1, '\0');
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter_);
    const int32_t n = ucnv_fromUChars(converter_, out.data(), static_cast<int32_t>(out.size()),
                                      reinterpret_cast<const UChar*>(text.data()),
                                      static_cast<int32_t>(text.size()), &err);
    out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
    return out;
}

// Decodes one row of the table: every single byte (lead 0), or every pair of one lead byte,
// each sequence followed by a line feed, in one call. The offsets tell which characters came
// from a whole sequence: those whose next character is the line feed right after it. A row
// at a time keeps the buffers small and on the stack.
void Big5Codec::decodeRow(int lead) {
    constexpr int kFirstTrail = 0x40, kLastTrail = 0xFE;
    constexpr int kRowMax = std::max(256 * 2, (kLastTrail - kFirstTrail + 1) * 3);
    char probe[kRowMax];
    UChar chars[kRowMax];
    int32_t offsets[kRowMax];
    rowDecoded_[lead] = true;
    if (lead != 0 && !pairs_) {
        pairs_ = std::make_unique<char16_t[]>(0x10000);
        readablePairs_.assign(0x10000 / 64, 0);
    }
    const int length = lead == 0 ? 1 : 2;
    int size = 0;
    for (int b = length == 1 ? 0 : kFirstTrail; b <= (length == 1 ? 255 : kLastTrail); ++b) {
        if (length == 2) probe[size++] = static_cast<char>(lead);
        probe[size++] = static_cast<char>(b);
        probe[size++] = '\n';
    }
    ucnv_resetToUnicode(converter_);
    UChar* target = chars;
    const char* source = probe;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(converter_, &target, chars + kRowMax, &source, probe + size, offsets, true,
                   &err);
    ucnv_resetToUnicode(converter_);
    const int count = static_cast<int>(target - chars);
    for (int i = 0; i + 1 < count; ++i) {
        // Where the probe's sequence starts (each is followed by a line feed), found with a
        // constant divisor: a division for each of 24,000 codes was a good part of the table.
        const int start = offsets[i] - (length == 1 ? offsets[i] % 2 : offsets[i] % 3);
        const bool wholeSequence = offsets[i] == start && offsets[i + 1] == start + length;
        if (!wholeSequence || chars[i] == kReplacement) continue;
        const auto sequence = static_cast<uint16_t>(
            length == 1 ? static_cast<uint8_t>(probe[start])
                        : lead << 8 | static_cast<uint8_t>(probe[start + 1]));
        // Most of the table is Han ideographs, which have no letter case.
        const char16_t ch = chars[i];
        const bool han = ch >= 0x3400 && ch <= 0x9FFF;
        codes_.push_back({ch, han ? ch : static_cast<char16_t>(u_tolower(ch)), sequence});
        if (length == 1) {
            singleReads_[sequence] = true;
            single_[sequence] = ch;
        } else {
            pairs_[sequence] = ch;
            readablePairs_[sequence >> 6] |= uint64_t{1} << (sequence & 63);
        }
    }
}

// An English lookup asks only about ASCII characters. In code page 950 they, and the
// characters whose lower case is ASCII, have single-byte codes only: no pair reads as one of
// them (ScannerDifferential.CodecAgreesWithTheDecoderOnEveryCode checks this against every
// pair). So the single bytes answer for them, and an English lookup does not pay for
// decoding the thirteen thousand pairs.
void Big5Codec::buildSingleByteTable() {
    singleBytesBuilt_ = true;
    decodeRow(0);
    for (const Code& code : codes_)
        if (code.ch < 0x80 || code.lowered < 0x80) asciiCodes_.push_back(code);
    asciiReads_ = std::all_of(singleReads_, singleReads_ + 0x80, [](bool reads) { return reads; });
    asciiIsItself_ = asciiReads_;
    for (char16_t b = 0; b < 0x80; ++b) asciiIsItself_ &= single_[b] == b;
}

void Big5Codec::buildReverseTable() {
    if (!singleBytesBuilt_) buildSingleByteTable();
    reverseBuilt_ = true;
    codes_.reserve(codes_.size() + 20000);
    for (int lead = 0x80; lead <= 0xFF; ++lead) ensureRow(lead);

    blocks_.readablePairs = readablePairs_.data();
    blocks_.readsAlone = singleReads_;
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        if (singleReads_[b]) continue;
        bool full = true;
        for (unsigned t = 0x40; t <= 0xFE && full; ++t)
            full = (t > 0x7E && t < 0xA1) || pairs_[b << 8 | t] != 0;
        if (full) blocks_.setFullRow(static_cast<unsigned char>(b));
    }
    blocks_.usable = asciiReads_ && Big5Blocks::machineCanRun();
}

const std::vector<Big5Codec::Code>& Big5Codec::codesFor(char16_t ch) {
    if (ch < 0x80) {
        if (!singleBytesBuilt_) buildSingleByteTable();
        return asciiCodes_;
    }
    if (!reverseBuilt_) buildReverseTable();
    return codes_;
}

const std::vector<std::string>& Big5Codec::encodingsOf(char16_t ch) {
    if (auto it = encodings_.find(ch); it != encodings_.end()) return it->second;
    // Rows decoded early for decoding came first, so the table is not in byte order.
    std::vector<Code> codes;
    for (const Code& code : codesFor(ch))
        if (code.ch == ch) codes.push_back(code);
    std::sort(codes.begin(), codes.end(),
              [](const Code& a, const Code& b) { return a.sequence < b.sequence; });
    std::vector<std::string> found;
    for (const Code& code : codes) found.push_back(code.bytes());
    return encodings_.emplace(ch, std::move(found)).first->second;
}

const std::vector<char16_t>& Big5Codec::charactersLoweringTo(char16_t lowered) {
    if (auto it = byLowerCase_.find(lowered); it != byLowerCase_.end()) return it->second;
    std::vector<char16_t> found;
    for (const Code& code : codesFor(lowered))
        if (code.lowered == lowered && std::find(found.begin(), found.end(), code.ch) == found.end())
            found.push_back(code.ch);
    return byLowerCase_.emplace(lowered, std::move(found)).first->second;
}

}  // namespace qb
