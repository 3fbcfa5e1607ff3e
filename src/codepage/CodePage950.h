#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "codepage/SystemCodePage950.h"

namespace qb {

// Code page 950 (Big5 with Microsoft's extensions): the encoding of the library files, of the
// tip in a notification-area record and of the registry's text. Both ways go through the
// generated table (Big5Table.h) and leave to the system's converter only what the table cannot
// answer, so every part of the program converts alike. Bytes that are not valid Big5 decode to
// U+FFFD, so no input is ever rejected; a character without a code is written as the system
// writes it (the substitution character '?', or nothing for an invisible one).
class CodePage950 final {
  public:
    CodePage950();

    std::u16string decode(std::string_view bytes);
    // The same into `out`, which keeps its storage from one text to the next.
    void decodeInto(std::string_view bytes, std::u16string& out);
    // The same into `out`, which has room for a unit a byte; returns how many it wrote.
    size_t decodeTo(std::string_view bytes, char16_t* out);

    std::string encode(std::u16string_view text);

    // Through the system's converter alone, byte by byte as it reads them: the plain decoder
    // that the table is held to and that the reference scanner trusts.
    std::u16string decodeBySystem(std::string_view bytes);

  private:
    bool asciiIsItself_ = false;  // every byte below 0x80 reads alone as the same character
    SystemCodePage950 system_;
};

}  // namespace qb
