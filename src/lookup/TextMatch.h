#pragma once

#include <string>
#include <string_view>

namespace qb {

// Unicode simple lower-case mapping, one UTF-16 unit at a time.
std::u16string toLower(std::u16string_view text);

enum class MatchMode {
    Exact,       // a field equals the typed text, letter case ignored
    AllEntries,  // ... or the typed text occurs in the field, letter case counting
};

// The typed text of one lookup with what every field is compared against.
struct TypedText {
    explicit TypedText(std::u16string text);
    std::u16string text;
    std::u16string lowered;
};

bool fieldMatches(std::u16string_view field, const TypedText& typed, MatchMode mode);

// How many fields of the line match: an exact lookup shows the line once when this is not
// zero, a search of all entries shows it once per matching field.
int countMatchingFields(std::u16string_view line, const TypedText& typed, MatchMode mode);

}  // namespace qb
