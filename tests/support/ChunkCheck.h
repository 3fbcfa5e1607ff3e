// What the scanners rely on when LineChunks cuts a file into runs of lines (the chunk test
// and the chunk fuzzer).

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lookup/LineChunks.h"

namespace qb::test {

// How many times over the file's bytes the cut-off pieces of its lines may be copied: a line
// of n bytes is copied about 2n bytes in all as its room doubles, plus once when a read
// cuts it; a copy on every read would be n bytes a read.
inline constexpr size_t kMostCopiesOfTheFile = 4;

// Reads `library` through `chunks` (started anew) in reads of at most `pieceSize` bytes and
// checks that the runs joined give the file back, that every run ends at a line end or at
// the file's end, that the end is then told, and that the pieces moved stay within a few
// times the file. Returns what went wrong, or nothing.
std::string checkLineChunks(LineChunks& chunks, std::string_view library, size_t pieceSize);

}  // namespace qb::test
