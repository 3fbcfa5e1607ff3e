#pragma once

#include <string>
#include <string_view>

namespace qb {

// Conversions at the program's edges (command line, paths, terminals). Invalid sequences
// become U+FFFD.
std::u16string fromUtf8(std::string_view text);
std::string toUtf8(std::u16string_view text);

// The most bytes one UTF-16 unit can take in UTF-8 (a pair takes four for two units).
inline constexpr size_t kMostUtf8PerUnit = 3;

// Writes the UTF-8 of `text` at `out`, which has room for kMostUtf8PerUnit bytes a unit,
// and returns where it ended. A surrogate pair cut by the end of `text` is written as
// U+FFFD: callers that cut text into slices keep pairs whole (see utf8SliceEnd).
char* writeUtf8(std::u16string_view text, char* out);

// The same for the units of `text` before the first `stop`, a unit below 0x80 (all of them
// when there is none), moving `out` past what it wrote: a field of a line, found and written
// in one pass. Returns how many units it wrote, which is where `stop` stands.
size_t writeUtf8UpTo(std::u16string_view text, char16_t stop, char*& out);

// How much of `text`, at most `most` units, can be converted alone without cutting a pair.
size_t utf8SliceEnd(std::u16string_view text, size_t most);

}  // namespace qb
