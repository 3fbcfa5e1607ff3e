#include "ScanReport.h"

#include <cstring>
#include <sstream>

#include "lookup/ByteReader.h"

namespace qb::test {

bool Report::operator==(const Report& other) const {
    if (readable != other.readable || stoppedAtMatch != other.stoppedAtMatch ||
        lines.size() != other.lines.size())
        return false;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() != other.lines[i].size() ||
            std::memcmp(lines[i].data(), other.lines[i].data(), lines[i].size() * 2) != 0)
            return false;
    return true;
}

Report run(Scanner& scanner, std::string_view library, size_t pieceSize, const TypedText& typed,
           MatchMode mode) {
    MemoryReader reader(library, pieceSize);
    Report report;
    const ScanResult result = scanner.scan(
        reader, typed, mode, [&](std::u16string_view line) { report.lines.emplace_back(line); });
    report.readable = result.readable;
    report.stoppedAtMatch = result.stoppedAtMatch;
    return report;
}

std::string describe(const Report& r) {
    std::ostringstream out;
    out << r.lines.size() << " lines, readable=" << r.readable
        << " stoppedAtMatch=" << r.stoppedAtMatch << "\n";
    for (const auto& line : r.lines) {
        out << "  [";
        for (char16_t ch : line) out << std::hex << static_cast<unsigned>(ch) << ' ';
        out << std::dec << "]\n";
    }
    return out.str();
}

}  // namespace qb::test
