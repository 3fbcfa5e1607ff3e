#include "Big5Codec.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

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

const std::vector<std::string> kNoEncodings;
const std::vector<char16_t> kNoCharacters;

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
    // ones followed directly by the line feed's offset.
    std::string probe;
    std::vector<std::string> sequences;
    for (int b = 0; b < 256; ++b) sequences.emplace_back(1, static_cast<char>(b));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            sequences.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    std::vector<int32_t> starts;
    for (const auto& s : sequences) {
        starts.push_back(static_cast<int32_t>(probe.size()));
        probe += s;
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
    const size_t count = static_cast<size_t>(target - reinterpret_cast<UChar*>(chars.data()));

    size_t next = 0;  // index into sequences, advanced as the offsets pass their starts
    for (size_t i = 0; i + 1 < count; ++i) {
        while (next + 1 < sequences.size() && starts[next + 1] <= offsets[i]) ++next;
        const auto& seq = sequences[next];
        const bool wholeSequence = offsets[i] == starts[next] &&
                                   offsets[i + 1] == starts[next] + static_cast<int32_t>(seq.size());
        if (!wholeSequence || chars[i] == kReplacement) continue;
        encodings_[chars[i]].push_back(seq);
    }
    for (const auto& [ch, seqs] : encodings_)
        byLowerCase_[static_cast<char16_t>(u_tolower(ch))].push_back(ch);
}

const std::vector<std::string>& Big5Codec::encodingsOf(char16_t ch) {
    if (!reverseBuilt_) buildReverseTable();
    auto it = encodings_.find(ch);
    return it == encodings_.end() ? kNoEncodings : it->second;
}

const std::vector<char16_t>& Big5Codec::charactersLoweringTo(char16_t lowered) {
    if (!reverseBuilt_) buildReverseTable();
    auto it = byLowerCase_.find(lowered);
    return it == byLowerCase_.end() ? kNoCharacters : it->second;
}

}  // namespace qb
