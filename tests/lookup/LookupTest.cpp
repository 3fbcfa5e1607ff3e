#include <gtest/gtest.h>

#include "LibraryFixture.h"
#include "lookup/Lookup.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

using test::RecordingView;
using test::TempLibrary;
using Calls = std::vector<std::string>;

const std::string kHint = "Sorry! 找不到任何相符字串\r\n\r\n請使用「所有查詢」";
const std::string kNotFound = "Sorry! 找不到任何相符字串";

class LookupProcedure : public ::testing::Test {
  protected:
    void SetUp() override {
        lib.writeLines("a.lib", {"apple=蘋果", "APPLE=大蘋果", "pineapple=鳳梨", "apple pie=蘋果派",
                                 "app=應用程式"});
        lib.writeLines("b.lib", {"bk=Book", "book=書"});
        lib.writeLines("p.lib", {"purple=紫色"});
        lib.writeLines("z.lib", {"zz=蘋果=蘋果樹", "zoo=動物園"});
        lib.fillMissingWithEmptyFiles();
    }

    RecordingView run(const std::string& typed, bool allEntries = false) {
        RecordingView view(fromUtf8(typed));
        view.output = u"previous results";
        state.AdvSubmit = allEntries;
        Lookup(Library(lib.folder())).Command_Submit_Click(view, state);
        return view;
    }

    TempLibrary lib;
    LookupState state;
};

struct Outcome {
    std::string typed;
    bool allEntriesButton;
    std::string output;
    std::vector<std::string> messages;
};

TEST_F(LookupProcedure, GivesEachOutcomeWithItsBoxesAndMessages) {
    const Outcome cases[] = {
        // exact: letter case ignored, first matching line only, every field compared
        {"Apple", false, "\r\napple\r\n蘋果\r\n", {}},
        {"APPLE", false, "\r\napple\r\n蘋果\r\n", {}},
        {"book", false, "\r\nbk\r\nBook\r\n", {}},
        {"zebra", false, "", {kHint}},
        {"apple pie", false, "\r\napple pie\r\n蘋果派\r\n", {}},
        {"apple p", false, "", {kHint}},
        // all entries: only the initial's file; equality ignores case, containment does not
        {"ple", true, "\r\npurple\r\n紫色\r\n", {}},
        {"App", true, "\r\napp\r\n應用程式\r\n", {}},
        {"zz", true, "\r\nzz\r\n蘋果\r\n", {}},
        {"zzz", true, "", {kNotFound}},
        // text that does not begin with a letter: all 26 files, A to Z, a line once per field
        {"蘋果",
         false,
         "\r\napple\r\n蘋果\r\n\r\nAPPLE\r\n大蘋果\r\n\r\napple pie\r\n蘋果派\r\n"
         "\r\nzz\r\n蘋果\r\n\r\nzz\r\n蘋果\r\n",
         {}},
        {"蘋果",
         true,
         "\r\napple\r\n蘋果\r\n\r\nAPPLE\r\n大蘋果\r\n\r\napple pie\r\n蘋果派\r\n"
         "\r\nzz\r\n蘋果\r\n\r\nzz\r\n蘋果\r\n",
         {}},
        {" ", false, "\r\napple pie\r\n蘋果派\r\n", {}},
        {"3", false, "", {kNotFound}},
        {"éclair", false, "", {kNotFound}},
    };
    for (const auto& c : cases) {
        const RecordingView view = run(c.typed, c.allEntriesButton);
        EXPECT_EQ(view.outputUtf8(), c.output) << "typed: " << c.typed;
        EXPECT_EQ(view.messagesUtf8(), c.messages) << "typed: " << c.typed;
        EXPECT_EQ(view.input, u"") << "typed: " << c.typed;
        EXPECT_EQ(toUtf8(state.lastkey), c.typed);
        EXPECT_FALSE(state.AdvSubmit) << "typed: " << c.typed;
    }
}

TEST_F(LookupProcedure, RefusesEmptyInputAndKeepsEverythingElse) {
    state.lastkey = u"older";
    const RecordingView view = run("", true);
    EXPECT_EQ(view.messagesUtf8(), std::vector<std::string>{"請先輸入字串"});
    EXPECT_EQ(view.calls, (Calls{"topmost off", "message", "topmost on"}));
    EXPECT_EQ(view.output, u"previous results");
    EXPECT_EQ(state.lastkey, u"older");
    EXPECT_FALSE(state.AdvSubmit);

    // The refused request does not carry over: the next lookup is exact again.
    EXPECT_EQ(run("zzz").messagesUtf8(), std::vector<std::string>{kHint});
}

