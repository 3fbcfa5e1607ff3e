#pragma once

namespace qb {

// Simple letter case, one UTF-16 unit at a time, as the system maps it: ICU's on Linux,
// Windows' own on Windows, which is what the program has always followed there. The build
// picks the implementation (lookup/icu, lookup/windows); the two agree on every character of
// code page 950, and a test holds each to ICU's mapping that the code table was built with.
char16_t lowerCase(char16_t ch);
char16_t upperCase(char16_t ch);

}  // namespace qb
