#include "codepage/SystemCodePage950.h"

#include <unicode/ucnv.h>

#include "codepage/icu/Windows950.h"

namespace qb {

struct SystemCodePage950::Converter {
    UConverter* const icu = openWindows950();
    Converter() = default;
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { ucnv_close(icu); }
};

SystemCodePage950::SystemCodePage950() = default;
SystemCodePage950::~SystemCodePage950() = default;

SystemCodePage950::Converter& SystemCodePage950::converter() {
    if (!converter_) converter_ = std::make_unique<Converter>();
    return *converter_;
}

size_t SystemCodePage950::decode(std::string_view bytes, char16_t* out) {
    if (bytes.empty()) return 0;
    UConverter* const icu = converter().icu;
    ucnv_resetToUnicode(icu);
    UChar* target = reinterpret_cast<UChar*>(out);
    const char* source = bytes.data();
    UErrorCode err = U_ZERO_ERROR;
    // Every byte yields at most one UTF-16 unit in this code page.
    ucnv_toUnicode(icu, &target, target + bytes.size(), &source, bytes.data() + bytes.size(),
                   nullptr, true, &err);
    return static_cast<size_t>(target - reinterpret_cast<UChar*>(out));
}

std::string SystemCodePage950::encode(std::u16string_view text) {
    // Two bytes a unit at most: a character takes one or two, and so does the substitution.
    std::string out(text.size() * 2 + 1, '\0');
    UErrorCode err = U_ZERO_ERROR;
    UConverter* const icu = converter().icu;
    ucnv_resetFromUnicode(icu);
    const int32_t n = ucnv_fromUChars(icu, out.data(), static_cast<int32_t>(out.size()),
                                      reinterpret_cast<const UChar*>(text.data()),
                                      static_cast<int32_t>(text.size()), &err);
    out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
    return out;
}

}  // namespace qb
