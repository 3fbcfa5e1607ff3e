#include "lookup/NeedleBlocks.h"

#include <algorithm>
#include <cstdint>

#if defined(QB_SIMD_X86)
#include <immintrin.h>
#endif

namespace qb {

#if defined(QB_SIMD_X86)
namespace {

// The few operations the filters need, for registers of 16, 32 and 64 bytes. A compare gives
// `Hits`: a register of bytes 0x00 or 0xFF below AVX-512, a bit a byte there. The registers
// are wrapped: the functions that hand them on have no target of their own (below), and a
// bare vector passed without the target it needs is an error to clang.
struct Sse2Registers {
    struct Bytes {
        __m128i v;
    };
    using Hits = Bytes;
    static constexpr size_t kWidth = 16;
    QB_TARGET_SSE2 static Bytes load(const char* at) {
        return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))};
    }
    QB_TARGET_SSE2 static Bytes splat(char byte) { return {_mm_set1_epi8(byte)}; }
    QB_TARGET_SSE2 static Bytes withBits(Bytes a, Bytes b) { return {_mm_or_si128(a.v, b.v)}; }
    QB_TARGET_SSE2 static Hits equal(Bytes a, Bytes b) { return {_mm_cmpeq_epi8(a.v, b.v)}; }
    QB_TARGET_SSE2 static Hits both(Hits a, Hits b) { return {_mm_and_si128(a.v, b.v)}; }
    QB_TARGET_SSE2 static Hits either(Hits a, Hits b) { return {_mm_or_si128(a.v, b.v)}; }
    QB_TARGET_SSE2 static uint64_t bits(Hits h) {
        return static_cast<uint32_t>(_mm_movemask_epi8(h.v));
    }
};

struct Avx2Registers {
    struct Bytes {
        __m256i v;
    };
    using Hits = Bytes;
    static constexpr size_t kWidth = 32;
    QB_TARGET_AVX2 static Bytes load(const char* at) {
        return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at))};
    }
    QB_TARGET_AVX2 static Bytes splat(char byte) { return {_mm256_set1_epi8(byte)}; }
    QB_TARGET_AVX2 static Bytes withBits(Bytes a, Bytes b) { return {_mm256_or_si256(a.v, b.v)}; }
    QB_TARGET_AVX2 static Hits equal(Bytes a, Bytes b) { return {_mm256_cmpeq_epi8(a.v, b.v)}; }
    QB_TARGET_AVX2 static Hits both(Hits a, Hits b) { return {_mm256_and_si256(a.v, b.v)}; }
    QB_TARGET_AVX2 static Hits either(Hits a, Hits b) { return {_mm256_or_si256(a.v, b.v)}; }
    QB_TARGET_AVX2 static uint64_t bits(Hits h) {
        return static_cast<uint32_t>(_mm256_movemask_epi8(h.v));
    }
};

struct Avx512Registers {
    struct Bytes {
        __m512i v;
    };
    using Hits = __mmask64;
    static constexpr size_t kWidth = 64;
    QB_TARGET_AVX512 static Bytes load(const char* at) { return {_mm512_loadu_si512(at)}; }
    QB_TARGET_AVX512 static Bytes splat(char byte) { return {_mm512_set1_epi8(byte)}; }
    QB_TARGET_AVX512 static Bytes withBits(Bytes a, Bytes b) { return {_mm512_or_si512(a.v, b.v)}; }
    QB_TARGET_AVX512 static Hits equal(Bytes a, Bytes b) {
        return _mm512_cmpeq_epi8_mask(a.v, b.v);
    }
    QB_TARGET_AVX512 static Hits both(Hits a, Hits b) { return a & b; }
    QB_TARGET_AVX512 static Hits either(Hits a, Hits b) { return a | b; }
    QB_TARGET_AVX512 static uint64_t bits(Hits h) { return h; }
};

// The functions below are built into each search at the end with the instructions that it is
// built for: always inlined, and with no target of their own.
#define QB_BUILT_IN [[gnu::always_inline]] inline

