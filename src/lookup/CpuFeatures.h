#pragma once

// The C library's header is C: its _Bool passes in C++ with GCC only.
#if defined(__x86_64__) && defined(__has_include) && defined(__GNUC__) && !defined(__clang__)
#if __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define QB_GLIBC_CPU_FEATURES 1
#endif
#endif

namespace qb {

// Whether the machine and the system run AVX2 code. The C library has asked the processor
// before the program starts; asking again (__builtin_cpu_supports) makes every process run
// the compiler's own CPUID probe, which under a hypervisor was half the user time of a
// lookup in empty files.
inline bool machineHasAvx2() {
#if defined(QB_GLIBC_CPU_FEATURES)
    return CPU_FEATURE_ACTIVE(AVX2);
#elif defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

}  // namespace qb
