#include <gtest/gtest.h>

#include "LibraryFixture.h"
#include "lookup/Lookup.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

using test::RecordingView;
using test::TempLibrary;

std::string lookUp(const std::string& folder, const std::string& typed) {
    RecordingView view(fromUtf8(typed));
    LookupState state;
    Lookup(Library(folder)).Command_Submit_Click(view, state);
    return view.outputUtf8();
}

TEST(LibraryFiles, AreFoundWhateverTheCaseOfTheirNamesOnDisk) {
    TempLibrary lib;
    lib.writeLines("A.LIB", {"apple=蘋果"});
    lib.writeLines("b.Lib", {"book=書"});
    lib.writeLines("z.lib", {"zoo=動物園"});
    lib.fillMissingWithEmptyFiles();
    EXPECT_EQ(lookUp(lib.folder(), "apple"), "\r\napple\r\n蘋果\r\n");  // asks for a.lib
    EXPECT_EQ(lookUp(lib.folder(), "Book"), "\r\nbook\r\n書\r\n");
    EXPECT_EQ(lookUp(lib.folder(), "動物"), "\r\nzoo\r\n動物園\r\n");  // asks for Z.lib
}

TEST(LibraryFiles, NamesFollowTheFolderAndTheLetterAsWritten) {
    const Library lib("/opt/q/lib");
    EXPECT_EQ(lib.pathOf('a'), "/opt/q/lib/a.lib");
    EXPECT_EQ(lib.pathOf('Z'), "/opt/q/lib/Z.lib");
    EXPECT_EQ(Library::besideProgram("/opt/q").folder(), "/opt/q/lib");
}

TEST(LibraryFiles, AFolderInPlaceOfAFileCountsAsMissing) {
    TempLibrary lib;
    std::filesystem::create_directory(lib.folder() + "/a.lib");
    RecordingView view(u"apple");
    LookupState state;
    Lookup(Library(lib.folder())).Command_Submit_Click(view, state);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messagesUtf8()[0], "找不到字典檔：" + lib.folder() + "/a.lib");
}

TEST(LibraryFiles, InvalidBig5BecomesReplacementCharactersAndNeverStopsTheScan) {
    TempLibrary lib;
    // A lone lead byte, an unassigned pair and a lead byte before "=" around good entries.
    lib.writeRaw("a.lib",
                 "a\x81=bad\r\nab=\xff\xa4\r\nabc\xa4=x\r\napple=" + test::big5("蘋果") + "\r\n");
    EXPECT_EQ(lookUp(lib.folder(), "apple"), "\r\napple\r\n蘋果\r\n");
    EXPECT_EQ(lookUp(lib.folder(), "ab"), "\r\nab\r\n\uF8F8\uFFFD\r\n");
    EXPECT_EQ(lookUp(lib.folder(), "abc\uFFFD"), "\r\nabc\uFFFD\r\nx\r\n");
}

}  // namespace
}  // namespace qb
