// The program's own UTF-8 both ways, held to ICU's answer where ICU is at hand (Linux): the
// converter the program used before it wrote its own, which the Windows build has no ICU for.

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <string>
#include <vector>

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

std::u16string icuFromUtf8(std::string_view bytes) {
    std::u16string out(bytes.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, bytes.data(), static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr,
                         &err);
    out.resize(U_SUCCESS(err) ? static_cast<size_t>(length) : 0);
    return out;
}

// Every sequence of one and two bytes, and of three and four with the bytes after the second
// at the edges of the trail range and beyond it, between ASCII and at the end: each ill-formed
// stretch must become as many U+FFFD as ICU makes of it.
TEST(Utf8, ReadsWhatIcuReads) {
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90,
                                   0x9F, 0xA0, 0xBF, 0xC0, 0xF4, 0xFF};
    std::vector<std::string> texts;
    for (unsigned a = 0; a < 0x100; ++a) {
        texts.push_back(std::string(1, char(a)));
        for (unsigned b = 0; b < 0x100; ++b) {
            const std::string two{char(a), char(b)};
            texts.push_back(two);
            if (a < 0xE0) continue;
            for (unsigned char c : edges) {
                texts.push_back(two + char(c));
                if (a >= 0xF0)
                    for (unsigned char d : edges) texts.push_back(two + char(c) + char(d));
            }
        }
    }
    for (const std::string& bytes : texts) {
        ASSERT_EQ(fromUtf8(bytes), icuFromUtf8(bytes)) << testing::PrintToString(bytes);
        const std::string between = "a" + bytes + "z";
        ASSERT_EQ(fromUtf8(between), icuFromUtf8(between)) << testing::PrintToString(between);
    }
}

}  // namespace
}  // namespace qb
