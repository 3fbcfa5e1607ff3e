#pragma once

#include <string>
#include <string_view>

namespace qb::platform {

// Standard output and standard error as a command-line tool writes them: UTF-8 bytes exactly
// as given to a file or pipe (no line ends made from "\n"), and to a console window the
// characters themselves, whatever its code page. `utf8` holds whole sequences. Needs no Qt.

// Writes all of `utf8`; returns an empty string, or why it could not.
std::string writeStandardOutput(std::string_view utf8);
void writeStandardError(std::string_view utf8);

}  // namespace qb::platform
