#include "Scanner.h"

#include "EntryLine.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_X86_SIMD 1
#include <immintrin.h>
#endif

namespace qb {
namespace {

// Small enough that what one read brings is still in the cache when it is searched, and that
// the buffer costs few page faults in a process that looks up one word and ends.
constexpr size_t kChunkSize = 128 << 10;

inline bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

inline char foldAscii(char c) {
    return static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26u ? 0x20 : 0));
}

std::string foldAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = foldAscii(c);
    return out;
}

// Finds the anchor's bytes in the raw bytes of a file, with ASCII letters compared without
// case when the anchor is folded, and without copying or folding the file's bytes: a letter
// byte of the needle is compared with the text byte OR 0x20, which is the same as folding
// both. A first- and last-byte filter, a block of 32 or 16 places at a time, leaves few to
// compare in full; it is what makes this beat memmem on Big5 text, where lead bytes abound.
class NeedleFinder {
public:
    NeedleFinder(std::string_view needle, bool folded) : needle_(needle) {
        masks_.resize(needle.size());
        for (size_t i = 0; i < needle.size(); ++i)
            masks_[i] = folded && needle[i] >= 'a' && needle[i] <= 'z' ? 0x20 : 0;
    }

    // The first place at or after `from` where the needle starts, or npos.
    size_t find(std::string_view text, size_t from) const {
        const size_t n = needle_.size();
        if (n == 0 || text.size() < n) return std::string_view::npos;
        size_t i = from;
        size_t found = std::string_view::npos;
#if defined(QB_X86_SIMD)
        static const bool avx2 = __builtin_cpu_supports("avx2");
        if (avx2 && findAvx2(text, i, found)) return found;
        if (findSse2(text, i, found)) return found;
#endif
        for (const size_t lastStart = text.size() - n; i <= lastStart; ++i)
            if (matchesAt(text, i)) return i;
        return found;
    }

private:
#if defined(QB_X86_SIMD)
    // Both look at whole blocks from `i` on and leave `i` where the blocks end; true with
    // `found` set at the first match.
    __attribute__((target("avx2"))) bool findAvx2(std::string_view text, size_t& i,
                                                  size_t& found) const {
        const size_t lastOffset = needle_.size() - 1;
        const size_t starts = text.size() - lastOffset;  // places a match can start
        const __m256i first = _mm256_set1_epi8(needle_[0]);
        const __m256i last = _mm256_set1_epi8(needle_[lastOffset]);
        const __m256i firstMask = _mm256_set1_epi8(masks_[0]);
        const __m256i lastMask = _mm256_set1_epi8(masks_[lastOffset]);
        for (; i + 32 <= starts; i += 32) {
            const auto* p = reinterpret_cast<const __m256i*>(text.data() + i);
            const auto* q = reinterpret_cast<const __m256i*>(text.data() + i + lastOffset);
            const __m256i a = _mm256_or_si256(_mm256_loadu_si256(p), firstMask);
            const __m256i b = _mm256_or_si256(_mm256_loadu_si256(q), lastMask);
            auto bits = static_cast<uint32_t>(_mm256_movemask_epi8(
                _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
            if (firstMatchAmong(text, i, bits, found)) return true;
        }
        return false;
    }

    bool findSse2(std::string_view text, size_t& i, size_t& found) const {
        const size_t lastOffset = needle_.size() - 1;
        const size_t starts = text.size() - lastOffset;
        const __m128i first = _mm_set1_epi8(needle_[0]);
        const __m128i last = _mm_set1_epi8(needle_[lastOffset]);
        const __m128i firstMask = _mm_set1_epi8(masks_[0]);
        const __m128i lastMask = _mm_set1_epi8(masks_[lastOffset]);
        for (; i + 16 <= starts; i += 16) {
            const auto* p = reinterpret_cast<const __m128i*>(text.data() + i);
            const auto* q = reinterpret_cast<const __m128i*>(text.data() + i + lastOffset);
            const __m128i a = _mm_or_si128(_mm_loadu_si128(p), firstMask);
            const __m128i b = _mm_or_si128(_mm_loadu_si128(q), lastMask);
            auto bits = static_cast<uint32_t>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
            if (firstMatchAmong(text, i, bits, found)) return true;
        }
        return false;
    }
    // `candidates` has a bit set for each place after `blockStart` that the filter let through.
    bool firstMatchAmong(std::string_view text, size_t blockStart, uint32_t candidates,
                         size_t& found) const {
        for (; candidates != 0; candidates &= candidates - 1) {
            const size_t at = blockStart + static_cast<size_t>(__builtin_ctz(candidates));
            if (matchesAt(text, at)) {
                found = at;
                return true;
            }
        }
        return false;
    }
#endif

    bool matchesAt(std::string_view text, size_t at) const {
        for (size_t j = 0; j < needle_.size(); ++j)
            if ((text[at + j] | masks_[j]) != needle_[j]) return false;
        return true;
    }

    std::string_view needle_;
    std::vector<char> masks_;
};

// Calls `onLine` for each line of `text`; the last piece counts as a line when not empty.
template <typename OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !isLineEnd(text[end])) ++end;
        if (!onLine(text.substr(start, end - start))) return false;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return true;
}

}  // namespace

