// at_simd_level LEVEL COMMAND [ARGS...]: runs COMMAND with QB_SIMD=LEVEL, so that the engine's
// searches in it take that level's instructions, or exits with 77 (what ctest is told means
// "skipped") when this machine cannot run them. The engine would fall back to what the
// machine runs, and a test passing there would claim a level it never ran.
// at_simd_level: prints the levels this machine runs and those it does not.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "lookup/SimdLevel.h"

int main(int argc, char** argv) {
    const qb::SimdLevel best = qb::machineSimdLevel();
    if (argc == 1) {
        std::string runs, cannot;
        for (const qb::SimdLevel level : qb::kSimdLevels)
            (level <= best ? runs : cannot).append(" ").append(qb::nameOf(level));
        std::printf("SIMD levels this machine runs:%s; cannot run:%s\n", runs.c_str(),
                    cannot.empty() ? " none" : cannot.c_str());
        return 0;
    }
    const std::optional<qb::SimdLevel> level = qb::simdLevelNamed(argv[1]);
    if (!level || argc < 3) {
        std::fprintf(stderr, "usage: at_simd_level [scalar|sse2|avx2|avx512 COMMAND [ARGS...]]\n");
        return 2;
    }
    if (*level > best) {
        std::printf("skipped: this machine cannot run %s (its best is %s)\n", argv[1],
                    std::string(qb::nameOf(best)).c_str());
        return 77;
    }
    setenv("QB_SIMD", argv[1], 1);
    execvp(argv[2], argv + 2);
    std::perror(argv[2]);
    return 127;
}
