// Writes the code page 950 table (Big5Table.h) as a C++ source, from ICU's windows-950
// converter. Run by the build: the table can never drift from the ICU the program links.
//
//   qb_big5_table_generator OUTPUT.cpp

#include <unicode/uchar.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "codepage/icu/Windows950.h"

namespace {

// The one character `bytes` decode to alone, or nothing when they are not one character
// (they read as U+FFFD, as two characters, or as a surrogate pair).
std::optional<char16_t> decodeAlone(UConverter* converter, const std::string& bytes) {
    UChar out[8];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetToUnicode(converter);
    const int32_t n =
        ucnv_toUChars(converter, out, 8, bytes.data(), static_cast<int32_t>(bytes.size()), &err);
    if (U_FAILURE(err) || n != 1 || out[0] == u'\uFFFD' || U16_IS_SURROGATE(out[0]))
        return std::nullopt;
    return static_cast<char16_t>(out[0]);
}

// The sequence the converter writes for `ch` alone, as a single byte or lead << 8 | trail,
// or nothing when `ch` has no code (it writes the substitution character, or nothing at all).
std::optional<uint16_t> encodeAlone(UConverter* converter, char16_t ch) {
    char out[8];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter);
    const int32_t n = ucnv_fromUChars(converter, out, sizeof out, &ch, 1, &err);
    if (U_FAILURE(err) || n < 1 || n > 2 || decodeAlone(converter, std::string(out, n)) != ch)
        return std::nullopt;
    const auto byte = [&](int i) { return static_cast<unsigned char>(out[i]); };
    return static_cast<uint16_t>(n == 1 ? byte(0) : byte(0) << 8 | byte(1));
}

bool canFollowLead(unsigned b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

template <typename T, typename Format>
void writeArray(std::ostream& out, const char* declaration, const std::vector<T>& values,
                Format format, size_t perLine) {
    out << declaration << " = {\n";
    for (size_t i = 0; i < values.size(); ++i)
        out << (i % perLine == 0 ? "    " : "") << format(values[i])
            << (i + 1 == values.size() || i % perLine == perLine - 1 ? ",\n" : ", ");
    out << "};\n\n";
}

std::string hex(uint64_t v) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(v));
    return buffer;
}

template <typename A, typename B>
std::string braced(A a, B b) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "{0x%x, 0x%x}", unsigned(a), unsigned(b));
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qb_big5_table_generator OUTPUT.cpp\n";
        return 2;
    }
    UConverter* converter = qb::openWindows950();

    std::vector<int> readsAlone(256, 0);
    std::vector<uint16_t> single(256, 0), pairs(0x10000, 0);
    std::vector<uint64_t> readablePairs(0x10000 / 64, 0);
    std::vector<std::pair<char16_t, uint16_t>> codes;
    for (unsigned b = 0; b <= 0xFF; ++b) {
        // U+0000 is a character too: a single byte is told by its flag, not its value.
        const auto ch = decodeAlone(converter, std::string(1, static_cast<char>(b)));
        if (!ch) continue;
        readsAlone[b] = 1;
        single[b] = *ch;
        codes.emplace_back(*ch, static_cast<uint16_t>(b));
    }
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        if (readsAlone[lead]) continue;  // the converter never reads it as a lead
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const auto ch = decodeAlone(
                converter, std::string{static_cast<char>(lead), static_cast<char>(trail)});
            // 0 marks a pair that is not a character; no pair of the code page reads as U+0000.
            if (!ch || *ch == 0) continue;
            const unsigned pair = lead << 8 | trail;
            pairs[pair] = *ch;
            readablePairs[pair >> 6] |= uint64_t{1} << (pair & 63);
            codes.emplace_back(*ch, static_cast<uint16_t>(pair));
        }
    }
    std::vector<std::pair<char16_t, uint16_t>> encodings;
    for (unsigned ch = 0; ch <= 0xFFFF; ++ch)
        if (const auto sequence = encodeAlone(converter, static_cast<char16_t>(ch)))
            encodings.emplace_back(static_cast<char16_t>(ch), *sequence);
    ucnv_close(converter);

    std::vector<int> fullRow(256, 0);
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        bool full = !readsAlone[lead];
        for (unsigned trail = 0; trail <= 0xFF && full; ++trail)
            full = !canFollowLead(trail) || pairs[lead << 8 | trail] != 0;
        fullRow[lead] = full;
    }
    std::sort(codes.begin(), codes.end());
    std::vector<std::pair<char16_t, char16_t>> lowerings;
    for (const auto& [ch, sequence] : codes)
        lowerings.emplace_back(static_cast<char16_t>(u_tolower(ch)), ch);
    std::sort(lowerings.begin(), lowerings.end());
    lowerings.erase(std::unique(lowerings.begin(), lowerings.end()), lowerings.end());

    std::ofstream out(argv[1]);
    out << "// Generated by Big5TableGenerator from ICU " U_ICU_VERSION
           "'s windows-950 converter; every build writes it anew.\n\n"
           "#include \"codepage/Big5Table.h\"\n\nnamespace qb::big5table {\n\n";
    auto number = [](auto v) { return hex(v); };
    auto flag = [](int v) { return v ? std::string("true") : std::string("false"); };
    writeArray(out, "const bool kReadsAlone[256]", readsAlone, flag, 16);
    writeArray(out, "const char16_t kSingle[256]", single, number, 16);
    writeArray(out, "const char16_t kPairs[0x10000]", pairs, number, 16);
    writeArray(out, "const uint64_t kReadablePairs[0x10000 / 64]", readablePairs, number, 4);
    writeArray(out, "const bool kFullRow[256]", fullRow, flag, 16);
    writeArray(
        out, "const Code kCodes[]", codes, [](const auto& c) { return braced(c.first, c.second); },
        6);
    out << "const size_t kCodeCount = sizeof kCodes / sizeof kCodes[0];\n\n";
    writeArray(
        out, "const Code kEncodings[]", encodings,
        [](const auto& c) { return braced(c.first, c.second); }, 6);
    out << "const size_t kEncodingCount = sizeof kEncodings / sizeof kEncodings[0];\n\n";
    writeArray(
        out, "const Lowering kLowerings[]", lowerings,
        [](const auto& l) { return braced(l.first, l.second); }, 6);
    out << "const size_t kLoweringCount = sizeof kLowerings / sizeof kLowerings[0];\n\n"
           "}  // namespace qb::big5table\n";
    out.close();
    if (!out) {
        std::cerr << "qb_big5_table_generator: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
