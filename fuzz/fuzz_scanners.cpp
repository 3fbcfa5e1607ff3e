// Arbitrary bytes as a library file, scanned by both scanners; any difference in what they
// report is a crash. The typed text comes from the input too, mostly from the library's own
// bytes so that lines match.
//
// Input: [flags] [where] library...
//   flags bit 0     all-entries mode
//   flags bits 1-2  read piece size: 1, 7, 4096 or unlimited
//   flags bits 3-4  text: a decoded slice of the library, the same upper-cased, the same
//                   with U+FFFD put in (U+FFFD alone for a one-byte slice), or the
//                   library's last bytes as raw UTF-16 units
//   flags bits 5-7  slice length - 1, in bytes
//   where           where the slice starts, in 256ths of the library

#include <unicode/uchar.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScanReport.h"
#include "lookup/Big5Codec.h"
#include "lookup/Scanner.h"
#include "lookup/TextMatch.h"

namespace {

std::u16string typedText(qb::Big5Codec& codec, uint8_t flags, uint8_t where,
                         std::string_view library) {
    const size_t length = 1 + (flags >> 5);
    const size_t start = library.size() * where / 256;
    std::u16string text = codec.decode(library.substr(start, length));
    switch ((flags >> 3) & 3) {
        case 0:
            break;
        case 1:
            for (char16_t& ch : text) ch = static_cast<char16_t>(u_toupper(ch));
            break;
        case 2:
            if (length == 1) text.clear();
            text.insert(text.size() / 2, 1, u'\uFFFD');
            break;
        case 3: {
            text.clear();
            const size_t from = library.size() - std::min(library.size(), 2 * length);
            for (size_t i = from; i + 1 < library.size(); i += 2)
                text += static_cast<char16_t>(static_cast<uint8_t>(library[i]) |
                                              static_cast<uint8_t>(library[i + 1]) << 8);
            break;
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static qb::Big5Codec codec;
    static qb::FastScanner fast(codec);  // kept across inputs, as the window keeps one
    // Reads shorter than most inputs, so lines span reads whatever the piece size.
    static qb::FastScanner smallReads(codec, 61);
    static qb::ReferenceScanner reference(codec);

    const uint8_t flags = data[0], where = data[1];
    const std::string_view library(reinterpret_cast<const char*>(data) + 2, size - 2);
    const qb::MatchMode mode = flags & 1 ? qb::MatchMode::AllEntries : qb::MatchMode::Exact;
    constexpr size_t kPieces[] = {1, 7, 4096, SIZE_MAX};
    const size_t piece = kPieces[(flags >> 1) & 3];
    const qb::TypedText typed(typedText(codec, flags, where, library));
    if (typed.text.empty()) return 0;  // a lookup never scans for nothing

    const qb::test::Report expected = qb::test::run(reference, library, SIZE_MAX, typed, mode);
    for (qb::FastScanner* scanner : {&fast, &smallReads}) {
        const qb::test::Report got = qb::test::run(*scanner, library, piece, typed, mode);
        if (!(got == expected)) {
            std::fprintf(stderr, "FastScanner (reads of %s) reported:\n%s\nthe reference:\n%s\n",
                         scanner == &fast ? "128 KiB" : "61 bytes", qb::test::describe(got).c_str(),
                         qb::test::describe(expected).c_str());
            std::abort();
        }
    }
    return 0;
}
