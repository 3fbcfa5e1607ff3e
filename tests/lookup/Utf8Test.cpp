#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <string>

#include "lookup/Utf8.h"

namespace qb {
namespace {

// What ICU makes of the text, lone surrogates becoming U+FFFD: the converter the program used
// before it wrote its own for the result's million lines.
std::string icuUtf8(std::u16string_view text) {
    std::string out(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       reinterpret_cast<const UChar*>(text.data()),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &err);
    out.resize(static_cast<size_t>(length));
    return out;
}

TEST(Utf8, WritesWhatIcuWrites) {
    const std::u16string texts[] = {
        u"",
        u"a",
        u"abc",
        u"abcd",
        u"abcdefghi",  // the four-at-a-time stretch and what follows it
        u"apple=蘋果",
        u"é",
        u"\u07FF\u0800",  // the ends of two and three bytes
        u"\uFFFD\uFFFF",
        u"x\U0001F34Ey",  // a surrogate pair
        u"\xD83C",        // a high surrogate alone at the end
        u"\xDF4E"
        u"ab",  // a low surrogate alone at the start
        u"\xD83C"
        u"a\xDF4E",
        u"abc\xD83C",
        u"ab\u00E9cdef\u8611\u679Cghij",
        // Eight at a time, with a unit at each end of a block that is not ASCII: its low byte
        // alone would pass for ASCII (U+0100, U+4E41), or it is just above (U+0080).
        u"abcdefgh",
        u"abcdefg\u0100abcdefghijklmnop\x7F",
        u"\u0080bcdefghijklmnopq",
        u"abcdefghijklmno\u4E41z",
        u"abcdefgh\U0001F34Eabcdefgh\xD83C",
        // Fields: "=" at either end, in each block of eight and right after one.
        u"=",
        u"==",
        u"apple=",
        u"=apple",
        u"abcdefgh=ijk",
        u"abcdefghijklmn=opq=r",
        u"abcdefghijklmnopq\u8611=\u679C",
        u"\u8611\u679C=pie",
    };
    for (const std::u16string& text : texts) {
        EXPECT_EQ(toUtf8(text), icuUtf8(text)) << std::string(text.begin(), text.end());
        std::string buffer(text.size() * kMostUtf8PerUnit, '\0');
        const size_t written = static_cast<size_t>(writeUtf8(text, buffer.data()) - buffer.data());
        EXPECT_EQ(buffer.substr(0, written), icuUtf8(text));
        // The same up to the first "=", the headword of a line.
        const size_t field = std::min(text.find(u'='), text.size());
        char* out = buffer.data();
        EXPECT_EQ(writeUtf8UpTo(text, u'=', out), field);
        EXPECT_EQ(std::string(buffer.data(), out), icuUtf8(text.substr(0, field)));
    }
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
