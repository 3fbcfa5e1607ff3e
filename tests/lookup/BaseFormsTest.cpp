#include <gtest/gtest.h>

#include "LibraryFixture.h"
#include "lookup/BaseForms.h"
#include "lookup/Lookup.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

std::string joined(const std::vector<std::u16string>& forms) {
    std::string text;
    for (const std::u16string& form : forms) {
        if (!text.empty()) text += ' ';
        text.append(toUtf8(form));
    }
    return text;
}

// The candidates in order, from the first; a case lists as many as its point needs.
TEST(BaseForms, ComeInTheDocumentedOrder) {
    const std::pair<std::u16string, std::string> cases[] = {
        // Irregular, from WordNet's lists, before any regular ending.
        {u"went", "go"},
        {u"children", "child"},
        {u"mice", "mouse"},
        {u"feet", "foot"},
        {u"better", "good well bett bet bette"},
        {u"leaves", "leaf leave leav"},  // the noun's list gives both, leaf first
        {u"ran", "run"},
        // Capitals and curly apostrophes are read as lower case and straight.
        {u"WENT", "go"},
        {u"Apples", "apple appl"},
        // Possessives: irregular forms of the word first, then the word, then its endings.
        {u"Apple's", "apple"},
        {u"children’s", "child children"},
        {u"teachers'", "teachers teacher"},
        // -s: "ies" as y, plain, "es"; "es" first where English always writes it.
        {u"cities", "city citie citi"},
        {u"ties", "tie"},
        {u"horses", "horse hors"},
        {u"buses", "buse bus"},
        {u"boxes", "box boxe"},
        {u"churches", "church churche"},
        {u"glass", ""},
        // -ed: y, plain, doubling undone, e restored; e first after one vowel and consonant.
        {u"tried", "try tri trie"},
        {u"walked", "walk walke"},
        {u"stopped", "stop stopp"},         // WordNet lists it
        {u"blogged", "blogg blog blogge"},  // WordNet does not list it
        {u"hoped", "hope hop"},
        {u"agreed", "agre agree"},
        {u"used", "use us"},
        // -ing likewise, and "ying" as "ie".
        {u"running", "run runn"},
        {u"blogging", "blogg blog blogge"},
        {u"making", "make mak"},
        {u"playing", "play playe"},
        {u"eating", "eat eate"},  // a vowel pair before the "t",
        {u"tying", "tie"},
        // -er, -est.
        {u"happier", "happy happi"},
        {u"thinner", "thin thinn"},  // WordNet's
        {u"bloggest", "blogg blog blogge"},
        {u"nicest", "nice nic"},
        {u"taller", "tall tal talle"},
        // Words that only look inflected have candidates too; the lookup tries the word first.
        {u"this", "thi"},
        {u"bus", "bu"},
        {u"news", "new"},
        {u"always", "alway"},
        // Nothing without a vowel, nothing of one letter, and no word of another script.
        {u"sing", ""},
        {u"is", "be"},
        {u"蘋果", ""},
        {u"", ""},
    };
    for (const auto& [word, expected] : cases) {
        const std::string forms = joined(baseForms(word));
        EXPECT_EQ(forms.substr(0, expected.size()), expected) << toUtf8(word) << ": " << forms;
        if (expected.empty()) {
            EXPECT_EQ(forms, "") << toUtf8(word);
        }
    }
}

// A word is looked up as itself when it finds entries; only then is the first base form that
// finds entries taken.
TEST(BaseForms, TheWordItselfComesFirstThenTheFirstFormThatFinds) {
    test::TempLibrary lib;
    lib.writeLines("a.lib", {"always=總是", "alway=x"});
    lib.writeLines("b.lib", {"bus=公車", "bu=x"});
    lib.writeLines("g.lib", {"go=去"});
    lib.writeLines("l.lib", {"leave=離開", "leaf=葉"});
    lib.writeLines("n.lib", {"new=新", "News=新聞"});
    lib.writeLines("s.lib", {"stop=停"});
    lib.writeLines("t.lib", {"this=這", "thi=x"});
    lib.fillMissingWithEmptyFiles();
    Lookup lookup{Library(lib.folder())};
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"this", u"this"},       {u"bus", u"bus"},       {u"news", u"news"},
        {u"always", u"always"},   {u"WENT", u"go"},       {u"leaves", u"leaf"},
        {u"stopped", u"stop"},    {u"stopping", u"stop"}, {u"goes", u"go"},
        {u"gone", u"go"},         {u"zzzs", u"zzzs"},     {u"蘋果", u"蘋果"},
        {u"stop it", u"stop it"},  // several words are looked up whole
    };
    for (const auto& [word, form] : cases)
        EXPECT_EQ(toUtf8(lookup.wordOrBaseForm(word)), toUtf8(form)) << toUtf8(word);

    // The quiet probe follows the lookup's rule: exact in the letter's file, case ignored;
    // other text anywhere.
    EXPECT_TRUE(lookup.findsEntries(u"NEWS"));
    EXPECT_FALSE(lookup.findsEntries(u"new york"));
    EXPECT_TRUE(lookup.findsEntries(u"新"));
    EXPECT_FALSE(lookup.findsEntries(u""));
}

}  // namespace
}  // namespace qb
