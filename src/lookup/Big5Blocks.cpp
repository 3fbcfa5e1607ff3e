#include "lookup/Big5Blocks.h"

#include "codepage/Big5Table.h"

#if defined(QB_SIMD_X86)
#include <immintrin.h>
#endif

namespace qb {

Big5Blocks::Big5Blocks(bool asciiReads, SimdLevel level, Path path) {
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        if (big5table::kFullRow[b]) fullRow[b & 15] |= uint8_t(1u << ((b >> 4) - 8));
    int few = 0;
    for (unsigned b = 0xA1; b <= 0xFE; ++b)
        if (!big5table::kFullRow[b] && few++ == 0) doubtful = uint8_t(b);
    fewDoubtful = path != Path::General && few <= 1;
    usable = asciiReads && level >= SimdLevel::Avx2;
    wide = usable && fewDoubtful && level >= SimdLevel::Avx512;
}

#if defined(QB_SIMD_X86)

namespace {

// A bit per byte of `bytes` that is in `set` (see Big5Blocks).
QB_TARGET_AVX2 inline uint32_t inSet(__m256i bytes, __m256i set) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    // Entry h of `highBit` is the bit of high nibble h; none for bytes below 0x80.
    const __m256i highBit = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 4, 8, 16, 32, 64, -128,
                                             0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m256i row = _mm256_shuffle_epi8(set, _mm256_and_si256(bytes, nibble));
    const __m256i bit =
        _mm256_shuffle_epi8(highBit, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble));
    const __m256i missing = _mm256_cmpeq_epi8(_mm256_and_si256(row, bit), _mm256_setzero_si256());
    return ~static_cast<uint32_t>(_mm256_movemask_epi8(missing));
}

// The bytes from `first` to `last`: moved so that `first` is the lowest signed byte, the
// range is one signed compare.
template <unsigned char first, unsigned char last>
QB_TARGET_AVX2 inline __m256i between(__m256i x) {
    const __m256i moved = _mm256_add_epi8(x, _mm256_set1_epi8(char(0x80 - first)));
    return _mm256_cmpgt_epi8(_mm256_set1_epi8(char(last - first + 1 - 0x80)), moved);
}

// The same range in one register: moved so that `first` is 0, one unsigned compare.
template <unsigned char first, unsigned char last>
QB_TARGET_AVX512 inline __mmask64 wideBetween(__m512i x) {
    return _mm512_cmplt_epu8_mask(_mm512_sub_epi8(x, _mm512_set1_epi8(char(first))),
                                  _mm512_set1_epi8(char(last - first + 1)));
}

// The bytes that can follow a lead byte: 0x40–0x7E or 0xA1–0xFE.
QB_TARGET_AVX2 inline __m256i trailShaped(__m256i bytes) {
    return _mm256_or_si256(between<0x40, 0x7E>(bytes), between<0xA1, 0xFE>(bytes));
}

QB_TARGET_AVX2 inline uint32_t bits(__m256i bytes) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
}

// What a block says before its leads are known: a bit for each byte that surely reads with
// any byte after it if it stands for a lead, and one for each that surely reads after any lead
// if it stands for a trail.
struct BlockMasks {
    uint64_t lead = 0, trail = 0;
};

// The bits of a block from those of its halves.
inline uint64_t join(uint32_t first, uint32_t second) {
    return first | uint64_t(second) << 32;
}

QB_TARGET_AVX2 inline __m256i half(const unsigned char* block, int which) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32 * which));
}

// The high bytes, a block in two halves.
struct Halves {
    QB_TARGET_AVX2 uint64_t high(const unsigned char* block) const {
        return join(bits(half(block, 0)), bits(half(block, 1)));
    }
};

// For any table: the full-row set, and the bytes that can follow a lead.
struct GeneralMasks : Halves {
    __m256i fullRow;

    QB_TARGET_AVX2 BlockMasks operator()(const unsigned char* block) const {
        const __m256i v0 = half(block, 0), v1 = half(block, 1);
        return {join(inSet(v0, fullRow), inSet(v1, fullRow)),
                join(bits(trailShaped(v0)), bits(trailShaped(v1)))};
    }
};

// For the usual shape: a byte that can follow a lead is, but for the one, a lead whose pairs
// all read. That one still follows others: text has it there far more often than as a lead.
struct FewDoubtfulMasks : Halves {
    __m256i doubtful;

    QB_TARGET_AVX2 BlockMasks operator()(const unsigned char* block) const {
        const __m256i v0 = half(block, 0), v1 = half(block, 1);
        const uint64_t trail = join(bits(trailShaped(v0)), bits(trailShaped(v1)));
        const uint64_t odd =
            join(bits(_mm256_cmpeq_epi8(v0, doubtful)), bits(_mm256_cmpeq_epi8(v1, doubtful)));
        return {trail & ~odd, trail};
    }
};

