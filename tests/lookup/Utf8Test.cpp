#include <gtest/gtest.h>

#include <string>

#include "lookup/Utf8.h"

namespace qb {
namespace {

// Both ways on every platform, ICU or not: the well-formed shapes, and ill-formed stretches
// each read as one U+FFFD (Utf8IcuTest holds the rest to ICU where it is at hand).
TEST(Utf8, ConvertsBothWaysWhereverItRuns) {
    struct Case {
        std::string bytes;
        std::u16string text;
        bool bothWays;
    };
    const Case cases[] = {
        {"", u"", true},
        {"apple=\xE8\x98\x8B\xE6\x9E\x9C", u"apple=蘋果", true},
        {"\xC3\xA9\xDF\xBF\xE0\xA0\x80", u"é\u07FF\u0800", true},
        {"x\xF0\x9F\x8D\x8Ey", u"x\U0001F34Ey", true},
        {"\xE8\x98", u"\uFFFD", false},                            // a sequence cut off at the end
        {"\xE8\x98=", u"\uFFFD=", false},                          // ... and before ASCII
        {"\xC0\xAF", u"\uFFFD\uFFFD", false},                      // an overlong form, byte by byte
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},            // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},  // past U+10FFFF
        {"\xF0\x9F\x8D", u"\uFFFD", false},
        {"\x80\xFF", u"\uFFFD\uFFFD", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fromUtf8(c.bytes), c.text) << testing::PrintToString(c.bytes);
        if (c.bothWays) {
            EXPECT_EQ(toUtf8(c.text), c.bytes) << testing::PrintToString(c.bytes);
        }
    }
    EXPECT_EQ(toUtf8(u"a\xD83C"), "a\xEF\xBF\xBD");  // a lone surrogate is written as U+FFFD
}

TEST(Utf8, SlicesNeverCutASurrogatePair) {
    struct Case {
        std::u16string text;
        size_t most;
        size_t end;
    };
    const Case cases[] = {
        {u"abc", 5, 3},
        {u"abc", 2, 2},
        {u"a\U0001F34E", 2, 1},  // would end between the two halves
        {u"a\U0001F34E", 3, 3},
        {u"\U0001F34Eb", 1, 1},  // one unit: a pair can only be cut, never made room for
        {u"\U0001F34Eb", 2, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(utf8SliceEnd(c.text, c.most), c.end);
}

}  // namespace
}  // namespace qb
