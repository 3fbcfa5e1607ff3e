#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "codepage/CodePage950.h"
#include "lookup/Big5Blocks.h"

namespace qb {

// What the scanners know of code page 950, the encoding of the library files: how a line is
// decoded (CodePage950, the program's one conversion), which bytes a character can be stored
// as, and where a sequence lies that the code page cannot read.
class Big5Codec final {
  public:
    // `level` and `path`: the instructions the search for unreadable sequences is built with,
    // and how it sorts out its blocks (Big5Blocks).
    explicit Big5Codec(SimdLevel level = processSimdLevel(),
                       Big5Blocks::Path path = Big5Blocks::Path::Best);
    Big5Codec(const Big5Codec&) = delete;
    Big5Codec& operator=(const Big5Codec&) = delete;

    // Through the system's converter alone, byte by byte as it reads them: the plain decoder
    // that the reference scanner and the tests trust.
    std::u16string decode(std::string_view bytes) { return codePage_.decodeBySystem(bytes); }
    // The same result from the code table, into `out`, which has room for a unit a byte;
    // returns how many it wrote. The fast scanner decodes a million lines with it.
    size_t decodeTo(std::string_view bytes, char16_t* out) {
        return codePage_.decodeTo(bytes, out);
    }

    // Where the first sequence at or after `from` starts that reads as U+FFFD (a byte or a
    // pair the code page has no character for), or npos. `from` must be where a sequence
    // starts: the start of the text or of a line.
    size_t findUnreadable(std::string_view bytes, size_t from);

    // True when `byte` is ASCII, reads alone and no pair has it as its second byte: wherever
    // it stands, it is that one character. (The converter takes an ASCII byte after a lead
    // it cannot follow as a character of its own, not into the lead's U+FFFD; a high byte
    // there it may take.)
    static bool standsAlone(char byte);

    // Every byte sequence that decodes to `ch`, in byte order. Several Big5 codes can share
    // one character, and one that is missing from the table has none.
    const std::vector<std::string>& encodingsOf(char16_t ch);

    // Every character of the table whose lower-case form equals `lowered`.
    const std::vector<char16_t>& charactersLoweringTo(char16_t lowered);

  private:
    CodePage950 codePage_;
    bool asciiReads_ = false;  // every byte below 0x80 reads alone
    Big5Blocks blocks_;        // the search for unreadable sequences, a block at a time
    // Answers given so far; a lookup asks about a handful of characters.
    std::unordered_map<char16_t, std::vector<std::string>> encodings_;
    std::unordered_map<char16_t, std::vector<char16_t>> byLowerCase_;
};

}  // namespace qb
