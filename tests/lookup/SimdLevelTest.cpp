#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "lookup/SimdLevel.h"

namespace qb {
namespace {

TEST(SimdLevel, QbSimdChoosesALevelTheMachineRunsOrSaysWhyNot) {
    using L = SimdLevel;
    struct Case {
        const char* asked;
        L best;
        L chosen;
        const char* complaint;  // a part of it; nullptr: none
    };
    const Case cases[] = {
        {nullptr, L::Avx512, L::Avx512, nullptr},
        {"", L::Avx2, L::Avx2, nullptr},
        {"scalar", L::Avx512, L::Scalar, nullptr},
        {"sse2", L::Avx2, L::Sse2, nullptr},
        {"avx2", L::Avx2, L::Avx2, nullptr},
        {"avx512", L::Avx512, L::Avx512, nullptr},
        {"avx512", L::Avx2, L::Avx2, "QB_SIMD=avx512: this machine cannot run it"},
        {"avx2", L::Scalar, L::Scalar, "(this machine runs scalar); searching with scalar"},
        {"AVX2", L::Avx512, L::Avx512, "QB_SIMD=AVX2: no such level"},
        {"neon", L::Sse2, L::Sse2, "(this machine runs scalar, sse2); searching with sse2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked ? c.asked : "(not set)");
        const SimdChoice choice = chooseSimdLevel(c.asked, c.best);
        EXPECT_EQ(choice.level, c.chosen);
        if (c.complaint == nullptr)
            EXPECT_EQ(choice.complaint, "");
        else
            EXPECT_NE(choice.complaint.find(c.complaint), std::string::npos) << choice.complaint;
    }
}

TEST(SimdLevel, NamesReadBack) {
    for (const SimdLevel level : kSimdLevels) EXPECT_EQ(simdLevelNamed(nameOf(level)), level);
    EXPECT_EQ(simdLevelNamed("avx"), std::nullopt);
}

// What the test command's runs under each level rest on: the process searches with the level
// QB_SIMD names.
TEST(SimdLevel, TheProcessSearchesWithTheLevelAskedFor) {
    const char* asked = std::getenv("QB_SIMD");
    if (asked == nullptr || *asked == '\0') {
        EXPECT_EQ(processSimdLevel(), machineSimdLevel());
        return;
    }
    const std::optional<SimdLevel> level = simdLevelNamed(asked);
    ASSERT_TRUE(level && *level <= machineSimdLevel()) << "QB_SIMD=" << asked;
    EXPECT_EQ(processSimdLevel(), *level);
}

}  // namespace
}  // namespace qb
