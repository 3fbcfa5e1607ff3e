// at_simd_level LEVEL COMMAND [ARGS...]: runs COMMAND with QB_SIMD=LEVEL, so that the engine's
// searches in it take that level's instructions, or exits with 77 (what ctest is told means
// "skipped") when this machine cannot run them. The engine would fall back to what the
// machine runs, and a test passing there would claim a level it never ran.
// at_simd_level: prints the levels this machine runs and those it does not.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "lookup/SimdLevel.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

// Runs the command with QB_SIMD set and gives back its exit status. Windows has no exec that
// keeps the status for the caller, so there the command runs as a child and is waited for.
int runWithLevel(const char* level, char** command) {
#ifdef _WIN32
    _putenv_s("QB_SIMD", level);
    const intptr_t status = _spawnvp(_P_WAIT, command[0], command);
    if (status != -1) return static_cast<int>(status);
#else
    setenv("QB_SIMD", level, 1);
    execvp(command[0], command);
#endif
    std::perror(command[0]);
    return 127;
}

}  // namespace

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
    return runWithLevel(argv[1], argv + 2);
}