TEST_F(LookupProcedure, CallsTheWindowInTheDocumentedOrder) {
    EXPECT_EQ(run("apple").calls, (Calls{"topmost off", "topmost on", "clear output", "sound",
                                         "print", "clear input"}));
    EXPECT_EQ(run("zebra").calls, (Calls{"topmost off", "topmost on", "clear output", "sound",
                                         "clear input", "topmost off", "message", "topmost on"}));
    EXPECT_EQ(run("ple", true).calls, (Calls{"topmost off", "topmost on", "clear output", "sound",
                                             "print", "clear input", "topmost off", "topmost on"}));
}

TEST_F(LookupProcedure, TellsOnceAboutMissingFilesBeforeTheNotFoundMessage) {
    std::filesystem::remove(lib.folder() + "/q.lib");
    std::filesystem::remove(lib.folder() + "/c.lib");
    const std::string dir = lib.folder();

    RecordingView single = run("quince");
    EXPECT_EQ(single.messagesUtf8(),
              (std::vector<std::string>{"找不到字典檔：" + dir + "/q.lib", kHint}));

    RecordingView all = run("蘋果");
    EXPECT_EQ(all.messagesUtf8(),
              std::vector<std::string>{"找不到字典檔：" + dir + "/C.lib\r\n" + dir + "/Q.lib"});
    EXPECT_NE(all.output, u"");  // the other files were still searched

    RecordingView none = run("3");
    EXPECT_EQ(none.messagesUtf8(),
              (std::vector<std::string>{"找不到字典檔：" + dir + "/C.lib\r\n" + dir + "/Q.lib",
                                        kNotFound}));
    EXPECT_FALSE(state.AdvSubmit);
}

TEST_F(LookupProcedure, ComesToItsEndWithoutAnyLibrary) {
    // The search of all files asks for all entries whether or not a file opened, so with no
    // file at all the message is still the one without the hint.
    const std::pair<std::u16string, std::string> cases[] = {
        {u"apple", kHint}, {u"3", kNotFound}, {u"蘋果", kNotFound}};
    for (const auto& [typed, lastMessage] : cases) {
        RecordingView view(typed);
        LookupState fresh;
        Lookup(Library(lib.folder() + "/nowhere")).Command_Submit_Click(view, fresh);
        ASSERT_EQ(view.messages.size(), 2u);
        EXPECT_EQ(view.messagesUtf8().back(), lastMessage) << toUtf8(typed);
        EXPECT_EQ(view.calls.back(), "topmost on");
        EXPECT_EQ(view.input, u"");
        EXPECT_FALSE(fresh.AdvSubmit);
    }
}

TEST_F(LookupProcedure, RepeatsTheSameWayAnyNumberOfTimes) {
    for (int i = 0; i < 300; ++i) ASSERT_EQ(run("Apple").outputUtf8(), "\r\napple\r\n蘋果\r\n");
}

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::string typed;
    std::string output;
};

TEST(LookupLineEnds, AnyOfCrLfCrAndLfEndsALine) {
    const LineEndCase cases[] = {
        {"CR LF", "avocado=x\r\napple=y\r\n", "apple", "\r\napple\r\ny\r\n"},
        {"LF only", "avocado=x\napple=y\n", "apple", "\r\napple\r\ny\r\n"},
        {"CR only", "avocado=x\rapple=y\r", "apple", "\r\napple\r\ny\r\n"},
        {"no end on the last line", "avocado=x\r\napple=y", "apple", "\r\napple\r\ny\r\n"},
        {"empty lines between", "\r\n\n\r\rapple=y", "apple", "\r\napple\r\ny\r\n"},
        {"space before the equals sign", "apple =y\r\n", "apple", ""},
        {"empty file", "", "apple", ""},
    };
    for (const auto& c : cases) {
        TempLibrary lib;
        lib.writeRaw("a.lib", c.bytes);
        RecordingView view(fromUtf8(c.typed));
        LookupState state;
        Lookup(Library(lib.folder())).Command_Submit_Click(view, state);
        EXPECT_EQ(view.outputUtf8(), c.output) << c.name;
    }
}

}  // namespace
}  // namespace qb
