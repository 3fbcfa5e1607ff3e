#pragma once

#include <cstddef>
#include <cstdint>

// The code page 950 table, generated from ICU's windows-950 converter when the program is
// built (Big5TableGenerator.cpp), so that a lookup reads it from the program instead of
// decoding 24,000 codes through ICU at every start. The same ICU is linked into the program,
// and the tests hold the table to the converter on every single byte and every pair.
namespace qb::big5table {

// A single byte that decodes alone to one character, and that character.
extern const bool kReadsAlone[256];
extern const char16_t kSingle[256];
// By lead << 8 | trail: the character the pair decodes to, 0 when it is not one character.
extern const char16_t kPairs[0x10000];
// The same, a bit a pair: bit (pair & 63) of entry pair >> 6.
extern const uint64_t kReadablePairs[0x10000 / 64];
inline bool pairReads(unsigned pair) {
    return (kReadablePairs[pair >> 6] >> (pair & 63) & 1) != 0;
}
// A lead byte that makes a character with every byte that can follow it (0x40–0x7E,
// 0xA1–0xFE).
extern const bool kFullRow[256];

// Every sequence that decodes to one character, by character and then by bytes.
struct Code {
    char16_t ch;
    uint16_t sequence;  // a single byte, or lead << 8 | trail
};
extern const Code kCodes[];
extern const size_t kCodeCount;
// Every character the code page writes, with the one sequence it writes for it, by
// character. A character missing here has no code: the system's converter writes it.
extern const Code kEncodings[];
extern const size_t kEncodingCount;

// Every character of the table under its simple lower-case form, by that form and then by
// character, each once.
struct Lowering {
    char16_t lowered;
    char16_t ch;
};
extern const Lowering kLowerings[];
extern const size_t kLoweringCount;

}  // namespace qb::big5table
