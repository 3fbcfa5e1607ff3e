#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One line of a library file is cut into fields at every "="; the first field is the
// headword, the second its definition. Nothing is trimmed. An empty line has no fields.
std::vector<std::u16string_view> splitFields(std::u16string_view line);

// The text that showing one entry line appends to the output box: a line break before each
// of the first two fields, and one more to close the entry.
std::u16string displayForm(std::u16string_view line);
void appendDisplayForm(std::u16string_view line, std::u16string& out);

inline constexpr std::u16string_view kLineBreak = u"\r\n";

}  // namespace qb
