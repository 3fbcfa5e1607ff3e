// Code page 950's decoding on arbitrary bytes, through the system's converter and through the
// table. Beyond not crashing:
//  - never more UTF-16 units than bytes (decodeInto sizes its output on that),
//  - U+001A only where the input had byte 0x1A (ICU's own substitute must never show),
//  - no state carried from one call to the next, even after a cut-off lead byte,
//  - a cut after a byte below 0x40 (no trail byte is that low, and CR and LF are) changes
//    nothing: the scanners decode line by line and must read what the whole file says.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codepage/CodePage950.h"
#include "lookup/Big5Codec.h"

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "CodePage950: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static qb::CodePage950 codePage;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string text = codePage.decodeBySystem(bytes);
    check(text.size() <= bytes.size(), "more units than bytes");
    if (bytes.find('\x1A') == std::string_view::npos)
        check(text.find(u'\x1A') == std::u16string::npos, "U+001A from bytes without 0x1A");

    // Leave the converter in the middle of a pair, then decode again into a used string.
    (void)codePage.decodeBySystem("\xA4");
    std::u16string again = u"left over from before";
    codePage.decodeInto(bytes, again);
    check(again == text, "a second decode differs");

    for (size_t cut = 1; cut < size; ++cut) {
        if (data[cut - 1] >= 0x40) continue;
        const std::u16string joined = codePage.decodeBySystem(bytes.substr(0, cut)) +
                                      codePage.decodeBySystem(bytes.substr(cut));
        check(joined == text, "decoding in two pieces differs from decoding at once");
        break;  // one cut per input keeps each run quick
    }
    return 0;
}
