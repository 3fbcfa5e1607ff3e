#include <gtest/gtest.h>

#include "lookup/SelectedText.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

TEST(SelectedText, IsTrimmedOfWhatASelectionDragsAlong) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"apple", u"apple"},
        {u"  apple\t\r\n", u"apple"},
        {u"\"apple\"", u"apple"},
        {u"“apple,”", u"apple"},
        {u"‘apple’", u"apple"},
        {u"(apple)", u"apple"},
        {u"[apple];", u"apple"},
        {u"apple.", u"apple"},
        {u"apple...", u"apple"},
        {u"apple!?", u"apple"},
        {u"apple:", u"apple"},
        {u"apple—", u"apple"},
        // The possessive stays for the base forms; a closing quote does not.
        {u"Apple's", u"Apple's"},
        {u"Apple’s.", u"Apple’s"},
        {u"dogs'", u"dogs'"},
        {u"'dogs'", u"dogs"},
        // Several words whole; inner white space, line breaks too, as one space.
        {u"give up", u"give up"},
        {u" give \t up.\n", u"give up"},
        {u"look\r\nafter", u"look after"},
        {u"\u00A0give\u3000up\u00A0", u"give up"},
        {u"well-known", u"well-known"},
        // Chinese typography.
        {u"「蘋果」", u"蘋果"},
        {u"蘋果。", u"蘋果"},
        {u"蘋果，", u"蘋果"},
        {u"《字典》", u"字典"},
        {u"（蘋果）！", u"蘋果"},
        // What belongs to words and amounts stays.
        {u"C++", u"C++"},
        {u"C#.", u"C#"},
        {u"100%", u"100%"},
        // Nothing but what is dragged along.
        {u"", u""},
        {u" \t\n", u""},
        {u"「」。，", u""},
        {u"\"...\"", u""},
    };
    for (const auto& [selected, trimmed] : cases)
        EXPECT_EQ(toUtf8(trimSelection(selected)), toUtf8(trimmed)) << toUtf8(selected);
}

}  // namespace
}  // namespace qb
