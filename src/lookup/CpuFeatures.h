#pragma once

// The C library's header is C: its _Bool passes in C++ with GCC only.
#if defined(__x86_64__) && defined(__has_include) && defined(__GNUC__) && !defined(__clang__)
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
#elif defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_MACHINE_HAS(glibcName, compilerName) __builtin_cpu_supports(compilerName)
#else
#define QB_MACHINE_HAS(glibcName, compilerName) false
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_TARGET_WIDE __attribute__((target("avx2,bmi,avx512f,avx512bw")))
#endif

namespace qb {

inline bool machineHasAvx2() {
    return QB_MACHINE_HAS(AVX2, "avx2");
}

// The first bit-manipulation set (andn, tzcnt): every processor with AVX2 has it, but a
// hypervisor may hide it.
inline bool machineHasBmi() {
    return QB_MACHINE_HAS(BMI1, "bmi");
}

// 64-byte registers with byte compares into bit masks, and a system that saves them. Code
// built for them (QB_TARGET_WIDE) runs only where this and the AVX2 questions say yes.
inline bool machineHasAvx512bw() {
    return QB_MACHINE_HAS(AVX512BW, "avx512bw");
}

}  // namespace qb