// The same in one register, each compare giving its bits at once.
struct WideFewDoubtfulMasks {
    __m512i doubtful;

    QB_TARGET_AVX512 uint64_t high(const unsigned char* block) const {
        return _mm512_movepi8_mask(_mm512_loadu_si512(block));
    }
    QB_TARGET_AVX512 BlockMasks operator()(const unsigned char* block) const {
        const __m512i v = _mm512_loadu_si512(block);
        const __mmask64 trail = wideBetween<0x40, 0x7E>(v) | wideBetween<0xA1, 0xFE>(v);
        return {_mm512_mask_cmpneq_epi8_mask(trail, v, doubtful), trail};
    }
};

// Built into each of the searches below with the instructions that they are built for.
template <typename Masks>
[[gnu::always_inline]] inline bool searchBlocks(const unsigned char* s, size_t n, size_t& from,
                                                size_t& found, const Masks& masksOf) {
    constexpr uint64_t kEven = 0x5555555555555555u;
    constexpr size_t kBlock = Big5Blocks::kBlock;
    // Blocks overlap by a byte: a pair the last byte of one could lead is judged in the next,
    // where that byte is the first, so the byte after a block is never needed.
    constexpr uint64_t kLast = uint64_t(1) << (kBlock - 1);
    // Kept here, not in `from`: a store through it may change the bytes as far as the
    // compiler knows, and it would write it back at every block.
    size_t i = from;
    uint64_t firstIsTrail = 0;  // the block's first byte ends a pair begun in the last block
    for (const size_t last = n - kBlock; n >= kBlock && i <= last; i += kBlock - 1) {
        const uint64_t high = masksOf.high(s + i) & ~firstIsTrail;
        // English: nothing else to know. Marked unlikely only to keep the Chinese path, which
        // most blocks of a library take, in one straight line.
        if (high == 0) [[unlikely]] {
            firstIsTrail = 0;
            continue;
        }
        const BlockMasks m = masksOf(s + i);
        // Leads: the bits of each run of high bytes at an even distance from its start.
        // Adding a run's first bit clears the run where it starts at an even place.
        const uint64_t starts = high & ~(high << 1);
        // The last byte's pair is the next block's.
        const uint64_t leads = high & ((high + (starts & kEven)) ^ kEven) & ~kLast;
        // Leads whose pair is in doubt, in order. A byte that reads alone is in no full row,
        // so where it stands for a lead it is doubtful too, and ends the block search: the
        // leads after it are not known.
        for (uint64_t doubtful = leads & ~(m.lead & m.trail >> 1); doubtful != 0;
             doubtful &= doubtful - 1) {
            const size_t at = i + static_cast<size_t>(__builtin_ctzll(doubtful));
            if (big5table::kReadsAlone[s[at]]) {
                from = i + firstIsTrail;
                return false;
            }
            if (!big5table::pairReads(s[at] << 8 | s[at + 1])) {
                found = at;
                return true;
            }
        }
        firstIsTrail = leads >> (kBlock - 2);
    }
    from = i + firstIsTrail;
    return false;
}

QB_TARGET_AVX2 bool searchGeneral(const unsigned char* s, size_t n, size_t& i, size_t& found,
                                  const uint8_t (&fullRow)[16]) {
    const __m256i full =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(fullRow)));
    return searchBlocks(s, n, i, found, GeneralMasks{{}, full});
}

QB_TARGET_AVX2 bool searchHalves(const unsigned char* s, size_t n, size_t& i, size_t& found,
                                 uint8_t doubtful) {
    return searchBlocks(s, n, i, found, FewDoubtfulMasks{{}, _mm256_set1_epi8(char(doubtful))});
}

QB_TARGET_AVX512 bool searchWide(const unsigned char* s, size_t n, size_t& i, size_t& found,
                                 uint8_t doubtful) {
    return searchBlocks(s, n, i, found, WideFewDoubtfulMasks{_mm512_set1_epi8(char(doubtful))});
}

}  // namespace

bool Big5Blocks::skipReadable(const unsigned char* s, size_t n, size_t& i, size_t& found) const {
    if (!usable) return false;
    if (wide) return searchWide(s, n, i, found, doubtful);
    if (fewDoubtful) return searchHalves(s, n, i, found, doubtful);
    return searchGeneral(s, n, i, found, fullRow);
}

#else

bool Big5Blocks::skipReadable(const unsigned char*, size_t, size_t&, size_t&) const {
    return false;
}

#endif

}  // namespace qb
