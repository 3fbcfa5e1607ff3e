#include "GeneratedLibraries.h"

#include <sstream>

namespace qb::test {

bool isAsciiLetter(unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

std::string hex(std::u16string_view text) {
    std::ostringstream out;
    for (char16_t ch : text) out << std::hex << static_cast<unsigned>(ch) << ' ';
    return out.str();
}

std::string hex(std::string_view bytes, size_t most) {
    std::ostringstream out;
    for (size_t i = 0; i < bytes.size() && i < most; ++i)
        out << std::hex << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ' ';
    if (bytes.size() > most) out << "... (" << std::dec << bytes.size() << " bytes)";
    return out.str();
}

const CodePage& codePage() {
    static const CodePage page = [] {
        Big5Codec codec;
        CodePage p;
        for (int b = 0; b <= 0xFF; ++b) {
            const std::u16string text = codec.decode(std::string(1, static_cast<char>(b)));
            if (text.size() == 1 && text[0] != kReplacement)
                p.codesOf[text[0]].push_back(std::string(1, static_cast<char>(b)));
        }
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
                const std::u16string text = codec.decode(pair);
                if (text == std::u16string(1, kReplacement)) {
                    p.unassigned.push_back(pair);
                } else if (text.size() == 1) {
                    p.codesOf[text[0]].push_back(pair);
                    if (isAsciiLetter(static_cast<unsigned char>(trail)))
                        p.asciiLetterTrail.push_back(pair);
                }
            }
        }
        for (const auto& [ch, codes] : p.codesOf) {
            if (codes.size() > 1) p.twoCodes[ch] = codes;
            if (ch >= 0x4E00 && ch <= 0x9FFF) p.hanzi.push_back(codes.front());
            if ((ch >= 0xFF21 && ch <= 0xFF3A) || (ch >= 0xFF41 && ch <= 0xFF5A))
                p.fullWidthLetters.push_back(codes.front());
            const auto upper = upperCase(ch);
            const auto lower = lowerCase(ch);
            const char16_t partner = upper != ch ? upper : lower;
            if (ch >= 0x80 && !(ch >= 0xFF21 && ch <= 0xFF5A) && partner != ch &&
                p.codesOf.count(partner))
                p.otherCaseLetters.push_back(codes.front());
        }
        return p;
    }();
    return page;
}

}  // namespace qb::test
