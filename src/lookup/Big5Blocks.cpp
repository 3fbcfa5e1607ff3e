#include "Big5Blocks.h"

#include "Big5Table.h"
#include "CpuFeatures.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_X86_SIMD 1
#include <immintrin.h>
// The block search mostly works on bit masks, a bit a byte: and-not is one instruction there.
#define QB_TARGET __attribute__((target("avx2,bmi")))
#endif

namespace qb {

Big5Blocks::Big5Blocks(bool asciiReads, Path path) {
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        if (big5table::kFullRow[b]) fullRow[b & 15] |= uint8_t(1u << ((b >> 4) - 8));
    int few = 0;
    for (unsigned b = 0xA1; b <= 0xFE; ++b)
        if (!big5table::kFullRow[b] && few++ == 0) doubtful = uint8_t(b);
    fewDoubtful = path == Path::Best && few <= 1;
    usable = asciiReads && machineCanRun();
}

#if defined(QB_X86_SIMD)
bool Big5Blocks::machineCanRun() {
    return machineHasAvx2() && machineHasBmi();
}

namespace {

// A bit per byte of `bytes` that is in `set` (see Big5Blocks).
QB_TARGET inline uint32_t inSet(__m256i bytes, __m256i set) {
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
QB_TARGET inline __m256i between(__m256i x) {
    const __m256i moved = _mm256_add_epi8(x, _mm256_set1_epi8(char(0x80 - first)));
    return _mm256_cmpgt_epi8(_mm256_set1_epi8(char(last - first + 1 - 0x80)), moved);
}

// The bytes that can follow a lead byte: 0x40–0x7E or 0xA1–0xFE.
QB_TARGET inline __m256i trailShaped(__m256i bytes) {
    return _mm256_or_si256(between<0x40, 0x7E>(bytes), between<0xA1, 0xFE>(bytes));
}

QB_TARGET inline uint32_t bits(__m256i bytes) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
}

// What a block says before its leads are known: its high bytes, and those of them whose
// pair surely reads if they lead one. The last byte is judged again as the next block's
// first: it may pass here.
struct BlockMasks {
    uint64_t high = 0, sure = 0;
};

// For any table: the full-row set, and the shape of the byte after each.
QB_TARGET inline BlockMasks generalMasks(const unsigned char* at, __m256i fullRow) {
    uint64_t high = 0, full = 0, trailNext = 0;
    for (int half = 0; half < 2; ++half) {
        const auto* p = reinterpret_cast<const __m256i*>(at + 32 * half);
        const __m256i v = _mm256_loadu_si256(p);
        const __m256i next =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32 * half + 1));
        const int shift = 32 * half;
        const uint32_t halfHigh = bits(v);
        if (halfHigh == 0) continue;  // English: nothing else to know
        high |= uint64_t(halfHigh) << shift;
        full |= uint64_t(inSet(v, fullRow)) << shift;
        trailNext |= uint64_t(bits(trailShaped(next))) << shift;
    }
    return {high, full & trailNext};
}

struct GeneralMasks {
    static constexpr size_t kReads = Big5Blocks::kBlock + 1;  // the trail of the last byte
    __m256i fullRow;
    QB_TARGET BlockMasks operator()(const unsigned char* at) const {
        return generalMasks(at, fullRow);
    }
};

// For the usual shape: each byte tested once, the byte after a lead found by a shift.
struct FewDoubtfulMasks {
    static constexpr size_t kReads = Big5Blocks::kBlock;
    __m256i doubtful;

    QB_TARGET uint32_t sureBits(__m256i v) const {
        return bits(_mm256_andnot_si256(_mm256_cmpeq_epi8(v, doubtful), trailShaped(v)));
    }

    QB_TARGET BlockMasks operator()(const unsigned char* at) const {
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
        const uint64_t high = bits(v0) | uint64_t(bits(v1)) << 32;
        if (high == 0) return {};  // English: nothing else to know
        const uint64_t sure = sureBits(v0) | uint64_t(sureBits(v1)) << 32;
        return {high, sure & (sure >> 1 | uint64_t(1) << 63)};
    }
};

}  // namespace

namespace {

template <typename Masks>
QB_TARGET inline bool searchBlocks(const unsigned char* s, size_t n, size_t& from, size_t& found,
                                   const Masks& masksAt) {
    constexpr uint64_t kEven = 0x5555555555555555u;
    // Blocks overlap by a byte: a pair the last byte of one could lead is judged in the next,
    // where that byte is the first, so the byte after a block is not needed.
    constexpr size_t kStep = Big5Blocks::kBlock - 1;
    // Kept here, not in `from`: a store through it may change the bytes as far as the
    // compiler knows, and it would write it back at every block.
    size_t i = from;
    uint64_t firstIsTrail = 0;  // the block's first byte ends a pair begun in the last block
    const size_t stop = n >= Masks::kReads ? n - Masks::kReads + 1 : 0;
    for (; i < stop; i += kStep) {
        const BlockMasks m = masksAt(s + i);
        const uint64_t high = m.high & ~firstIsTrail;
        // Leads: the bits of each run of high bytes at an even distance from its start.
        // Adding a run's first bit clears the run where it starts at an even place.
        const uint64_t starts = high & ~(high << 1);
        const uint64_t leads = high & ((high + (starts & kEven)) ^ kEven);
        // A byte that reads alone is in no full row, so where it stands for a lead it is
        // doubtful too, and ends the block search: the leads after it are not known.
        for (uint64_t doubtful = leads & ~m.sure; doubtful != 0; doubtful &= doubtful - 1) {
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
        firstIsTrail = leads >> 62 & 1;
    }
    from = i + firstIsTrail;
    return false;
}

}  // namespace

QB_TARGET bool Big5Blocks::skipReadable(const unsigned char* s, size_t n, size_t& i,
                                        size_t& found) const {
    if (!usable) return false;
    if (fewDoubtful) {
        const FewDoubtfulMasks masks{_mm256_set1_epi8(char(doubtful))};
        return searchBlocks(s, n, i, found, masks);
    }
    const __m256i full =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(fullRow)));
    return searchBlocks(s, n, i, found, GeneralMasks{full});
}

#else

bool Big5Blocks::machineCanRun() {
    return false;
}

bool Big5Blocks::skipReadable(const unsigned char*, size_t, size_t&, size_t&) const {
    return false;
}

#endif

}  // namespace qb
