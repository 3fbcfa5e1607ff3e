#include <string>

#include "lookup/EntryLine.h"
#include "lookup/LineEnds.h"
#include "lookup/Scanner.h"

namespace qb {
namespace {

// Calls `onLine` for each line of `text`; the last piece counts as a line when not empty.
template <typename OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !isLineEnd(text[end])) ++end;
        if (!onLine(text.substr(start, end - start))) return false;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return true;
}

}  // namespace

ScanResult ReferenceScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                                  const MatchSink& sink) {
    std::string content;
    char chunk[4096];
    for (;;) {
        const long n = bytes.read(chunk, sizeof chunk);
        if (n < 0) return {false, false};
        if (n == 0) break;
        content.append(chunk, static_cast<size_t>(n));
    }
    ScanResult result;
    forEachLine(content, [&](std::string_view raw) {
        const std::u16string line = codec_.decode(raw);
        for (std::u16string_view field : splitFields(line)) {
            if (!fieldMatches(field, typed, mode)) continue;
            sink(line);
            if (mode == MatchMode::Exact) {
                result.stoppedAtMatch = true;
                return false;
            }
        }
        return true;
    });
    return result;
}

}  // namespace qb
