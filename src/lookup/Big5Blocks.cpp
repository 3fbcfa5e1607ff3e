#include "Big5Blocks.h"

#include "Big5Table.h"
#include "CpuFeatures.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_X86_SIMD 1
#include <immintrin.h>
#endif

namespace qb {

Big5Blocks::Big5Blocks(bool asciiReads) {
    for (unsigned b = 0x80; b <= 0xFF; ++b)
        if (big5table::kFullRow[b]) fullRow[b & 15] |= uint8_t(1u << ((b >> 4) - 8));
    usable = asciiReads && machineCanRun();
}

#if defined(QB_X86_SIMD)
bool Big5Blocks::machineCanRun() {
    return machineHasAvx2();
}

namespace {

// A bit per byte of `bytes` that is in `set` (see Big5Blocks).
__attribute__((target("avx2"))) inline uint32_t inSet(__m256i bytes, __m256i set) {
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

__attribute__((target("avx2"))) inline __m256i atMost(__m256i x, char most) {
    return _mm256_cmpeq_epi8(_mm256_min_epu8(x, _mm256_set1_epi8(most)), x);
}

// A bit per byte that can follow a lead byte: 0x40–0x7E or 0xA1–0xFE.
__attribute__((target("avx2"))) inline uint32_t trailShaped(__m256i bytes) {
    const __m256i low = atMost(_mm256_sub_epi8(bytes, _mm256_set1_epi8(0x40)), 0x7E - 0x40);
    const __m256i high =
        atMost(_mm256_sub_epi8(bytes, _mm256_set1_epi8(char(0xA1))), char(0xFE - 0xA1));
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(low, high)));
}

struct BlockMasks {
    uint64_t high = 0, fullRow = 0, trailNext = 0;
};

__attribute__((target("avx2"))) inline BlockMasks masksAt(const unsigned char* at,
                                                          __m256i fullRow) {
    BlockMasks m;
    for (int half = 0; half < 2; ++half) {
        const auto* p = reinterpret_cast<const __m256i*>(at + 32 * half);
        const __m256i v = _mm256_loadu_si256(p);
        const __m256i next =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32 * half + 1));
        const int shift = 32 * half;
        const auto high = static_cast<uint32_t>(_mm256_movemask_epi8(v));
        if (high == 0) continue;  // English: nothing else to know
        m.high |= uint64_t(high) << shift;
        m.fullRow |= uint64_t(inSet(v, fullRow)) << shift;
        m.trailNext |= uint64_t(trailShaped(next)) << shift;
    }
    return m;
}

}  // namespace

__attribute__((target("avx2"))) bool Big5Blocks::skipReadable(const unsigned char* s, size_t n,
                                                              size_t& i, size_t& found) const {
    if (!usable) return false;
    const __m256i full =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(fullRow)));
    constexpr uint64_t kEven = 0x5555555555555555u;
    bool firstIsTrail = false;  // the block's first byte ends a pair begun in the last block
    // One byte past the block is read: the trail of a lead at its end.
    for (; i + kBlock + 1 <= n; i += kBlock) {
        const BlockMasks m = masksAt(s + i, full);
        const uint64_t high = m.high & ~uint64_t(firstIsTrail);
        if (high == 0) {
            firstIsTrail = false;
            continue;
        }
        // Leads: the bits of each run of high bytes at an even distance from its start.
        const uint64_t starts = high & ~(high << 1);
        const uint64_t evenRuns = high & ~(high + (starts & kEven));
        const uint64_t leads = (evenRuns & kEven) | (high & ~evenRuns & ~kEven);
        // A byte that reads alone is in no full row, so where it stands for a lead it is
        // doubtful too, and ends the block search: the leads after it are not known.
        bool leadsKnown = true;
        for (uint64_t doubtful = leads & ~(m.fullRow & m.trailNext); doubtful != 0;
             doubtful &= doubtful - 1) {
            const size_t at = i + static_cast<size_t>(__builtin_ctzll(doubtful));
            if (big5table::kReadsAlone[s[at]]) {
                leadsKnown = false;
                break;
            }
            if (!big5table::pairReads(s[at] << 8 | s[at + 1])) {
                found = at;
                return true;
            }
        }
        if (!leadsKnown) break;
        firstIsTrail = (leads >> 63) != 0;
    }
    i += firstIsTrail;
    return false;
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