// One test in registers: the byte at `offset` from each place of a register, its letters
// folded where the test folds them.
template <typename R, bool kFolded>
struct ByteTest {
    size_t offset = 0;
    typename R::Bytes byte, mask;

    ByteTest() = default;
    QB_BUILT_IN explicit ByteTest(const NeedleFinder::Test& test)
        : offset(test.offset), byte(R::splat(test.byte)), mask(R::splat(test.mask)) {}
    QB_BUILT_IN typename R::Hits passed(const char* place) const {
        const typename R::Bytes v = R::load(place + offset);
        return R::equal(kFolded ? R::withBits(v, mask) : v, byte);
    }
};

// One needle's first and last byte (or the two bytes all its forms share); without letters
// to fold (Chinese, digits) the bytes are compared as they are.
template <typename R, bool kFolded>
struct OnePair {
    ByteTest<R, kFolded> first, last;
    QB_BUILT_IN OnePair(const NeedleFinder::Test& f, const NeedleFinder::Test& l)
        : first(f), last(l) {}
    QB_BUILT_IN uint64_t passed(const char* at) const {
        return R::bits(R::both(first.passed(at), last.passed(at)));
    }
};

// Two needles whose pairs share one test, as the two codes of a Greek letter share their
// lead byte: that test and either of the others.
template <typename R, bool kFolded>
struct SharedPair {
    ByteTest<R, kFolded> shared, one, other;
    QB_BUILT_IN SharedPair(const NeedleFinder::Test& s, const NeedleFinder::Test& a,
                           const NeedleFinder::Test& b)
        : shared(s), one(a), other(b) {}
    QB_BUILT_IN uint64_t passed(const char* at) const {
        return R::bits(R::both(shared.passed(at), R::either(one.passed(at), other.passed(at))));
    }
};

// Any plan. A copy on the stack, and counts known at compile time, let the common shapes
// stay in registers.
template <size_t kTests, size_t kPairs>
struct AnyPairs {
    template <typename R, bool kFolded>
    struct Filter {
        static constexpr size_t kMost = NeedleFinder::kMost;
        size_t tests, pairs;
        uint8_t first[kMost], last[kMost];
        ByteTest<R, kFolded> test[2 * kMost];

        QB_BUILT_IN explicit Filter(const NeedleFinder::Plan& plan)
            : tests(kTests != 0 ? kTests : plan.tests), pairs(kPairs != 0 ? kPairs : plan.pairs) {
            for (size_t t = 0; t < tests; ++t) test[t] = ByteTest<R, kFolded>(plan.test[t]);
            std::copy(plan.pairFirst, plan.pairFirst + kMost, first);
            std::copy(plan.pairLast, plan.pairLast + kMost, last);
        }
        QB_BUILT_IN uint64_t passed(const char* at) const {
            typename R::Hits hits[2 * kMost];
            for (size_t t = 0; t < tests; ++t) hits[t] = test[t].passed(at);
            typename R::Hits any = R::both(hits[first[0]], hits[last[0]]);
            for (size_t k = 1; k < pairs; ++k)
                any = R::either(any, R::both(hits[first[k]], hits[last[k]]));
            return R::bits(any);
        }
    };
};

// `candidates` has a bit set for each place after `blockStart` that a filter let through.
QB_BUILT_IN bool firstMatchAmong(const NeedleFinder& finder, std::string_view text,
                                 size_t blockStart, uint64_t candidates, size_t& found) {
    for (; candidates != 0; candidates &= candidates - 1) {
        const size_t at = blockStart + static_cast<size_t>(__builtin_ctzll(candidates));
        if (finder.matchesAt(text, at)) {
            found = at;
            return true;
        }
    }
    return false;
}

