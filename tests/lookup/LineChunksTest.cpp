// A file that lost its line ends (saved with the wrong ones, a download glued back together)
// is one line of megabytes. Reading it must cost about what reading any file of its size
// does: these cut such files, and ordinary ones, into runs of lines in reads of many sizes
// and count the bytes that the cutting moved.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ChunkCheck.h"
#include "lookup/LineChunks.h"

namespace qb {
namespace {

// `unit` over and over, to at least `bytes` bytes.
std::string repeated(const std::string& unit, size_t bytes) {
    std::string out;
    while (out.size() < bytes) out += unit;
    return out;
}

struct ChunkCase {
    const char* what;
    std::string library;
    size_t readSize;
    size_t pieceSize;  // what the reader hands out at most at once
};

TEST(LineChunks, LongLinesAreReadWholeWithoutBeingCopiedOnEveryRead) {
    const std::string entry = "apple=\xC4\xAB\xAA\x47";  // apple=蘋果
    const std::string oneLine = repeated(entry, 1 << 20);
    const std::string shortLines = repeated(entry + "\r\n", 20'000);
    const std::string longLine = repeated(entry, 300'000);
    const ChunkCase cases[] = {
        {"one line of a megabyte, no line end", oneLine, 4096, SIZE_MAX},
        {"the same, arriving in short reads", oneLine, 4096, 1000},
        {"one line of 3 MiB in the program's own reads", repeated(entry, 3 << 20),
         LineChunks::kReadSize, SIZE_MAX},
        {"a long line between short ones", shortLines + longLine + "\r\n" + shortLines, 4096,
         SIZE_MAX},
        {"long lines ended by a lone LF, by CR, and by nothing",
         longLine + "\n" + longLine + "\r" + longLine, 4096, 777},
        {"lines one byte longer than a read", repeated(std::string(64, 'x') + "\r", 1 << 16), 64,
         SIZE_MAX},
        {"lines of a few reads, a byte at a time", repeated(repeated(entry, 500) + "\r\n", 20'000),
         61, 1},
        {"an ordinary library", repeated(entry + "\r\n", 1 << 20), 4096, SIZE_MAX},
        {"an ordinary library in the program's own reads", repeated(entry + "\r\n", 3 << 20),
         LineChunks::kReadSize, SIZE_MAX},
    };
    // One reader of each read size for all the files, as a scanner keeps one; it gives back
    // the room of a long line after every other file, as a scanner does after each.
    std::vector<std::pair<size_t, LineChunks>> readers;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ChunkCase& c = cases[i];
        auto it = std::find_if(readers.begin(), readers.end(),
                               [&](const auto& r) { return r.first == c.readSize; });
        if (it == readers.end()) it = readers.emplace(readers.end(), c.readSize, c.readSize);
        LineChunks& chunks = it->second;
        EXPECT_EQ(test::checkLineChunks(chunks, c.library, c.pieceSize), "") << c.what;
        if (i % 2 == 1) chunks.release();
    }
}

}  // namespace
}  // namespace qb
