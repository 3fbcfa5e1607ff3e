#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "LibraryFixture.h"
#include "RunProgram.h"

namespace qb {
namespace {

struct ToolRun {
    std::string out;
    std::string err;
    int status = -1;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Standard output goes to `outPath` when one is given (and is then not read back).
ToolRun runTool(const std::vector<std::string>& args, std::string outPath = "",
                const std::string& tool = QB_LOOKUP_TOOL) {
    const std::string base = test::uniqueTempPath("quillbook-tool").string();
    const bool ownOut = outPath.empty();
    if (ownOut) outPath = base + ".out";
    const std::string errPath = base + ".err";
    ToolRun run;
    run.status = test::runProgram(tool, args, outPath, errPath);
    if (ownOut) run.out = slurp(outPath);
    run.err = slurp(errPath);
    if (ownOut) std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        lib.writeLines("a.lib", {"apple=蘋果", "Apple=蘋果二", "apple pie=蘋果派=甜點"});
        lib.writeLines("z.lib", {"zz=蘋果=蘋果樹"});
        lib.writeLines("-.lib", {"dash=x"});
        // Fields empty, missing, and past a block of eight units.
        lib.writeLines("m.lib",
                       {"mq=", "mw", "=empty head 芒", "mixed ascii 蘋果 then more=定義=x"});
        lib.fillMissingWithEmptyFiles();
    }
    test::TempLibrary lib;
};

struct ToolCase {
    std::vector<std::string> args;
    std::string out;
    std::string err;
    int status;
};

TEST_F(CommandLine, PrintsTheBoxAndTheMessagesAndTellsByItsStatus) {
    const std::string d = lib.folder();
    const std::string hint = "Sorry! 找不到任何相符字串\r\n\r\n請使用「所有查詢」\n";
    const ToolCase cases[] = {
        {{"--lib", d, "APPLE"}, "\r\napple\r\n蘋果\r\n", "", 0},
        {{"--lib", d, "apple pie"}, "\r\napple pie\r\n蘋果派\r\n", "", 0},
        {{"--lib", d, "apple "}, "", hint, 1},
        {{"--lib", d, "--all", "apple p"}, "\r\napple pie\r\n蘋果派\r\n", "", 0},
        {{"--all", "--lib", d, "zzz"}, "", "Sorry! 找不到任何相符字串\n", 1},
        {{"--lib", d, "樹"}, "\r\nzz\r\n蘋果\r\n", "", 0},
        {{"--lib", d, "mq"}, "\r\nmq\r\n\r\n", "", 0},
        {{"--lib", d, "MW"}, "\r\nmw\r\n", "", 0},
        {{"--lib", d, "芒"}, "\r\n\r\nempty head 芒\r\n", "", 0},
        {{"--lib", d, "--all", "mixed ascii"}, "\r\nmixed ascii 蘋果 then more\r\n定義\r\n", "", 0},
        {{"--lib", d, ""}, "", "請先輸入字串\n", 1},
        {{"--lib", d, "--", "-x"}, "", "Sorry! 找不到任何相符字串\n", 1},
        {{"--lib", d + "/none", "q"}, "", "找不到字典檔：" + d + "/none/q.lib\n" + hint, 1},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.args);
        const std::string what = c.args.back();
        EXPECT_EQ(run.out, c.out) << what;
        EXPECT_EQ(run.err, c.err) << what;
        EXPECT_EQ(run.status, c.status) << what;
    }
}

// The result goes out through a buffer of 64 KiB as it is found: results that fill it many
// times, and single entries longer than it, must come out whole and in order.
TEST_F(CommandLine, ResultsLargerThanTheWriteBufferComeOutWhole) {
    struct Case {
        std::string name;
        int entries;
        size_t definitionChars;  // of 蘋, three bytes each in UTF-8
    };
    const Case cases[] = {
        {"many", 20000, 3},  // about 20 bytes an entry: several buffers' worth
        {"long", 2, 70000},  // each entry alone more than a buffer
        {"edge", 1, 21844},  // the definition just overruns what is left of a buffer
    };
    for (const Case& c : cases) {
        test::TempLibrary big;
        std::vector<std::string> lines;
        std::string expected;
        std::string definition;
        for (size_t i = 0; i < c.definitionChars; ++i) definition += "蘋";
        for (int i = 0; i < c.entries; ++i) {
            // Built by appending: GCC 12 warns falsely about "q" + std::to_string(i).
            std::string head = "q";
            head.append(std::to_string(i)).append("x");
            lines.push_back(std::string(head).append("=").append(definition).append("=not shown"));
            expected.append("\r\n").append(head).append("\r\n").append(definition).append("\r\n");
        }
        big.writeLines("q.lib", lines);
        big.fillMissingWithEmptyFiles();
        const ToolRun run = runTool({"--lib", big.folder(), "--all", "q"});
        EXPECT_EQ(run.status, 0) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
        EXPECT_EQ(run.out.size(), expected.size()) << c.name;
        EXPECT_TRUE(run.out == expected) << c.name;
    }
}

// A result that cannot be written is a failure, told on standard error and by the status, not
// a lookup that found something.
TEST_F(CommandLine, TellsWhenTheResultCannotBeWritten) {
    const ToolRun run = runTool({"--lib", lib.folder(), "apple"}, "/dev/full");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("quillbook-lookup: cannot write the result"), std::string::npos)
        << run.err;
}