// 64 places a step whatever the registers hold: a text with few hits is bound by this loop,
// and takes its one branch a step. `filter.passed(at)` has a bit for each place of a register
// from `at` that it lets through.
template <typename R, typename Filter>
QB_BUILT_IN bool findWith(const Filter& filter, const NeedleFinder& finder, std::string_view text,
                          size_t& from, size_t& found) {
    const size_t starts = text.size() - (finder.plan().longest - 1);  // places every needle fits
    // Kept here, not in `from`, which the compiler would write back at every step.
    size_t i = from;
    for (; i + 64 <= starts; i += 64) {
        uint64_t bits = 0;
        for (size_t k = 0; k < 64; k += R::kWidth) bits |= filter.passed(text.data() + i + k) << k;
        if (bits != 0 && firstMatchAmong(finder, text, i, bits, found)) return true;
    }
    for (; i + R::kWidth <= starts; i += R::kWidth)
        if (firstMatchAmong(finder, text, i, filter.passed(text.data() + i), found)) return true;
    from = i;
    return false;
}

// The filter built for letters to fold or not, as the plan says, from `tests`.
template <template <typename, bool> class Filter, typename R, typename... Tests>
QB_BUILT_IN bool findWithFilter(const NeedleFinder& finder, std::string_view text, size_t& i,
                                size_t& found, const Tests&... tests) {
    if (finder.plan().folded) return findWith<R>(Filter<R, true>(tests...), finder, text, i, found);
    return findWith<R>(Filter<R, false>(tests...), finder, text, i, found);
}

template <typename R>
QB_BUILT_IN bool findBlocks(const NeedleFinder& finder, std::string_view text, size_t& i,
                            size_t& found) {
    const NeedleFinder::Plan& plan = finder.plan();
    const auto* const test = plan.test;
    const auto& [shared, one, other] = plan.shared;
    switch (plan.shape) {
        // A text with many hits calls this once a line: two tests straight from the plan.
        case NeedleFinder::Plan::Shape::One:
            return findWithFilter<OnePair, R>(finder, text, i, found, test[plan.pairFirst[0]],
                                              test[plan.pairLast[0]]);
        case NeedleFinder::Plan::Shape::Shared:
            return findWithFilter<SharedPair, R>(finder, text, i, found, test[shared], test[one],
                                                 test[other]);
        case NeedleFinder::Plan::Shape::ThreeTwo:
            return findWithFilter<AnyPairs<3, 2>::Filter, R>(finder, text, i, found, plan);
        case NeedleFinder::Plan::Shape::FourTwo:
            return findWithFilter<AnyPairs<4, 2>::Filter, R>(finder, text, i, found, plan);
        case NeedleFinder::Plan::Shape::Any:
            return findWithFilter<AnyPairs<0, 0>::Filter, R>(finder, text, i, found, plan);
    }
    return false;
}

QB_TARGET_SSE2 bool findSse2(const NeedleFinder& finder, std::string_view text, size_t& i,
                             size_t& found) {
    return findBlocks<Sse2Registers>(finder, text, i, found);
}

QB_TARGET_AVX2 bool findAvx2(const NeedleFinder& finder, std::string_view text, size_t& i,
                             size_t& found) {
    return findBlocks<Avx2Registers>(finder, text, i, found);
}

QB_TARGET_AVX512 bool findAvx512(const NeedleFinder& finder, std::string_view text, size_t& i,
                                 size_t& found) {
    return findBlocks<Avx512Registers>(finder, text, i, found);
}

}  // namespace
#endif

bool findInBlocks(SimdLevel level, const NeedleFinder& finder, std::string_view text, size_t& i,
                  size_t& found) {
#if defined(QB_SIMD_X86)
    switch (level) {
        case SimdLevel::Scalar:
            return false;
        case SimdLevel::Sse2:
            return findSse2(finder, text, i, found);
        case SimdLevel::Avx2:
            return findAvx2(finder, text, i, found);
        case SimdLevel::Avx512:
            return findAvx512(finder, text, i, found);
    }
#endif
    (void)level, (void)finder, (void)text, (void)i, (void)found;
    return false;
}

}  // namespace qb
