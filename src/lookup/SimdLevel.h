#pragma once

#include <optional>
#include <string>
#include <string_view>

// The searches that take many bytes at a time are built for each set of instructions below,
// each function with the target it needs, and one is chosen when the program runs.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_SIMD_X86 1
#define QB_TARGET_SSE2 __attribute__((target("sse2")))
// Both searches mostly work on bit masks, a bit a byte: and-not and trailing zeros are one
// instruction each with the first bit-manipulation set, which every processor with AVX2 has.
#define QB_TARGET_AVX2 __attribute__((target("avx2,bmi")))
#define QB_TARGET_AVX512 __attribute__((target("avx2,bmi,avx512f,avx512bw")))
#endif

namespace qb {

// Ordered: a machine that runs one level runs those below it.
enum class SimdLevel {
    Scalar,  // plain C++, what a processor other than x86-64 runs
    Sse2,    // 16 bytes a register: every x86-64 processor
    Avx2,    // 32 bytes, with the first bit-manipulation set
    Avx512,  // 64 bytes, compared straight into bit masks (AVX-512BW)
};

inline constexpr SimdLevel kSimdLevels[] = {SimdLevel::Scalar, SimdLevel::Sse2, SimdLevel::Avx2,
                                            SimdLevel::Avx512};

// "scalar", "sse2", "avx2", "avx512": the names QB_SIMD takes.
std::string_view nameOf(SimdLevel level);
std::optional<SimdLevel> simdLevelNamed(std::string_view name);

// The best level this machine and system run.
SimdLevel machineSimdLevel();

struct SimdChoice {
    SimdLevel level;
    std::string complaint;  // why the level asked for was not taken; empty when it was
};
// The level to search with when QB_SIMD is `asked` (nullptr: not set) on a machine whose best
// is `best`: the one asked for, or, for a name that is no level or a level above the
// machine's, the machine's best with a complaint.
SimdChoice chooseSimdLevel(const char* asked, SimdLevel best);

// The level this process searches with, chosen once, at the first call, from QB_SIMD and the
// machine; a complaint goes to stderr then. Tests and benchmarks force a level with QB_SIMD
// (QB_SIMD=sse2 runs on this machine what an older one runs), or hand one to the searches.
SimdLevel processSimdLevel();

}  // namespace qb
