#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Big5Blocks.h"

struct UConverter;

namespace qb {

// Code page 950 (Big5 with Microsoft's extensions), the encoding of the library files.
// Decoding goes through ICU's "windows-950" table; "ibm-950" is a different table and must
// not be used. Bytes that are not valid Big5 decode to U+FFFD, so no input is ever rejected.
class Big5Codec final {
public:
    Big5Codec();
    ~Big5Codec();
    Big5Codec(const Big5Codec&) = delete;
    Big5Codec& operator=(const Big5Codec&) = delete;

    // Through ICU, byte by byte as the converter reads them: the plain decoder that the
    // reference scanner and the tests trust.
    std::u16string decode(std::string_view bytes);
    // The same result, from the code table for text whose every sequence can be read and
    // through ICU otherwise; the fast scanner decodes a million lines with it.
    void decodeInto(std::string_view bytes, std::u16string& out);
    // The same into `out`, which has room for a unit a byte; returns how many it wrote.
    size_t decodeTo(std::string_view bytes, char16_t* out);

    // Where the first sequence at or after `from` starts that reads as U+FFFD (a byte or a
    // pair the code page has no character for), or npos. `from` must be where a sequence
    // starts: the start of the text or of a line.
    size_t findUnreadable(std::string_view bytes, size_t from);

    // Every byte sequence that decodes to `ch`. Several Big5 codes can share one character,
    // and one that is missing from the table has none. The table is built on first use.
    const std::vector<std::string>& encodingsOf(char16_t ch);

    // Every character of the table whose lower-case form equals `lowered`.
    const std::vector<char16_t>& charactersLoweringTo(char16_t lowered);

    // Encodes text for the platform's code-page calls; a character without a code becomes
    // the code page's substitution character.
    std::string encode(std::u16string_view text);

private:
    void decodeRow(int lead);
    size_t decodeViaIcu(std::string_view bytes, char16_t* out);
    // The row of `lead` in the decoding table, decoded the first time a text uses it.
    void ensureRow(int lead) {
        if (!rowDecoded_[static_cast<size_t>(lead)]) decodeRow(lead);
    }
    void buildSingleByteTable();
    void buildReverseTable();

    // One byte sequence of the table and the character it decodes to.
    struct Code {
        char16_t ch;
        char16_t lowered;
        uint16_t sequence;  // a single byte, or lead byte << 8 | trail byte

        std::string bytes() const {
            return sequence < 0x100 ? std::string(1, static_cast<char>(sequence))
                                    : std::string{static_cast<char>(sequence >> 8),
                                                  static_cast<char>(sequence & 0xFF)};
        }
    };

    // The codes that can decode to `ch` or to a character with the same lower case.
    const std::vector<Code>& codesFor(char16_t ch);

    UConverter* converter_;
    bool singleBytesBuilt_ = false;
    bool rowDecoded_[256] = {};
    // The decoding table: a single byte that reads alone as a character, and a lead/trail
    // pair's character (0: not one character).
    bool singleReads_[256] = {};
    bool asciiReads_ = false;     // every byte below 0x80 reads alone
    bool asciiIsItself_ = false;  // ... and as the same character
    char16_t single_[256] = {};
    std::unique_ptr<char16_t[]> pairs_;
    std::vector<uint64_t> readablePairs_;  // a bit per pair, for the search for unreadable ones
    Big5Blocks blocks_;                    // the same search, a block at a time
    static constexpr int kLinesBeforeTable = 200;
    int linesDecodedByIcu_ = 0;
    bool reverseBuilt_ = false;
    std::vector<Code> codes_;       // single bytes first, then rows in the order decoded
    std::vector<Code> asciiCodes_;  // the single bytes that read as or lower to ASCII
    // Answers given so far; a lookup asks about a handful of characters.
    std::unordered_map<char16_t, std::vector<std::string>> encodings_;
    std::unordered_map<char16_t, std::vector<char16_t>> byLowerCase_;
};

}  // namespace qb
