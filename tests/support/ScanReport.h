// What a scanner reports for one library and typed text, in a form two scanners' reports can
// be compared in (the differential test and the scanner fuzzer).

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/Scanner.h"

namespace qb::test {

struct Report {
    std::vector<std::u16string> lines;
    bool readable = true;
    bool stoppedAtMatch = false;
    // Compared as bytes: lines of megabytes, and sanitizer builds.
    bool operator==(const Report& other) const;
};

// Scans the library in reads of `pieceSize` bytes and records every line reported.
Report run(Scanner& scanner, std::string_view library, size_t pieceSize, const TypedText& typed,
           MatchMode mode);

// The report for a failure message: counts, flags and every line in hexadecimal.
std::string describe(const Report& report);

}  // namespace qb::test
