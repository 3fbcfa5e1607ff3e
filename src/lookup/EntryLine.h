#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One line of a library file is cut into fields at every "="; the first field is the
// headword, the second its definition. Nothing is trimmed. An empty line has no fields.
std::vector<std::u16string_view> splitFields(std::u16string_view line);

// Calls `onField` with each field in turn until it returns false; allocates nothing, for the
// million lines of a scan.
template <typename OnField>
void forEachField(std::u16string_view line, OnField&& onField) {
    if (line.empty()) return;
    for (size_t start = 0;;) {
        const size_t eq = line.find(u'=', start);
        if (!onField(line.substr(start, eq == std::u16string_view::npos ? eq : eq - start))) return;
        if (eq == std::u16string_view::npos) return;
        start = eq + 1;
    }
}

inline constexpr std::u16string_view kLineBreak = u"\r\n";

// The text that showing one entry line appends to the output box: a line break before each
// of the first two fields, and one more to close the entry. `put` is called with its pieces
// in order, so a caller can write them wherever and in whatever encoding it needs.
template <typename Put>
void forEachDisplayPiece(std::u16string_view line, Put&& put) {
    int shown = 0;
    forEachField(line, [&](std::u16string_view field) {
        put(kLineBreak);
        put(field);
        return ++shown < 2;
    });
    put(kLineBreak);
}

std::u16string displayForm(std::u16string_view line);
void appendDisplayForm(std::u16string_view line, std::u16string& out);

}  // namespace qb
