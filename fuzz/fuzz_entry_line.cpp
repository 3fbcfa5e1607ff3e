// One decoded line (the input as UTF-16 units) through the field and matching code, and the
// UTF-8 conversions at the program's edges.
//
// Input: [split] units...   the typed text is the units from `split` on (mod the length)

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lookup/EntryLine.h"
#include "lookup/TextMatch.h"
#include "lookup/Utf8.h"

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "entry line: %s\n", what);
    std::abort();
}

bool isSurrogate(char16_t ch) {
    return ch >= 0xD800 && ch <= 0xDFFF;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::u16string line;
    for (size_t i = 1; i + 1 < size; i += 2)
        line += static_cast<char16_t>(data[i] | data[i + 1] << 8);

    // Fields put back together with "=" give the line again.
    const auto fields = qb::splitFields(line);
    std::u16string joined;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) joined += u'=';
        joined += fields[i];
    }
    check(joined == line, "fields do not make up the line");
    check(line.empty() == fields.empty(), "an empty line has no fields, others have some");

    // The display form holds the first two fields, each after a line break, and one more.
    std::u16string shown;
    for (size_t i = 0; i < fields.size() && i < 2; ++i) (shown += qb::kLineBreak) += fields[i];
    shown += qb::kLineBreak;
    check(qb::displayForm(line) == shown, "display form");

    // Typed text taken from the line: wherever it came from, a field equal to it matches.
    const size_t from = line.empty() ? 0 : data[0] % line.size();
    const qb::TypedText typed(line.substr(from));
    const int exact = qb::countMatchingFields(line, typed, qb::MatchMode::Exact);
    const int all = qb::countMatchingFields(line, typed, qb::MatchMode::AllEntries);
    check(exact <= 1 && exact <= all && all <= static_cast<int>(fields.size()), "match counts");
    if (!typed.text.empty() && !fields.empty() && fields.back() == typed.text)
        check(exact == 1, "a field equal to the text does not match");

    // UTF-8 out and back gives the text again, lone surrogates turned into U+FFFD.
    std::u16string expected = line;
    for (size_t i = 0; i < expected.size(); ++i) {
        const bool pair = i + 1 < expected.size() && expected[i] >= 0xD800 &&
                          expected[i] <= 0xDBFF && expected[i + 1] >= 0xDC00 &&
                          expected[i + 1] <= 0xDFFF;
        if (pair)
            ++i;
        else if (isSurrogate(expected[i]))
            expected[i] = u'\uFFFD';
    }
    check(qb::fromUtf8(qb::toUtf8(line)) == expected, "UTF-8 round trip");

    // Arbitrary bytes as UTF-8: never more units than bytes, and stable once converted.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string fromBytes = qb::fromUtf8(bytes);
    check(fromBytes.size() <= bytes.size(), "more units than UTF-8 bytes");
    check(qb::fromUtf8(qb::toUtf8(fromBytes)) == fromBytes, "UTF-8 of converted text");
    return 0;
}