ScanResult ReferenceScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                                  const MatchSink& sink) {
    std::string content;
    char chunk[4096];
    for (;;) {
        const long n = bytes.read(chunk, sizeof chunk);
        if (n < 0) return {false, false};
        if (n == 0) break;
        content.append(chunk, static_cast<size_t>(n));
    }
    ScanResult result;
    forEachLine(content, [&](std::string_view raw) {
        const std::u16string line = codec_.decode(raw);
        for (std::u16string_view field : splitFields(line)) {
            if (!fieldMatches(field, typed, mode)) continue;
            sink(line);
            if (mode == MatchMode::Exact) {
                result.stoppedAtMatch = true;
                return false;
            }
        }
        return true;
    });
    return result;
}

const FastScanner::Anchor& FastScanner::anchorFor(const TypedText& typed) {
    if (anchorValid_ && anchorText_ == typed.text) return anchor_;
    anchorValid_ = true;
    anchorText_ = typed.text;
    anchor_ = Anchor{};

    // For each character: the one byte string that every character equal to it (ignoring
    // case) is stored as, if there is one. A field that equals the typed text or contains it
    // holds those bytes in a row, so a line without them cannot match.
    struct Piece {
        bool usable = false;
        bool folded = false;
        std::string bytes;
    };
    std::vector<Piece> pieces;
    for (char16_t ch : typed.text) {
        Piece piece;
        // A line never holds CR or LF; an unknown code reads as U+FFFD, so that has no
        // single form; any other character outside the code page can never be read.
        if (ch == u'\r' || ch == u'\n') {
            anchor_.kind = Anchor::Kind::NoMatchPossible;
            return anchor_;
        }
        const auto lowered = static_cast<char16_t>(u_tolower(ch));
        if (ch != u'\uFFFD' && lowered != u'\uFFFD') {
            std::vector<std::string> forms = codec_.encodingsOf(ch);
            for (char16_t same : codec_.charactersLoweringTo(lowered))
                if (same != ch)
                    for (const auto& f : codec_.encodingsOf(same)) forms.push_back(f);
            if (forms.empty()) {
                anchor_.kind = Anchor::Kind::NoMatchPossible;
                return anchor_;
            }
            const bool single = std::all_of(forms.begin(), forms.end(),
                                            [&](const std::string& f) { return f == forms[0]; });
            const std::string firstFolded = foldAscii(forms[0]);
            const bool foldSingle =
                std::all_of(forms.begin(), forms.end(),
                            [&](const std::string& f) { return foldAscii(f) == firstFolded; });
            if (single) {
                piece = {true, false, forms[0]};
            } else if (foldSingle) {
                piece = {true, true, firstFolded};
            }
        }
        pieces.push_back(std::move(piece));
    }

    // The longest run of usable characters, measured in bytes, makes the rarest needle.
    size_t bestStart = 0, bestEnd = 0, bestLen = 0;
    for (size_t i = 0; i < pieces.size();) {
        if (!pieces[i].usable) {
            ++i;
            continue;
        }
        size_t j = i, len = 0;
        while (j < pieces.size() && pieces[j].usable) len += pieces[j++].bytes.size();
        if (len > bestLen) bestStart = i, bestEnd = j, bestLen = len;
        i = j;
    }
    if (bestLen == 0) return anchor_;  // EveryLine

    anchor_.kind = Anchor::Kind::Bytes;
    for (size_t i = bestStart; i < bestEnd; ++i) anchor_.folded |= pieces[i].folded;
    for (size_t i = bestStart; i < bestEnd; ++i)
        anchor_.bytes += anchor_.folded ? foldAscii(pieces[i].bytes) : pieces[i].bytes;
    return anchor_;
}

