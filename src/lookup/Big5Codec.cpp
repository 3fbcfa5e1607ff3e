#include "Big5Codec.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <stdexcept>

namespace qb {
namespace {

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
    std::u16string out;
    decodeInto(bytes, out);
    return out;
}

void Big5Codec::decodeInto(std::string_view bytes, std::u16string& out) {
    // Every byte yields at most one UTF-16 unit in this code page.
    out.resize(bytes.size());
    if (bytes.empty()) return;
    ucnv_resetToUnicode(converter_);
    UChar* target = reinterpret_cast<UChar*>(out.data());
    const char* source = bytes.data();
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(converter_, &target, target + out.size(), &source, bytes.data() + bytes.size(),
                   nullptr, true, &err);
    out.resize(static_cast<size_t>(target - reinterpret_cast<UChar*>(out.data())));
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

void Big5Codec::buildReverseTable() {
    reverseBuilt_ = true;
    // Decode every single byte and every lead/trail pair, each followed by a line feed, in
    // one call. The offsets tell which characters came from a whole sequence: those are the
    // ones followed directly by the line feed's offset. Kept as one flat list, because a
    // lookup asks about a few characters and must not pay for a map of all of them.
    constexpr int kFirstLead = 0x81, kLastLead = 0xFE, kFirstTrail = 0x40, kLastTrail = 0xFE;
    constexpr size_t kPairs = size_t(kLastLead - kFirstLead + 1) * (kLastTrail - kFirstTrail + 1);
    std::string probe;
    probe.reserve(256 * 2 + kPairs * 3);
    for (int b = 0; b < 256; ++b) {
        probe += static_cast<char>(b);
        probe += '\n';
    }
    for (int lead = kFirstLead; lead <= kLastLead; ++lead)
        for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            probe += static_cast<char>(lead);
            probe += static_cast<char>(trail);
            probe += '\n';
        }
    std::u16string chars(probe.size(), u'\0');
    std::vector<int32_t> offsets(probe.size());
    ucnv_resetToUnicode(converter_);
    UChar* target = reinterpret_cast<UChar*>(chars.data());
    const char* source = probe.data();
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(converter_, &target, target + chars.size(), &source,
                   probe.data() + probe.size(), offsets.data(), true, &err);
    ucnv_resetToUnicode(converter_);
    const size_t count = static_cast<size_t>(target - reinterpret_cast<UChar*>(chars.data()));

    // Where each sequence starts in the probe: single bytes every 2 bytes, then pairs every 3.
    auto sequenceAt = [&](int32_t offset, int32_t& start, uint8_t& length) {
        if (offset < 512) {
            start = offset & ~1;
            length = 1;
        } else {
            start = 512 + (offset - 512) / 3 * 3;
            length = 2;
        }
    };
    codes_.reserve(16384);
    for (size_t i = 0; i + 1 < count; ++i) {
        int32_t start;
        uint8_t length;
        sequenceAt(offsets[i], start, length);
        const bool wholeSequence = offsets[i] == start && offsets[i + 1] == start + length;
        if (!wholeSequence || chars[i] == kReplacement) continue;
        Code code{chars[i], static_cast<char16_t>(u_tolower(chars[i])), {probe[start], 0}, length};
        if (length == 2) code.bytes[1] = probe[start + 1];
        codes_.push_back(code);
    }
}

const std::vector<std::string>& Big5Codec::encodingsOf(char16_t ch) {
    if (auto it = encodings_.find(ch); it != encodings_.end()) return it->second;
    if (!reverseBuilt_) buildReverseTable();
    std::vector<std::string> found;
    for (const Code& code : codes_)
        if (code.ch == ch) found.emplace_back(code.bytes, code.length);
    return encodings_.emplace(ch, std::move(found)).first->second;
}

const std::vector<char16_t>& Big5Codec::charactersLoweringTo(char16_t lowered) {
    if (auto it = byLowerCase_.find(lowered); it != byLowerCase_.end()) return it->second;
    if (!reverseBuilt_) buildReverseTable();
    std::vector<char16_t> found;
    for (const Code& code : codes_)
        if (code.lowered == lowered && std::find(found.begin(), found.end(), code.ch) == found.end())
            found.push_back(code.ch);
    return byLowerCase_.emplace(lowered, std::move(found)).first->second;
}

}  // namespace qb
