#include <gtest/gtest.h>

#include "TextMatch.h"
#include "Utf8.h"

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
        {"app", "App", true, true},      // equality still ignores case
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