bool FastScanner::testLine(std::string_view raw, const TypedText& typed, MatchMode mode,
                           const MatchSink& sink) {
    codec_.decodeInto(raw, line_);
    const int times = countMatchingFields(line_, typed, mode);
    for (int i = 0; i < times; ++i) sink(line_);
    return !(mode == MatchMode::Exact && times > 0);
}

bool FastScanner::scanLines(std::string_view raw, const TypedText& typed, MatchMode mode,
                            const MatchSink& sink) {
    if (anchor_.kind == Anchor::Kind::EveryLine)
        return forEachLine(raw, [&](std::string_view line) {
            return testLine(line, typed, mode, sink);
        });

    const NeedleFinder finder(anchor_.bytes, anchor_.folded);
    size_t pos = 0;
    while (pos < raw.size()) {
        const size_t at = finder.find(raw, pos);
        if (at == std::string_view::npos) break;
        size_t start = at;
        while (start > 0 && !isLineEnd(raw[start - 1])) --start;
        size_t end = at + anchor_.bytes.size();
        while (end < raw.size() && !isLineEnd(raw[end])) ++end;
        if (!testLine(raw.substr(start, end - start), typed, mode, sink)) return false;
        pos = end;
    }
    return true;
}

ScanResult FastScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                             const MatchSink& sink) {
    const Anchor& anchor = anchorFor(typed);
    ScanResult result;
    if (anchor.kind == Anchor::Kind::NoMatchPossible) return result;

    // Whole lines are handed on; the piece after the last line end waits for the next read.
    size_t held = 0;
    if (bufferSize_ < kChunkSize) {
        buffer_ = std::make_unique_for_overwrite<char[]>(kChunkSize);
        bufferSize_ = kChunkSize;
    }
    for (;;) {
        if (held == bufferSize_) {  // a line longer than the buffer
            auto larger = std::make_unique_for_overwrite<char[]>(bufferSize_ * 2);
            std::memcpy(larger.get(), buffer_.get(), held);
            buffer_ = std::move(larger);
            bufferSize_ *= 2;
        }
        const long n = bytes.read(buffer_.get() + held, bufferSize_ - held);
        if (n < 0) return {false, false};
        const bool atEnd = n == 0;
        const size_t filled = held + static_cast<size_t>(n);
        size_t complete = filled;
        if (!atEnd) {
            // The held bytes hold no line end, so only the new ones are looked at: a long
            // line arriving in short reads must not be walked again after every read.
            while (complete > held && !isLineEnd(buffer_[complete - 1])) --complete;
            if (complete == held) complete = 0;
            if (complete == 0) {
                held = filled;
                continue;
            }
        }
        if (!scanLines(std::string_view(buffer_.get(), complete), typed, mode, sink)) {
            result.stoppedAtMatch = true;
            return result;
        }
        if (atEnd) return result;
        held = filled - complete;
        std::memmove(buffer_.get(), buffer_.get() + complete, held);
    }
}

}  // namespace qb