TEST_F(CommandLine, RejectsBadUsageWithStatusTwo) {
    const std::vector<std::string> bad[] = {
        {}, {"--lib"}, {"--frobnicate", "x"}, {"a", "b"}, {"--all", "--base-form", "x"}};
    for (const auto& args : bad) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: quillbook-lookup"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--lib DIR"), std::string::npos);
}

// What the desktop's key for selected text looks up, and what it shows, the same as a plain
// lookup of the form it chose; on the bundled library for the irregular forms.
TEST_F(CommandLine, BaseFormLooksUpWhatASelectionLooksUp) {
    const std::string d = lib.folder();
    const std::string apple = "\r\napple\r\n蘋果\r\n";
    const ToolCase cases[] = {
        {{"--lib", d, "--base-form", " “APPLES.”\n"}, apple, "", 0},
        {{"--lib", d, "--base-form", "apple's"}, apple, "", 0},
        {{"--lib", d, "--base-form", "(apple  pies)"},
         "",
         "Sorry! 找不到任何相符字串\r\n\r\n請使用「所有查詢」\n",
         1},
        {{"--lib", d, "--base-form", "「」。"}, "", "請先輸入字串\n", 1},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.out, c.out) << c.args.back();
        EXPECT_EQ(run.err, c.err) << c.args.back();
        EXPECT_EQ(run.status, c.status) << c.args.back();
    }
    const std::pair<const char*, const char*> bundled[] = {
        {"went", "go"}, {"Children's", "child"}, {"mice", "mouse"}, {"stopped", "stop"}};
    for (const auto& [selected, base] : bundled) {
        const ToolRun run = runTool({"--base-form", selected});
        EXPECT_EQ(run.status, 0) << selected << run.err;
        EXPECT_EQ(run.out, runTool({base}).out) << selected;
    }
}

TEST_F(CommandLine, UsesTheLibraryBesideTheProgramByDefault) {
    const ToolRun run = runTool({"apple"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("\r\napple\r\n蘋果", 0), 0u) << run.out;
}

// Folders in any script and deeper than the 260 characters where older Windows stop: the
// program's own folder (from the system) with a Chinese name, and a library folder past 260
// characters. (Windows cannot start a program from a folder that deep; tests/windows/
// long_program_folder_test.sh starts one there from Linux.)
TEST_F(CommandLine, FindsTheLibraryInFoldersOfAnyName) {
    const std::filesystem::path tool = pathFromUtf8(QB_LOOKUP_TOOL);
    const std::string deep =
        std::string(100, 'd') + "/" + std::string(100, 'e') + "/" + std::string(60, 'f') + "/字典";
    struct Case {
        std::string name;
        bool programThere;  // else the library alone, named with --lib
    };
    for (const Case& c : {Case{"詞典 查詢", true}, Case{deep, false}}) {
        const std::string base = utf8Of(test::uniqueTempPath("quillbook-folder"));
        const std::string folder = base + "/" + c.name;
        std::filesystem::create_directories(pathFromUtf8(folder + "/lib"));
        std::vector<std::string> made;
        // Over what a run whose process had the same number may have left (Wine's are small).
        const auto over = std::filesystem::copy_options::overwrite_existing;
        for (const char* file : {"a.lib", "z.lib"}) {
            made.push_back(folder + "/lib/" + file);
            std::filesystem::copy_file(pathFromUtf8(lib.folder() + "/" + file),
                                       pathFromUtf8(made.back()), over);
        }
        ToolRun run;
        if (c.programThere) {
            made.push_back(folder + "/" + utf8Of(tool.filename()));
            std::filesystem::copy_file(tool, pathFromUtf8(made.back()), over);
            run = runTool({"apple"}, "", made.back());
        } else {
            EXPECT_GT(folder.size() + 10, 260u);
            run = runTool({"--lib", folder + "/lib", "apple"});
        }
        EXPECT_EQ(run.status, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, "\r\napple\r\n蘋果\r\n") << c.name;
        // What was made, one by one from the deepest: the C++ library for Windows cannot
        // remove a tree past 260 characters.
        made.push_back(folder + "/lib");
        for (const std::string& path : made) std::filesystem::remove(pathFromUtf8(path));
        for (std::filesystem::path up = pathFromUtf8(folder);
             up != pathFromUtf8(base).parent_path(); up = up.parent_path())
            std::filesystem::remove(up);
    }
}

}  // namespace
}  // namespace qb
