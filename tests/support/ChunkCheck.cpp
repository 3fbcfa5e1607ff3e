#include "ChunkCheck.h"

#include "lookup/ByteReader.h"

namespace qb::test {

std::string checkLineChunks(LineChunks& chunks, std::string_view library, size_t pieceSize) {
    MemoryReader reader(library, pieceSize);
    chunks.start();
    std::string joined;
    for (;;) {
        std::string_view lines;
        const LineChunks::Got got = chunks.next(reader, lines);
        if (got == LineChunks::Got::Failed) return "a read from memory failed";
        if (got == LineChunks::Got::End) break;
        if (lines.empty()) return "an empty run at byte " + std::to_string(joined.size());
        joined += lines;
        if (joined.size() > library.size()) return "more bytes handed out than the file has";
        if (joined.size() < library.size() && !isLineEnd(lines.back()))
            return "a run ends inside a line, at byte " + std::to_string(joined.size());
    }
    if (joined != library)
        return "the runs give back " + std::to_string(joined.size()) + " bytes, not the " +
               std::to_string(library.size()) + " of the file";
    std::string_view none;
    if (chunks.next(reader, none) != LineChunks::Got::End) return "the end was told only once";
    if (chunks.movedBytes() > kMostCopiesOfTheFile * library.size())
        return std::to_string(chunks.movedBytes()) + " bytes moved for a file of " +
               std::to_string(library.size());
    return {};
}

}  // namespace qb::test
