// The program's one code page 950 conversion answers from the generated table and leaves the
// rest to the system's converter; together they must answer as that converter alone would,
// in both directions.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GeneratedLibraries.h"
#include "codepage/CodePage950.h"
#include "codepage/SystemCodePage950.h"

namespace qb {
namespace {

using test::hex;

// Every code of the code page reads as its character and that character is written back as
// one of its codes, the one the system writes; every character without a code is written as
// the system writes it.
TEST(CodePage950, EveryCharacterRoundTripsOrIsWrittenAsTheSystemWritesIt) {
    CodePage950 codePage;
    SystemCodePage950 system;
    const auto& codesOf = test::codePage().codesOf;
    size_t withCode = 0;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const std::u16string ch(1, static_cast<char16_t>(u));
        const std::string written = codePage.encode(ch);
        ASSERT_EQ(written, system.encode(ch)) << hex(ch);
        const auto codes = codesOf.find(ch[0]);
        if (codes == codesOf.end()) {
            ASSERT_NE(codePage.decode(written), ch) << hex(ch) << " has no code";
            continue;
        }
        ++withCode;
        ASSERT_NE(std::find(codes->second.begin(), codes->second.end(), written),
                  codes->second.end())
            << hex(ch) << " written as " << hex(written);
        for (const std::string& code : codes->second)
            ASSERT_EQ(codePage.decode(code), ch) << hex(code);
    }
    EXPECT_GT(withCode, 19000u);  // the code page's characters, Big5 and its extensions
}

// Where the systems' converters write a character without a code differently: ICU leaves out
// an invisible one and writes one '?' for a character beyond 16 bits; Windows writes a '?'
// for each UTF-16 unit. The program writes as the system it runs on.
#if defined(QB_WINDOWS_CODE_PAGE)
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

TEST(CodePage950, ReadsAndWritesTheCodePagesOddCasesAsTheSystemDoes) {
    enum class Way { Both, Reads, Writes };
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string text;
        Way way;
    };
    const Case cases[] = {
        {"a character", "\xA4\x40", u"一", Way::Both},
        {"ASCII around Chinese", "a\xA6\x72=b", u"a字=b", Way::Both},
        {"十, written with its code that has an ASCII trail", "\xA4\x51", u"十", Way::Both},
        {"the other code of 十", "\xA2\xCC", u"十", Way::Reads},
        {"the euro sign", "\xA3\xE1", u"€", Way::Both},
        {"high bytes that read alone", "\x80\xFF", u"\u0080\uF8F8", Way::Both},
        {"the byte ICU would mark with U+001A", "\x1A", u"\x1A", Way::Both},
        {"a lead cut off at the end", "a\xA4", u"a\uFFFD", Way::Reads},
        {"a lead before ASCII that cannot follow it", "\xA4=x", u"\uFFFD=x", Way::Reads},
        {"a pair without a character", "\xA3\xFE", u"\uFFFD", Way::Reads},
        {"a lead before a byte that can follow none", "\xA4\x7F", u"\uFFFD\x7F", Way::Reads},
        {"a letter without a code", "x?y", u"x\u0100y", Way::Writes},
        {"the replacement character", "?", u"\uFFFD", Way::Writes},
        {"an invisible character without a code", kWindows ? "a?b" : "ab", u"a\u200Bb",
         Way::Writes},
        {"a character beyond 16 bits", kWindows ? "\xA6\x72??" : "\xA6\x72?", u"字\U0001F600",
         Way::Writes},
        {"a lone surrogate at the end", "x?", u"x\xD800", Way::Writes},
        {"lone surrogates in a row", "??x", u"\xDC00\xD800x", Way::Writes},
    };
    CodePage950 codePage;
    for (const Case& c : cases) {
        if (c.way != Way::Writes) {
            EXPECT_EQ(codePage.decode(c.bytes), c.text) << c.what;
            EXPECT_EQ(codePage.decodeBySystem(c.bytes), c.text) << c.what;
        }
        if (c.way != Way::Reads) {
            EXPECT_EQ(codePage.encode(c.text), c.bytes) << c.what;
        }
    }
}

}  // namespace
}  // namespace qb
