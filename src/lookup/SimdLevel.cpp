#include "lookup/SimdLevel.h"

#include <cstdio>
#include <cstdlib>

// The C library's header is C: its _Bool passes in C++ with GCC only.
#if defined(QB_SIMD_X86) && defined(__has_include) && !defined(__clang__)
#if __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define QB_GLIBC_CPU_FEATURES 1
#endif
#endif

// Whether the machine and the system run a set of instructions: the C library's answer where
// it has one (it has asked the processor before the program starts; asking again with
// __builtin_cpu_supports makes every process run the compiler's own CPUID probe, which under
// a hypervisor was half the user time of a lookup in empty files), the probe otherwise.
#if defined(QB_GLIBC_CPU_FEATURES)
#define QB_MACHINE_HAS(glibcName, compilerName) CPU_FEATURE_ACTIVE(glibcName)
#elif defined(QB_SIMD_X86)
#define QB_MACHINE_HAS(glibcName, compilerName) __builtin_cpu_supports(compilerName)
#endif

namespace qb {

namespace {
constexpr std::string_view kNames[] = {"scalar", "sse2", "avx2", "avx512"};
}

std::string_view nameOf(SimdLevel level) {
    return kNames[static_cast<int>(level)];
}

std::optional<SimdLevel> simdLevelNamed(std::string_view name) {
    for (const SimdLevel level : kSimdLevels)
        if (nameOf(level) == name) return level;
    return std::nullopt;
}

SimdLevel machineSimdLevel() {
#if defined(QB_SIMD_X86)
    // A hypervisor may hide the bit-manipulation set while it shows AVX2.
    if (!QB_MACHINE_HAS(AVX2, "avx2") || !QB_MACHINE_HAS(BMI1, "bmi")) return SimdLevel::Sse2;
    // "Active" and the compiler's probe both include the system saving the 64-byte registers.
    if (!QB_MACHINE_HAS(AVX512F, "avx512f") || !QB_MACHINE_HAS(AVX512BW, "avx512bw"))
        return SimdLevel::Avx2;
    return SimdLevel::Avx512;
#else
    return SimdLevel::Scalar;
#endif
}

SimdChoice chooseSimdLevel(const char* asked, SimdLevel best) {
    if (asked == nullptr || *asked == '\0') return {best, {}};
    std::string runs;
    for (const SimdLevel level : kSimdLevels)
        if (level <= best) runs += (runs.empty() ? "" : ", ") + std::string(nameOf(level));
    const std::optional<SimdLevel> level = simdLevelNamed(asked);
    const std::string what = "QB_SIMD=" + std::string(asked) + ": ";
    const std::string instead = " (this machine runs " + runs + "); searching with " +
                                std::string(nameOf(best)) + " instead";
    if (!level) return {best, what + "no such level" + instead};
    if (*level > best) return {best, what + "this machine cannot run it" + instead};
    return {*level, {}};
}

SimdLevel processSimdLevel() {
    static const SimdLevel chosen = [] {
        const SimdChoice choice = chooseSimdLevel(std::getenv("QB_SIMD"), machineSimdLevel());
        if (!choice.complaint.empty()) std::fprintf(stderr, "%s\n", choice.complaint.c_str());
        return choice.level;
    }();
    return chosen;
}

}  // namespace qb
