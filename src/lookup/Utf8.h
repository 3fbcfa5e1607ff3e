#pragma once

#include <string>
#include <string_view>

namespace qb {

// Conversions at the program's edges (command line, paths, terminals). Invalid sequences
// become U+FFFD.
std::u16string fromUtf8(std::string_view text);
std::string toUtf8(std::u16string_view text);

}  // namespace qb
