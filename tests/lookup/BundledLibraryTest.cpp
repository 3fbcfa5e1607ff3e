#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "LibraryFixture.h"
#include "codepage/CodePage950.h"
#include "lookup/Big5Codec.h"
#include "lookup/EntryLine.h"
#include "lookup/Lookup.h"
#include "lookup/Utf8.h"

namespace qb {
namespace {

const std::string kLibDir = std::string(QB_SOURCE_DIR) + "/lib";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(BundledLibrary, HasTwentySixWellFormedFiles) {
    CodePage950 codePage;
    size_t total = 0;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const std::string path = kLibDir + "/" + letter + ".lib";
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        const std::string bytes = readFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << path;
        size_t start = 0, lineNo = 0;
        while (start < bytes.size()) {
            const size_t end = bytes.find("\r\n", start);
            ASSERT_NE(end, std::string::npos) << path;
            const std::string_view raw(bytes.data() + start, end - start);
            ++lineNo;
            ASSERT_EQ(raw.find_first_of("\r\n"), std::string_view::npos)
                << path << ":" << lineNo << " has a stray line end";
            const std::u16string line = codePage.decode(raw);
            ASSERT_EQ(line.find(u'\uFFFD'), std::u16string::npos)
                << path << ":" << lineNo << " does not decode";
            ASSERT_EQ(codePage.encode(line), raw)
                << path << ":" << lineNo << " does not round-trip";
            const auto fields = splitFields(line);
            ASSERT_EQ(fields.size(), 2u) << path << ":" << lineNo;
            ASSERT_FALSE(fields[0].empty()) << path << ":" << lineNo;
            ASSERT_FALSE(fields[1].empty()) << path << ":" << lineNo;
            ASSERT_EQ(fields[0][0], char16_t(letter)) << path << ":" << lineNo;
            start = end + 2;
        }
        total += lineNo;
    }
    EXPECT_GT(total, 20000u);
}

TEST(BundledLibrary, PutsTheEverydayTranslationBeforeTheRareOne) {
    // `everyday` is among the first three; `rare` is a word the source also
    // offers for the headword (or a spelling that must never be shown), and
    // if it is listed at all it comes after `everyday`.
    struct Case {
        std::string word, everyday, rare;
    };
    const Case cases[] = {
        {"happy", "快樂", "忻"},
        {"book", "書", "冊"},
        {"apple", "蘋果", "苹果"},  // the simplified spelling
        {"dog", "狗", "犬隻"},
        {"water", "水", "澆灌"},
        {"computer", "電腦", "計算機"},  // the mainland word; a calculator in Taiwan
        {"give", "給", "與"},
        {"like", "喜歡", "同"},
        {"teacher", "老師", "先生"},
        {"take", "取", "于"},
        {"set", "一套", "下山"},
        {"tomato", "番茄", "西紅柿"},  // Taiwan's word before the mainland's
        {"right", "對", "是"},         // the copula owes its count to "is"
        {"snake", "蛇", "小龍"},       // the zodiac name
        {"phone", "電話", "致電"},     // read off "telephone"
    };
    Lookup lookup{Library(kLibDir)};
    for (const auto& c : cases) {
        test::RecordingView view(fromUtf8(c.word));
        LookupState state;
        lookup.Command_Submit_Click(view, state);
        const std::string shown = view.outputUtf8();
        const std::string head = "\r\n" + c.word + "\r\n";
        ASSERT_EQ(shown.rfind(head, 0), 0u) << shown;
        const std::string definition = shown.substr(head.size());
        std::vector<std::string> words;
        for (size_t start = 0, end; start < definition.size(); start = end + 3) {
            end = definition.find("；", start);
            if (end == std::string::npos) end = definition.find("\r\n", start);
            words.push_back(definition.substr(start, end - start));
        }
        const auto everyday = std::find(words.begin(), words.end(), c.everyday);
        ASSERT_NE(everyday, words.end()) << c.word << ": " << definition;
        EXPECT_LT(everyday - words.begin(), 3) << definition;
        ASSERT_FALSE(c.rare.empty()) << c.word;
        const auto rare = std::find(words.begin(), words.end(), c.rare);
        EXPECT_TRUE(rare == words.end() || rare > everyday) << definition;
    }
}

}  // namespace
}  // namespace qb
