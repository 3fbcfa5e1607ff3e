#pragma once

#include <cstddef>
#include <cstdint>

#include "lookup/SimdLevel.h"

namespace qb {

// The search for byte sequences that code page 950 cannot read, 64 bytes at a time. Where a
// sequence starts is not known without walking from the start of the line, but it can be
// worked out a block at a time: every byte below 0x80 ends a sequence (it reads alone or is
// a trail byte), so in a run of high bytes the leads are the first, third, fifth … byte. Up
// to the first sequence that cannot be read this is exact, and that is all the search needs.
// It reads the code page's generated table (Big5Table.h).
struct Big5Blocks {
    // How a block's bytes are sorted out. `General` takes any table. `Best` takes the way of
    // the table's usual shape (below), about half the instructions, where the table has it,
    // and `General` where not. The tests hold the two to each other.
    enum class Path { Best, General };

    // `asciiReads`: every byte below 0x80 reads alone, which the rule above needs. The
    // search takes a block in two 32-byte halves at `SimdLevel::Avx2`; at `Avx512`, the
    // usual shape's way in one 64-byte register, compared straight into bit masks (a tenth
    // quicker again); below AVX2, not at all.
    Big5Blocks(bool asciiReads, SimdLevel level, Path path = Path::Best);

    // The lead bytes whose pair with every trail byte reads, one bit a byte, laid out for a
    // 16-entry byte shuffle: entry `low nibble`, bit `high nibble - 8`.
    uint8_t fullRow[16] = {};
    // Every byte below 0x80 reads alone, and the level is AVX2 or above.
    bool usable = false;

    // The usual shape: of the high bytes that can follow a lead (0xA1–0xFE), all but at most
    // one have full rows. Then a byte that can follow a lead and is not that one is also,
    // where it stands for a lead, one whose pairs all read: the test of a trail, less one
    // compare, serves for a lead in place of the full-row lookup. Leads in 0x81–0xA0 fail it
    // and are looked up one by one; they start the rows text seldom holds.
    bool fewDoubtful = false;
    uint8_t doubtful = 0x80;  // that one; 0x80, which fails the test anyway, where there is none
    // The usual shape's way in one 64-byte register.
    bool wide = false;

    static constexpr size_t kBlock = 64;

    // Steps over whole blocks from `i`, where a sequence starts, while they read. Returns
    // true with `found` at the first sequence that cannot be read; false with `i` at a
    // sequence start where the byte-by-byte walk must take over (fewer than a block left, or a
    // block where a high byte that reads alone stands where a lead would, which the rule above
    // does not cover; where a trail would, its pair cannot be read).
    bool skipReadable(const unsigned char* s, size_t n, size_t& i, size_t& found) const;
};

}  // namespace qb
