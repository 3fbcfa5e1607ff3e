#include "codepage/SystemCodePage950.h"

#include <windows.h>

#include <stdexcept>

namespace qb {
namespace {

constexpr UINT kCodePage = 950;
// A character without a code is written as the substitution character, never as a look-alike
// ("Ā" as "A"), so that what is written reads back as what was meant or as nothing.
constexpr DWORD kNoBestFit = WC_NO_BEST_FIT_CHARS;

bool canFollowLead(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

}  // namespace

// Windows' own converter reads every sequence the generated table reads, alike (measured with
// Wine 8.0 on every single byte and every pair). What it cannot read it makes into its default
// character and, after a lead byte, it swallows whatever byte follows, a field's "=" too. The
// program keeps its one rule there on every system: each sequence it cannot read is one
// U+FFFD, and a lead byte before a byte that cannot follow a lead stands alone.
struct SystemCodePage950::Converter {
    wchar_t defaultCharacter = 0;

    Converter() {
        CPINFOEXW info{};
        if (!IsValidCodePage(kCodePage) || !GetCPInfoExW(kCodePage, 0, &info))
            throw std::runtime_error("this system has no code page 950");
        defaultCharacter = info.UnicodeDefaultChar;
    }

    // The character that one or two bytes read as, or U+FFFD.
    wchar_t read(const char* bytes, int size) const {
        wchar_t out[2];
        if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, size, out, 2) == 1)
            return out[0];
        // Wine's strict reading refuses some bytes that its plain reading maps (0xFF to
        // U+F8F8): a character other than the default one is a reading.
        if (MultiByteToWideChar(kCodePage, 0, bytes, size, out, 2) == 1 &&
            out[0] != defaultCharacter)
            return out[0];
        return u'\uFFFD';
    }
};

SystemCodePage950::SystemCodePage950() = default;
SystemCodePage950::~SystemCodePage950() = default;

SystemCodePage950::Converter& SystemCodePage950::converter() {
    if (!converter_) converter_ = std::make_unique<Converter>();
    return *converter_;
}

size_t SystemCodePage950::decode(std::string_view bytes, char16_t* out) {
    if (bytes.empty()) return 0;
    const Converter& system = converter();
    char16_t* to = out;
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool pair = IsDBCSLeadByteEx(kCodePage, b) && i + 1 < bytes.size() &&
                          canFollowLead(static_cast<unsigned char>(bytes[i + 1]));
        const int size = pair ? 2 : 1;
        *to++ = static_cast<char16_t>(system.read(bytes.data() + i, size));
        i += static_cast<size_t>(size);
    }
    return static_cast<size_t>(to - out);
}

std::string SystemCodePage950::encode(std::u16string_view text) {
    if (text.empty()) return {};
    converter();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(kCodePage, kNoBestFit, wide, units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kCodePage, kNoBestFit, wide, units, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace qb
