#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Big5Codec.h"
#include "EntryLine.h"
#include "LibraryFixture.h"
#include "Lookup.h"
#include "Utf8.h"

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
    Big5Codec codec;
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
            const std::u16string line = codec.decode(raw);
            ASSERT_EQ(line.find(u'\uFFFD'), std::u16string::npos)
                << path << ":" << lineNo << " does not decode";
            ASSERT_EQ(codec.encode(line), raw) << path << ":" << lineNo << " does not round-trip";
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

TEST(BundledLibrary, PutsTheEverydayTranslationFirst) {
    const std::pair<std::string, std::string> firsts[] = {
        {"happy", "快樂"}, {"book", "書"}, {"apple", "蘋果"}, {"dog", "狗"}, {"water", "水"},
    };
    Lookup lookup{Library(kLibDir)};
    for (const auto& [word, first] : firsts) {
        test::RecordingView view(fromUtf8(word));
        LookupState state;
        lookup.Command_Submit_Click(view, state);
        const std::string shown = view.outputUtf8();
        ASSERT_EQ(shown.rfind("\r\n" + word + "\r\n" + first, 0), 0u) << shown;
    }
}

}  // namespace
}  // namespace qb
