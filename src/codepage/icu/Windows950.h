#pragma once

struct UConverter;

namespace qb {

// ICU's "windows-950" converter, set up the way the program reads and writes code page 950:
// every byte sequence it cannot read becomes one U+FFFD (ICU would give U+001A for some
// single bytes), and a character without a code becomes the code page's substitution
// character. "ibm-950" is a different table and must not be used. The caller closes it with
// ucnv_close. Throws std::runtime_error when ICU has no such converter.
UConverter* openWindows950();

}  // namespace qb
