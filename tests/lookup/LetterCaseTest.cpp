// Letter case comes from the system: ICU on Linux, Windows' own on Windows. The code table's
// lower-case forms were written from ICU when the program was built, and the fast scanner
// finds its candidates through them while the matcher lowers through the system: the two
// must agree on every character a library file can hold, or a lookup would miss lines.

#include <gtest/gtest.h>

#include <sstream>

#include "GeneratedLibraries.h"
#include "codepage/Big5Table.h"
#include "lookup/LetterCase.h"

namespace qb {
namespace {

TEST(LetterCase, AgreesWithIcuOnEveryCharacterOfTheCodePage) {
    std::ostringstream differences;
    size_t differing = 0;
    for (size_t i = 0; i < big5table::kLoweringCount; ++i) {
        const big5table::Lowering& l = big5table::kLowerings[i];
        if (lowerCase(l.ch) == l.lowered) continue;
        ++differing;
        differences << test::hex(std::u16string(1, l.ch)) << " lowers to "
                    << test::hex(std::u16string(1, lowerCase(l.ch))) << ", ICU says "
                    << test::hex(std::u16string(1, l.lowered)) << "\n";
    }
    EXPECT_EQ(differing, 0u) << differences.str();
    EXPECT_GT(big5table::kLoweringCount, 19000u);
}

TEST(LetterCase, MapsTheLettersOfTheLibraryBothWays) {
    struct Case {
        char16_t upper, lower;
    };
    const Case cases[] = {
        {u'A', u'a'}, {u'Z', u'z'},   {u'Ａ', u'ａ'}, {u'Σ', u'σ'}, {u'Ж', u'ж'},
        {u'É', u'é'}, {u'蘋', u'蘋'}, {u'=', u'='},   {u'1', u'1'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lowerCase(c.upper), c.lower) << test::hex(std::u16string(1, c.upper));
        EXPECT_EQ(upperCase(c.lower), c.upper) << test::hex(std::u16string(1, c.lower));
    }
}

}  // namespace
}  // namespace qb
