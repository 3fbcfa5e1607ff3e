#include "TextMatch.h"

#include <unicode/uchar.h>

#include "EntryLine.h"

namespace qb {

std::u16string toLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& ch : out) ch = static_cast<char16_t>(u_tolower(ch));
    return out;
}

TypedText::TypedText(std::u16string t) : text(std::move(t)), lowered(toLower(text)) {}

static bool equalsIgnoringCase(std::u16string_view field, std::u16string_view lowered) {
    if (field.size() != lowered.size()) return false;
    for (size_t i = 0; i < field.size(); ++i)
        if (static_cast<char16_t>(u_tolower(field[i])) != lowered[i]) return false;
    return true;
}

bool fieldMatches(std::u16string_view field, const TypedText& typed, MatchMode mode) {
    // An empty field never matches: the typed text of a lookup is never empty.
    if (field.empty() || typed.text.empty()) return false;
    if (equalsIgnoringCase(field, typed.lowered)) return true;
    return mode == MatchMode::AllEntries && field.find(typed.text) != std::u16string_view::npos;
}

int countMatchingFields(std::u16string_view line, const TypedText& typed, MatchMode mode) {
    int count = 0;
    forEachField(line, [&](std::u16string_view field) {
        if (fieldMatches(field, typed, mode)) ++count;
        return count == 0 || mode != MatchMode::Exact;
    });
    return count;
}

}  // namespace qb
