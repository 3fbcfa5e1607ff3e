#include <gtest/gtest.h>

#include "lookup/EntryLine.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

struct FieldsCase {
    std::string line;
    std::vector<std::string> fields;
};

TEST(EntryLine, CutsAtEveryEqualsSignAndKeepsEverything) {
    const FieldsCase cases[] = {
        {"apple=蘋果", {"apple", "蘋果"}},
        {"apple", {"apple"}},
        {"a=b=c", {"a", "b", "c"}},
        {"word=", {"word", ""}},
        {"=text", {"", "text"}},
        {"a==b", {"a", "", "b"}},
        {"", {}},
        {"=", {"", ""}},
        {" Apple = 蘋果 ", {" Apple ", " 蘋果 "}},
    };
    for (const auto& c : cases) {
        const std::u16string line = fromUtf8(c.line);
        std::vector<std::string> got;
        for (auto f : splitFields(line)) got.push_back(toUtf8(f));
        EXPECT_EQ(got, c.fields) << "line: " << c.line;
    }
}

TEST(EntryLine, DisplayFormShowsHeadwordAndDefinitionOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"apple=蘋果", "\r\napple\r\n蘋果\r\n"},
        {"a=b=c", "\r\na\r\nb\r\n"},
        {"word=", "\r\nword\r\n\r\n"},
        {"apple", "\r\napple\r\n"},
        {"", "\r\n"},
        {"=x", "\r\n\r\nx\r\n"},
    };
    for (const auto& [line, shown] : cases)
        EXPECT_EQ(toUtf8(displayForm(fromUtf8(line))), shown) << "line: " << line;
}

TEST(EntryLine, DisplayFormsFollowOneAnother) {
    std::u16string box;
    appendDisplayForm(u"one=1", box);
    appendDisplayForm(u"two=2", box);
    EXPECT_EQ(box, u"\r\none\r\n1\r\n\r\ntwo\r\n2\r\n");
}

}  // namespace
}  // namespace qb
