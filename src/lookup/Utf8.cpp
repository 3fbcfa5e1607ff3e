#include "Utf8.h"

#include <unicode/ustring.h>

#include <cstdint>
#include <cstring>

namespace qb {

std::u16string fromUtf8(std::string_view text) {
    std::u16string out(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                         &err);
    out.resize(U_SUCCESS(err) ? static_cast<size_t>(length) : 0);
    return out;
}

std::string toUtf8(std::u16string_view text) {
    std::string out(text.size() * kMostUtf8PerUnit, '\0');
    out.resize(static_cast<size_t>(writeUtf8(text, out.data()) - out.data()));
    return out;
}

char* writeUtf8(std::u16string_view text, char* out) {
    auto put = [&](unsigned byte) { *out++ = static_cast<char>(byte); };
    for (size_t i = 0; i < text.size(); ++i) {
        // Headwords are English: four units at a time while they are ASCII.
        while (i + 4 <= text.size()) {
            uint64_t units;
            std::memcpy(&units, text.data() + i, 8);
            if (units & 0xFF80FF80FF80FF80u) break;
            for (int k = 0; k < 4; ++k) *out++ = static_cast<char>(units >> (16 * k));
            i += 4;
        }
        if (i == text.size()) break;
        char32_t c = text[i];
        if (c < 0x80) {
            put(c);
            continue;
        }
        if (c < 0x800) {
            put(0xC0 | c >> 6);
            put(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            const bool pair = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
            if (!pair) {
                c = 0xFFFD;
            } else {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
                put(0xF0 | c >> 18);
                put(0x80 | (c >> 12 & 0x3F));
                put(0x80 | (c >> 6 & 0x3F));
                put(0x80 | (c & 0x3F));
                continue;
            }
        }
        put(0xE0 | c >> 12);
        put(0x80 | (c >> 6 & 0x3F));
        put(0x80 | (c & 0x3F));
    }
    return out;
}

size_t utf8SliceEnd(std::u16string_view text, size_t most) {
    if (text.size() <= most) return text.size();
    const char16_t last = text[most - 1];
    return most > 1 && last >= 0xD800 && last <= 0xDBFF ? most - 1 : most;
}

}  // namespace qb
