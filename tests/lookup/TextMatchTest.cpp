#include <gtest/gtest.h>

#include "lookup/EntryLine.h"
#include "lookup/TextMatch.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

struct MatchCase {
    std::string field;
    std::string typed;
    bool exact;
    bool allEntries;
};

TEST(TextMatch, ExactIgnoresCaseAndAllEntriesAddsCaseSensitiveContainment) {
    const MatchCase cases[] = {
        {"apple", "Apple", true, true},
        {"APPLE", "apple", true, true},
        {"apple", "App", false, false},  // containment counts case
        {"apple", "app", false, true},
        {"app", "App", true, true},  // equality still ignores case
        {"apple ", "apple", false, true},
        {" apple", "apple", false, true},
        {"", "a", false, false},
        {"蘋果派", "蘋果", false, true},
        {"蘋果", "蘋果", true, true},
        {"ÉCOLE", "école", true, true},  // beyond A-Z through the Unicode mapping
        {"Ａ", "ａ", true, true},        // full-width letters have case too
        {"Ａ", "a", false, false},       // but no width folding
        {"a b", " ", false, true},
        {"café", "cafe", false, false},  // no accent folding
    };
    for (const auto& c : cases) {
        const TypedText typed(fromUtf8(c.typed));
        const std::u16string field = fromUtf8(c.field);
        EXPECT_EQ(fieldMatches(field, typed, MatchMode::Exact), c.exact)
            << "exact: field '" << c.field << "' typed '" << c.typed << "'";
        EXPECT_EQ(fieldMatches(field, typed, MatchMode::AllEntries), c.allEntries)
            << "all: field '" << c.field << "' typed '" << c.typed << "'";
    }
}

TEST(TextMatch, CountsEveryMatchingFieldInAllEntriesModeButOneInExactMode) {
    const TypedText typed(u"ab");
    EXPECT_EQ(countMatchingFields(u"ab=xaby=AB=q", typed, MatchMode::AllEntries), 3);
    EXPECT_EQ(countMatchingFields(u"ab=xaby=AB=q", typed, MatchMode::Exact), 1);
    EXPECT_EQ(countMatchingFields(u"", typed, MatchMode::AllEntries), 0);
}

}  // namespace
}  // namespace qb

namespace qb {
namespace {

// A one-character text is counted in one walk of the line; it must count what the field by
// field rule counts, at field edges, on empty fields and with letter case.
TEST(TextMatch, OneCharacterIsCountedAsFieldByField) {
    const std::u16string lines[] = {
        u"",
        u"=",
        u"a",
        u"A",
        u"a=",
        u"=a",
        u"a=a=a",
        u"ab=ba=",
        u"b==A",
        u"Apple=蘋果",
        u"x y=x z",
        u" = ",
        u"1=10=21",
        u"ΑΒ=α=Α",
        u"十=十月=",
        u"\uFFFD=\uFFFD\uFFFD",
        // Lines counted eight units at a time up to 64, with what counts at the edges of
        // those blocks, and longer ones.
        u"xxxxxxx=a",
        u"xxxxxxxa=1",
        u"bbbbbbbbb=a=z1",  // the last block overlaps the one before it
        u"1bbbbbbb=bbbbb=A",
        u"bbbbbbbbbbbbbb=",
        std::u16string(63, u'b') + u"=a",
        std::u16string(62, u'b') + u"a=",
        std::u16string(u"a").append(62, u'b').append(
            u"=A"),  // GCC 12 for Windows warns falsely about u"a" + ...
        std::u16string(64, u' '),
        std::u16string(70, u'b') + u"=1=a",
        std::u16string(66, u'=') + u"a",
        std::u16string(15, u'b') + u"=a=" + std::u16string(20, u'十') + u"=Α=" +
            std::u16string(30, u'z'),
    };
    const std::u16string texts[] = {u"a", u"A",  u" ", u"1",      u"α",
                                    u"Α", u"十", u"=", u"\uFFFD", u"z"};
    for (MatchMode mode : {MatchMode::Exact, MatchMode::AllEntries}) {
        for (const std::u16string& text : texts) {
            const TypedText typed(text);
            for (const std::u16string& line : lines) {
                int byFields = 0;
                for (std::u16string_view field : splitFields(line))
                    byFields += fieldMatches(field, typed, mode) ? 1 : 0;
                if (mode == MatchMode::Exact) byFields = byFields > 0 ? 1 : 0;
                EXPECT_EQ(countMatchingFields(line, typed, mode), byFields)
                    << "mode " << static_cast<int>(mode) << " text U+" << std::hex
                    << static_cast<unsigned>(text[0]) << " line of " << std::dec << line.size();
            }
        }
    }
}

}  // namespace
}  // namespace qb
