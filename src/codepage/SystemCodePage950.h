#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace qb {

// The system's own code page 950, which the generated table is taken from and which answers
// what the table cannot: byte sequences without a character, characters without a code. The
// build picks the converter for the operating system (codepage/icu: ICU's "windows-950").
class SystemCodePage950 final {
  public:
    SystemCodePage950();
    ~SystemCodePage950();
    SystemCodePage950(const SystemCodePage950&) = delete;
    SystemCodePage950& operator=(const SystemCodePage950&) = delete;

    // Decodes into `out`, which has room for a unit a byte, and returns how many it wrote.
    // Every sequence it cannot read becomes one U+FFFD. Throws std::runtime_error when the
    // system has no such code page.
    size_t decode(std::string_view bytes, char16_t* out);
    // A character without a code becomes what the code page writes for it: its substitution
    // character, or nothing for an invisible one. Empty when the conversion fails.
    std::string encode(std::u16string_view text);

  private:
    struct Converter;
    // Opened the first time a text needs it: most texts are read from the table alone, and
    // opening the converter is a good part of a short lookup.
    Converter& converter();

    std::unique_ptr<Converter> converter_;
};

}  // namespace qb
