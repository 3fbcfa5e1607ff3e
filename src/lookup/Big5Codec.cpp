#include "lookup/Big5Codec.h"

#include <algorithm>
#include <cstring>

#include "codepage/Big5Table.h"

namespace qb {
namespace {

namespace table = big5table;

// Orders the table's entries by the character they are sorted on, for std::equal_range.
struct ByKey {
    static char16_t key(char16_t ch) { return ch; }
    static char16_t key(const table::Code& code) { return code.ch; }
    static char16_t key(const table::Lowering& l) { return l.lowered; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
        return key(a) < key(b);
    }
};

}  // namespace

namespace {

bool everyAsciiByteReadsAlone() {
    return std::all_of(table::kReadsAlone, table::kReadsAlone + 0x80,
                       [](bool reads) { return reads; });
}

}  // namespace

Big5Codec::Big5Codec(SimdLevel level, Big5Blocks::Path path)
    : asciiReads_(everyAsciiByteReadsAlone()), blocks_(asciiReads_, level, path) {}

size_t Big5Codec::findUnreadable(std::string_view bytes, size_t from) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    auto pairReadsAt = [&](size_t at) { return table::pairReads(s[at] << 8 | s[at + 1]); };
    for (size_t i = from; i < n;) {
        size_t found;
        if (blocks_.skipReadable(s, n, i, found)) return found;
        // A sequence at a time over what the blocks left: the end of the text, or a block
        // they could not judge.
        const size_t until = std::min(n, i + Big5Blocks::kBlock);
        while (i < until) {
            // English stretches eight bytes at a time, then Chinese ones a pair at a time.
            if (asciiReads_) {
                uint64_t block;
                while (i + 8 <= until &&
                       (std::memcpy(&block, s + i, 8), (block & 0x8080808080808080u) == 0))
                    i += 8;
                while (i < until && s[i] < 0x80) ++i;
            }
            while (i < until && i + 1 < n && s[i] >= 0x80 && pairReadsAt(i)) i += 2;
            if (i >= until) break;
            if (table::kReadsAlone[s[i]]) {
                ++i;
                continue;
            }
            if (i + 1 < n && pairReadsAt(i)) {
                i += 2;
                continue;
            }
            return i;
        }
    }
    return std::string_view::npos;
}

bool Big5Codec::standsAlone(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0x80 || !table::kReadsAlone[b]) return false;
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead)
        if (table::pairReads(lead << 8 | b)) return false;
    return true;
}

const std::vector<std::string>& Big5Codec::encodingsOf(char16_t ch) {
    if (auto it = encodings_.find(ch); it != encodings_.end()) return it->second;
    const auto [first, last] =
        std::equal_range(table::kCodes, table::kCodes + table::kCodeCount, ch, ByKey{});
    std::vector<std::string> found;
    for (const table::Code* code = first; code != last; ++code)
        found.push_back(code->sequence < 0x100
                            ? std::string(1, static_cast<char>(code->sequence))
                            : std::string{static_cast<char>(code->sequence >> 8),
                                          static_cast<char>(code->sequence & 0xFF)});
    return encodings_.emplace(ch, std::move(found)).first->second;
}

const std::vector<char16_t>& Big5Codec::charactersLoweringTo(char16_t lowered) {
    if (auto it = byLowerCase_.find(lowered); it != byLowerCase_.end()) return it->second;
    const auto [first, last] = std::equal_range(
        table::kLowerings, table::kLowerings + table::kLoweringCount, lowered, ByKey{});
    std::vector<char16_t> found;
    for (const table::Lowering* l = first; l != last; ++l) found.push_back(l->ch);
    return byLowerCase_.emplace(lowered, std::move(found)).first->second;
}

}  // namespace qb
