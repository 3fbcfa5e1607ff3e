// Arbitrary bytes as a library file, cut into runs of lines in reads of many sizes, most of
// them shorter than the file's lines: the runs must give the file back, end at line ends,
// and cost no more than a few copies of the file, however long its lines.
//
// Input: [flags] library...
//   flags bits 0-2  read size: 1, 2, 3, 7, 61, 4096, 64 KiB or the program's own
//   flags bits 3-4  what the reader hands out at most at once: 1, 7, 4096 or unlimited
//   flags bit 5     give back the room of long lines first, as a scanner does after a file

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "ChunkCheck.h"
#include "lookup/LineChunks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    constexpr size_t kReadSizes[] = {1, 2, 3, 7, 61, 4096, 1 << 16, qb::LineChunks::kReadSize};
    // One reader of each read size, kept across inputs as a scanner keeps one across files.
    static std::vector<qb::LineChunks> readers = [&] {
        std::vector<qb::LineChunks> made;
        for (const size_t readSize : kReadSizes) made.emplace_back(readSize);
        return made;
    }();
    constexpr size_t kPieces[] = {1, 7, 4096, SIZE_MAX};
    const uint8_t flags = data[0];
    qb::LineChunks& chunks = readers[flags & 7];
    if (flags & 0x20) chunks.release();
    const std::string_view library(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string fault = qb::test::checkLineChunks(chunks, library, kPieces[(flags >> 3) & 3]);
    if (!fault.empty()) {
        std::fprintf(stderr, "line chunks (reads of up to %zu): %s\n", kReadSizes[flags & 7],
                     fault.c_str());
        std::abort();
    }
    return 0;
}
