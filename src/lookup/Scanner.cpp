#include "lookup/Scanner.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "lookup/CpuFeatures.h"
#include "lookup/EntryLine.h"
#include "lookup/LetterCase.h"
#include "lookup/LineEnds.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QB_X86_SIMD 1
#include <immintrin.h>
#endif

namespace qb {
namespace {

// What one pass over a line tells for a text of one character stored as one byte that is
// never part of a pair (see Anchor::oneByte): where the line ends and how many of its fields
// match. Neither that byte nor "=" can be the second byte of a pair, so the fields and the
// text's places in them are read off the bytes, sixteen at a time, without decoding.
struct OneByteLine {
    size_t end = 0;
    int matches = 0;
};

OneByteLine oneByteLineFrom(std::string_view text, size_t start, char wanted, MatchMode mode) {
    OneByteLine line;
    // A place of the text opens a new matching field when it is the line's first or an "="
    // stands between it and the last.
    bool anyFound = false, equalsSince = false;
    auto found = [&](size_t at) {
        if (mode == MatchMode::AllEntries) {
            line.matches += !anyFound || equalsSince;
        } else {  // exact: the field is the character alone
            const bool opens = at == start || text[at - 1] == '=';
            const bool closes =
                at + 1 == text.size() || text[at + 1] == '=' || isLineEnd(text[at + 1]);
            if (opens && closes) line.matches = 1;
        }
        anyFound = true;
        equalsSince = false;
    };
    size_t i = start;
#if defined(QB_X86_SIMD)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const __m128i eq = _mm_set1_epi8('='), want = _mm_set1_epi8(wanted);
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const auto ends = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        // Only the places before the line's end count.
        const uint32_t inLine = ends != 0 ? (ends & (0u - ends)) - 1 : 0xFFFF;
        const uint32_t equals =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, eq))) & inLine;
        uint32_t hits =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, want))) & inLine;
        uint32_t after = inLine;  // the places after the last one found
        for (; hits != 0; hits &= hits - 1) {
            const uint32_t below = (hits & (0u - hits)) - 1;
            equalsSince |= (equals & after & below) != 0;
            found(i + static_cast<size_t>(__builtin_ctz(hits)));
            after = ~below << 1 & inLine;
        }
        equalsSince |= (equals & after) != 0;
        if (ends != 0) {
            line.end = i + static_cast<size_t>(__builtin_ctz(ends));
            return line;
        }
    }
#endif
    for (; i < text.size() && !isLineEnd(text[i]); ++i) {
        if (text[i] == '=')
            equalsSince = true;
        else if (text[i] == wanted)
            found(i);
    }
    line.end = i;
    return line;
}

inline char foldAscii(char c) {
    return static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26u ? 0x20 : 0));
}

std::string foldAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = foldAscii(c);
    return out;
}

}  // namespace

// Finds any of a few needles in the raw bytes of a file, with ASCII letters compared without
// case when they are folded, and without copying or folding the file's bytes: a letter byte
// of a needle is compared with the text byte OR 0x20, which is the same as folding both. A
// first- and last-byte filter, a block of 32 or 16 places at a time, leaves few to compare in
// full; it is what makes this beat memmem on Big5 text, where lead bytes abound. Each needle
// has its own filter, so a character with two codes costs a compare or two more a block, not
// a decode of every line.
class NeedleFinder {
  public:
    static constexpr size_t kMost = 8;  // more are searched for one place at a time

    // `wide`: one needle's search takes 64 places at a time (the machine has AVX-512BW).
    NeedleFinder(const std::vector<std::string>& needles, bool folded, bool wide) : wide_(wide) {
        count_ = needles.size();
        needles_.resize(count_);
        for (size_t k = 0; k < count_; ++k) {
            Needle& n = needles_[k];
            n.bytes = needles[k];
            n.masks.resize(n.bytes.size());
            for (size_t i = 0; i < n.bytes.size(); ++i)
                n.masks[i] = folded && n.bytes[i] >= 'a' && n.bytes[i] <= 'z' ? 0x20 : 0;
            shortest_ = k == 0 ? n.bytes.size() : std::min(shortest_, n.bytes.size());
            longest_ = std::max(longest_, n.bytes.size());
            if (n.bytes.empty()) continue;
            const size_t last = n.bytes.size() - 1;
            const std::pair<size_t, size_t> pair{test(0, n.bytes[0], n.masks[0]),
                                                 test(last, n.bytes[last], n.masks[last])};
            if (std::find(pairs_.begin(), pairs_.end(), pair) == pairs_.end())
                pairs_.push_back(pair);
        }
        // Forms of one length that agree on two bytes, as the forms of full-width letters
        // agree on their lead bytes: those two filter for every form at once, in the loop of
        // a single needle, and the forms are told apart where both pass.
        if (count_ > 1 && shortest_ == longest_ && shortest_ >= 2) {
            const Needle& one = needles_[0];
            auto shared = [&](size_t at) {
                return std::all_of(needles_.begin(), needles_.end(), [&](const Needle& n) {
                    return n.bytes[at] == one.bytes[at] && n.masks[at] == one.masks[at];
                });
            };
            size_t first = 0, last = longest_ - 1;
            while (first < last && !shared(first)) ++first;
            while (last > first && !shared(last)) --last;
            if (first < last) {
                tests_.clear();
                pairs_.assign(1, {test(first, one.bytes[first], one.masks[first]),
                                  test(last, one.bytes[last], one.masks[last])});
            }
        }
        if (count_ > kMost) return;
        if (tests_.size() == 3 && pairs_.size() == 2) {
            const auto [p, q] = std::pair{pairs_[0], pairs_[1]};
            for (const size_t common : {p.first, p.second}) {
                if (p.first == p.second || q.first == q.second) break;
                if (q.first != common && q.second != common) continue;
                shared_ = SharedTest{{common, p.first == common ? p.second : p.first,
                                      q.first == common ? q.second : q.first}};
                break;
            }
        }
        plan_.tests = tests_.size();
        plan_.pairs = pairs_.size();
        for (size_t t = 0; t < tests_.size(); ++t) plan_.offset[t] = tests_[t].offset;
        for (size_t k = 0; k < pairs_.size(); ++k) {
            plan_.pairFirst[k] = static_cast<uint8_t>(pairs_[k].first);
            plan_.pairLast[k] = static_cast<uint8_t>(pairs_[k].second);
        }
    }

    // The first place at or after `from` where a needle starts, or npos.
    size_t find(std::string_view text, size_t from) const {
        if (count_ == 0 || shortest_ == 0 || text.size() < shortest_) return std::string_view::npos;
        size_t i = from;
        size_t found = std::string_view::npos;
#if defined(QB_X86_SIMD)
        if (text.size() >= longest_ && count_ <= kMost) {
            static const bool avx2 = machineHasAvx2();
            // One needle, the common case, keeps its two tests in registers; so do the forms
            // of one character whose codes share their lead byte (3 tests) or not (4).
            const Shape shape = pairs_.size() == 1                         ? Shape::One
                                : tests_.size() == 3 && pairs_.size() == 2 ? Shape::ThreeTwo
                                : tests_.size() == 4 && pairs_.size() == 2 ? Shape::FourTwo
                                                                           : Shape::Any;
            bool hit = false;
            switch (shape) {
                case Shape::One:
                    hit = avx2 ? findAvx2<true>(text, i, found) : findSse2<true>(text, i, found);
                    break;
                case Shape::ThreeTwo:
                    if (avx2 && shared_) {
                        hit = findSharedAvx2(text, i, found);
                        break;
                    }
                    hit = avx2 ? findAvx2<false, 3, 2>(text, i, found)
                               : findSse2<false, 3, 2>(text, i, found);
                    break;
                case Shape::FourTwo:
                    hit = avx2 ? findAvx2<false, 4, 2>(text, i, found)
                               : findSse2<false, 4, 2>(text, i, found);
                    break;
                case Shape::Any:
                    hit = avx2 ? findAvx2<false>(text, i, found) : findSse2<false>(text, i, found);
                    break;
            }
            if (hit) return found;
            // After the AVX2 blocks, a last block of 16 may still fit.
            if (avx2 && findSse2<false>(text, i, found)) return found;
        }
#endif
        for (; i + shortest_ <= text.size(); ++i)
            if (anyMatchesAt(text, i)) return i;
        return std::string_view::npos;
    }

  private:
    enum class Shape { One, ThreeTwo, FourTwo, Any };
    struct Needle {
        std::string bytes;
        std::vector<char> masks;
    };
    // One byte compared at one offset from the place a needle would start.
    struct Test {
        size_t offset;
        char byte;
        char mask;
        bool operator==(const Test&) const = default;
    };

    size_t test(size_t offset, char byte, char mask) {
        const Test t{offset, byte, mask};
        const auto it = std::find(tests_.begin(), tests_.end(), t);
        if (it != tests_.end()) return static_cast<size_t>(it - tests_.begin());
        tests_.push_back(t);
        return tests_.size() - 1;
    }

#if defined(QB_X86_SIMD)
    // 64 places as two steps of 32, for the filters that take 32 at a time.
    template <typename Filter>
    struct InHalves {
        __attribute__((target("avx2"))) uint64_t passed64(const char* at) const {
            const Filter& filter = static_cast<const Filter&>(*this);
            return filter.passed(at) | uint64_t{filter.passed(at + 32)} << 32;
        }
    };

    // The first and last byte tests of one needle, 32 places at a time; without letters to
    // fold (Chinese, digits) the bytes are compared as they are.
    template <bool kFolded>
    struct OneNeedleAvx2 : InHalves<OneNeedleAvx2<kFolded>> {
        size_t firstOffset, lastOffset;
        __m256i firstByte, firstMask, lastByte, lastMask;

        __attribute__((target("avx2"))) __m256i load(const char* at, __m256i mask) const {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
            return kFolded ? _mm256_or_si256(v, mask) : v;
        }
        __attribute__((target("avx2"))) uint32_t passed(const char* at) const {
            const __m256i a = load(at + firstOffset, firstMask);
            const __m256i b = load(at + lastOffset, lastMask);
            return static_cast<uint32_t>(_mm256_movemask_epi8(
                _mm256_and_si256(_mm256_cmpeq_epi8(a, firstByte), _mm256_cmpeq_epi8(b, lastByte))));
        }
    };

    // The same two tests, 64 places in one register, each compare giving its bits at once;
    // the last places of a text, fewer than 64, 32 at a time as above.
    template <bool kFolded>
    struct OneNeedleWide {
        OneNeedleAvx2<kFolded> halves;
        __m512i firstByte, firstMask, lastByte, lastMask;

        QB_TARGET_WIDE __m512i load(const char* at, __m512i mask) const {
            const __m512i v = _mm512_loadu_si512(at);
            return kFolded ? _mm512_or_si512(v, mask) : v;
        }
        QB_TARGET_WIDE uint64_t passed64(const char* at) const {
            const __mmask64 first =
                _mm512_cmpeq_epi8_mask(load(at + halves.firstOffset, firstMask), firstByte);
            return _mm512_mask_cmpeq_epi8_mask(first, load(at + halves.lastOffset, lastMask),
                                               lastByte);
        }
        __attribute__((target("avx2"))) uint32_t passed(const char* at) const {
            return halves.passed(at);
        }
    };

    // Two needles whose first-and-last tests share one test, as the two codes of a Greek
    // letter share their lead byte: that test and either of the others, 32 places at a time.
    template <bool kFolded>
    struct SharedTestAvx2 : InHalves<SharedTestAvx2<kFolded>> {
        size_t offset[3];
        __m256i byte[3], mask[3];

        __attribute__((target("avx2"))) __m256i passedOne(const char* at, int t) const {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + offset[t]));
            return _mm256_cmpeq_epi8(kFolded ? _mm256_or_si256(v, mask[t]) : v, byte[t]);
        }
        __attribute__((target("avx2"))) uint32_t passed(const char* at) const {
            return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(
                passedOne(at, 0), _mm256_or_si256(passedOne(at, 1), passedOne(at, 2)))));
        }
    };

    __attribute__((target("avx2"))) bool findSharedAvx2(std::string_view text, size_t& i,
                                                        size_t& found) const {
        const bool folded =
            std::any_of(tests_.begin(), tests_.end(), [](const Test& t) { return t.mask != 0; });
        return folded ? findSharedAvx2<true>(text, i, found)
                      : findSharedAvx2<false>(text, i, found);
    }

    template <bool kFolded>
    __attribute__((target("avx2"))) bool findSharedAvx2(std::string_view text, size_t& i,
                                                        size_t& found) const {
        const size_t starts = text.size() - (longest_ - 1);
        SharedTestAvx2<kFolded> three{};
        for (int t = 0; t < 3; ++t) {
            const Test& test = tests_[shared_->order[t]];
            three.offset[t] = test.offset;
            three.byte[t] = _mm256_set1_epi8(test.byte);
            three.mask[t] = _mm256_set1_epi8(test.mask);
        }
        return findWith(three, text, starts, i, found);
    }

    template <bool kFolded>
    __attribute__((target("avx2"))) static OneNeedleAvx2<kFolded> oneNeedleAvx2(const Test& first,
                                                                                const Test& last) {
        return {{},
                first.offset,
                last.offset,
                _mm256_set1_epi8(first.byte),
                _mm256_set1_epi8(first.mask),
                _mm256_set1_epi8(last.byte),
                _mm256_set1_epi8(last.mask)};
    }

    template <bool kFolded>
    __attribute__((target("avx2"))) bool findOneAvx2(const Test& first, const Test& last,
                                                     std::string_view text, size_t starts,
                                                     size_t& i, size_t& found) const {
        return findWith(oneNeedleAvx2<kFolded>(first, last), text, starts, i, found);
    }

    template <bool kFolded>
    QB_TARGET_WIDE bool findOneWide(const Test& first, const Test& last, std::string_view text,
                                    size_t starts, size_t& i, size_t& found) const {
        const OneNeedleWide<kFolded> one{oneNeedleAvx2<kFolded>(first, last),
                                         _mm512_set1_epi8(first.byte), _mm512_set1_epi8(first.mask),
                                         _mm512_set1_epi8(last.byte), _mm512_set1_epi8(last.mask)};
        return findWith(one, text, starts, i, found);
    }

    // 64 places a step (a text with few hits is bound by this loop), then 32;
    // `filter.passed64(at)` and `filter.passed(at)` have a bit for each place from `at` that
    // it lets through. Built into each search above with the instructions it is built for.
    template <typename Filter>
    [[gnu::always_inline]] inline bool findWith(const Filter& filter, std::string_view text,
                                                size_t starts, size_t& i, size_t& found) const {
        for (; i + 64 <= starts; i += 64) {
            const uint64_t bits = filter.passed64(text.data() + i);
            if (bits != 0 && firstMatchAmong(text, i, bits, found)) return true;
        }
        for (; i + 32 <= starts; i += 32)
            if (firstMatchAmong(text, i, filter.passed(text.data() + i), found)) return true;
        return false;
    }

    // Both look at whole blocks from `i` on and leave `i` where the blocks end; true with
    // `found` set at the first match. Each distinct byte test is made once a block: the forms
    // of a character mostly share their lead byte.
    template <bool kOne, size_t kTests = 0, size_t kPairs = 0>
    __attribute__((target("avx2"))) bool findAvx2(std::string_view text, size_t& i,
                                                  size_t& found) const {
        const size_t starts = text.size() - (longest_ - 1);  // places every needle fits
        if constexpr (kOne) {
            // Two tests, straight from the finder: a text with many hits calls this once a
            // line, so it sets up nothing more.
            const Test& first = tests_[pairs_[0].first];
            const Test& last = tests_[pairs_[0].second];
            const bool folded = first.mask != 0 || last.mask != 0;
            if (wide_)
                return folded ? findOneWide<true>(first, last, text, starts, i, found)
                              : findOneWide<false>(first, last, text, starts, i, found);
            return folded ? findOneAvx2<true>(first, last, text, starts, i, found)
                          : findOneAvx2<false>(first, last, text, starts, i, found);
        }
        __m256i byte[2 * kMost], mask[2 * kMost];
        for (size_t t = 0; t < tests_.size(); ++t) {
            byte[t] = _mm256_set1_epi8(tests_[t].byte);
            mask[t] = _mm256_set1_epi8(tests_[t].mask);
        }
        // A copy on the stack, and counts known at compile time, let the common shapes stay
        // in registers.
        const Plan plan = plan_;
        const size_t tests = kTests != 0 ? kTests : plan.tests;
        const size_t pairCount = kPairs != 0 ? kPairs : plan.pairs;
        for (; i + 32 <= starts; i += 32) {
            const char* at = text.data() + i;
            uint32_t passed[2 * kMost];
            for (size_t t = 0; t < tests; ++t) {
                const __m256i v =
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + plan.offset[t]));
                passed[t] = static_cast<uint32_t>(
                    _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_or_si256(v, mask[t]), byte[t])));
            }
            uint32_t bits = 0;
            for (size_t k = 0; k < pairCount; ++k)
                bits |= passed[plan.pairFirst[k]] & passed[plan.pairLast[k]];
            if (firstMatchAmong(text, i, bits, found)) return true;
        }
        return false;
    }

    template <bool kOne, size_t kTests = 0, size_t kPairs = 0>
    bool findSse2(std::string_view text, size_t& i, size_t& found) const {
        const size_t starts = text.size() - (longest_ - 1);
        if constexpr (kOne) {
            // Two tests, straight from the finder: a text with many hits calls this once a
            // line, so it sets up nothing more.
            const Test& first = tests_[pairs_[0].first];
            const Test& last = tests_[pairs_[0].second];
            const __m128i firstByte = _mm_set1_epi8(first.byte);
            const __m128i firstMask = _mm_set1_epi8(first.mask);
            const __m128i lastByte = _mm_set1_epi8(last.byte);
            const __m128i lastMask = _mm_set1_epi8(last.mask);
            for (; i + 16 <= starts; i += 16) {
                const char* at = text.data() + i;
                const __m128i a = _mm_or_si128(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + first.offset)),
                    firstMask);
                const __m128i b = _mm_or_si128(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + last.offset)), lastMask);
                const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(
                    _mm_and_si128(_mm_cmpeq_epi8(a, firstByte), _mm_cmpeq_epi8(b, lastByte))));
                if (firstMatchAmong(text, i, bits, found)) return true;
            }
            return false;
        }
        __m128i byte[2 * kMost], mask[2 * kMost];
        for (size_t t = 0; t < tests_.size(); ++t) {
            byte[t] = _mm_set1_epi8(tests_[t].byte);
            mask[t] = _mm_set1_epi8(tests_[t].mask);
        }
        // A copy on the stack, and counts known at compile time, let the common shapes stay
        // in registers.
        const Plan plan = plan_;
        const size_t tests = kTests != 0 ? kTests : plan.tests;
        const size_t pairCount = kPairs != 0 ? kPairs : plan.pairs;
        for (; i + 16 <= starts; i += 16) {
            const char* at = text.data() + i;
            uint32_t passed[2 * kMost];
            for (size_t t = 0; t < tests; ++t) {
                const __m128i v =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + plan.offset[t]));
                passed[t] = static_cast<uint32_t>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(v, mask[t]), byte[t])));
            }
            uint32_t bits = 0;
            for (size_t k = 0; k < pairCount; ++k)
                bits |= passed[plan.pairFirst[k]] & passed[plan.pairLast[k]];
            if (firstMatchAmong(text, i, bits, found)) return true;
        }
        return false;
    }

    // `candidates` has a bit set for each place after `blockStart` that a filter let through.
    bool firstMatchAmong(std::string_view text, size_t blockStart, uint64_t candidates,
                         size_t& found) const {
        for (; candidates != 0; candidates &= candidates - 1) {
            const size_t at = blockStart + static_cast<size_t>(__builtin_ctzll(candidates));
            if (anyMatchesAt(text, at)) {
                found = at;
                return true;
            }
        }
        return false;
    }
#endif

    bool anyMatchesAt(std::string_view text, size_t at) const {
        for (size_t k = 0; k < count_; ++k) {
            const Needle& n = needles_[k];
            if (at + n.bytes.size() > text.size()) continue;
            size_t j = 0;
            while (j < n.bytes.size() && (text[at + j] | n.masks[j]) == n.bytes[j]) ++j;
            if (j == n.bytes.size()) return true;
        }
        return false;
    }

    std::vector<Needle> needles_;
    std::vector<Test> tests_;
    std::vector<std::pair<size_t, size_t>> pairs_;  // a needle's first and last test
    // The same, for the block loops, which only run with at most kMost needles.
    struct Plan {
        size_t tests = 0, pairs = 0;
        size_t offset[2 * kMost] = {};
        uint8_t pairFirst[kMost] = {}, pairLast[kMost] = {};
    } plan_;
    // For two pairs of three tests that share one: the shared test, then the other two.
    struct SharedTest {
        size_t order[3];
    };
    std::optional<SharedTest> shared_;
    bool wide_;
    size_t count_ = 0;
    size_t shortest_ = 0;
    size_t longest_ = 0;
};

namespace {

// Calls `onLine` for each line of `text`; the last piece counts as a line when not empty.
template <typename OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !isLineEnd(text[end])) ++end;
        if (!onLine(text.substr(start, end - start))) return false;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
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
    finder_.reset();  // only an anchor of bytes has one

    // For each character: every byte string that a character equal to it (ignoring case) is
    // stored as. A field that equals the typed text or contains it holds one of them for
    // each character, in a row, so a line without any of a run's combinations cannot match.
    struct Piece {
        bool usable = false;  // U+FFFD is not: too many byte sequences read as it
        bool folded = false;
        std::vector<std::string> forms;
    };
    std::vector<Piece> pieces;
    for (char16_t ch : typed.text) {
        Piece piece;
        // A line never holds CR or LF; any character outside the code page but U+FFFD can
        // never be read.
        if (ch == u'\r' || ch == u'\n') {
            anchor_.kind = Anchor::Kind::NoMatchPossible;
            return anchor_;
        }
        const auto lowered = lowerCase(ch);
        if (ch != u'\uFFFD' && lowered != u'\uFFFD') {
            std::vector<std::string> forms = codec_.encodingsOf(ch);
            for (char16_t same : codec_.charactersLoweringTo(lowered))
                if (same != ch)
                    for (const auto& f : codec_.encodingsOf(same)) forms.push_back(f);
            if (forms.empty()) {
                anchor_.kind = Anchor::Kind::NoMatchPossible;
                return anchor_;
            }
            // Forms that differ only in ASCII letter case become one folded form.
            std::vector<std::string> folded;
            for (const std::string& f : forms) folded.push_back(foldAscii(f));
            std::sort(forms.begin(), forms.end());
            forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
            std::sort(folded.begin(), folded.end());
            folded.erase(std::unique(folded.begin(), folded.end()), folded.end());
            piece.usable = true;
            piece.folded = folded.size() < forms.size();
            piece.forms = piece.folded ? std::move(folded) : std::move(forms);
        }
        pieces.push_back(std::move(piece));
    }

    // The run of usable characters with the most bytes in its shortest combination makes the
    // rarest needles, as long as there are few enough combinations to search for at once.
    // One window per end, grown and shrunk once: a pasted paragraph costs no more than that.
    size_t bestStart = 0, bestEnd = 0, bestBytes = 0, bestCount = 0;
    size_t start = 0, count = 1, bytes = 0;
    auto shortest = [](const Piece& p) {
        size_t n = SIZE_MAX;
        for (const auto& f : p.forms) n = std::min(n, f.size());
        return n;
    };
    for (size_t end = 0; end < pieces.size(); ++end) {
        if (!pieces[end].usable) {
            start = end + 1, count = 1, bytes = 0;
            continue;
        }
        count *= pieces[end].forms.size();
        bytes += shortest(pieces[end]);
        while (count > NeedleFinder::kMost && start < end) {
            count /= pieces[start].forms.size();
            bytes -= shortest(pieces[start]);
            ++start;
        }
        // A character with more forms than the finder takes stands alone; it is the only
        // choice of a text made of such characters and U+FFFD.
        const bool better = bytes > bestBytes || (bytes == bestBytes && count < bestCount);
        if (bestCount == 0 || (count <= NeedleFinder::kMost && better) ||
            (bestCount > NeedleFinder::kMost && count < bestCount))
            bestStart = start, bestEnd = end + 1, bestBytes = bytes, bestCount = count;
    }
    if (bestCount == 0) {
        anchor_.kind = Anchor::Kind::Unreadable;
        return anchor_;
    }

    for (size_t i = bestStart; i < bestEnd; ++i) anchor_.folded |= pieces[i].folded;
    std::vector<std::string> combinations = {""};
    for (size_t i = bestStart; i < bestEnd; ++i) {
        std::vector<std::string> longer;
        for (const std::string& head : combinations)
            for (const std::string& form : pieces[i].forms)
                longer.push_back(head + (anchor_.folded ? foldAscii(form) : form));
        combinations = std::move(longer);
    }
    std::sort(combinations.begin(), combinations.end());
    combinations.erase(std::unique(combinations.begin(), combinations.end()), combinations.end());
    anchor_.forms = std::move(combinations);
    // A space, a digit or a punctuation mark: the texts that find the most lines.
    const std::string& form = anchor_.forms.front();
    anchor_.oneByte = typed.text.size() == 1 && anchor_.forms.size() == 1 && form.size() == 1 &&
                      form[0] != '=' && codec_.standsAlone(form[0]) &&
                      codec_.encodingsOf(u'=') == std::vector<std::string>{"="} &&
                      codec_.standsAlone('=');
    finder_ = std::make_unique<NeedleFinder>(anchor_.forms, anchor_.folded, codec_.searchesWide());
    return anchor_;
}

bool FastScanner::testLine(std::string_view raw, const TypedText& typed, MatchMode mode,
                           const MatchSink& sink) {
    const std::u16string_view line = decodeLine(raw);
    return reportLine(line, countMatchingFields(line, typed, mode), mode, sink);
}

std::u16string_view FastScanner::decodeLine(std::string_view raw) {
    // The line's buffer only grows: the million lines of a scan cost no allocation and no
    // clearing.
    if (line_.size() < raw.size()) line_.resize(std::max(raw.size(), 2 * line_.size()));
    return {line_.data(), codec_.decodeTo(raw, line_.data())};
}

bool FastScanner::reportLine(std::u16string_view line, int times, MatchMode mode,
                             const MatchSink& sink) {
    for (int i = 0; i < times; ++i) sink(line);
    return !(mode == MatchMode::Exact && times > 0);
}

bool FastScanner::scanLines(std::string_view raw, const TypedText& typed, MatchMode mode,
                            const MatchSink& sink) {
    const bool unreadable = anchor_.kind == Anchor::Kind::Unreadable;
    if (anchor_.oneByte) return scanLinesForOneByte(raw, mode, sink);
    size_t pos = 0;
    while (pos < raw.size()) {
        const size_t at = unreadable ? codec_.findUnreadable(raw, pos) : finder_->find(raw, pos);
        if (at == std::string_view::npos) break;
        const size_t start = lineStartBefore(raw, pos, at);
        // No needle holds a line end, nor does any pair: the line goes on past `at`.
        const size_t end = lineEndFrom(raw, at);
        if (!testLine(raw.substr(start, end - start), typed, mode, sink)) return false;
        pos = end;
    }
    return true;
}

// The byte search skips the lines without the byte; after a line that has it, the next line
// is read whole at once, as the lines of a text found in most of them are (a space, a digit),
// until one does not have it.
bool FastScanner::scanLinesForOneByte(std::string_view raw, MatchMode mode, const MatchSink& sink) {
    const char wanted = anchor_.forms.front()[0];
    bool lastFound = false;
    size_t pos = 0;
    while (pos < raw.size()) {
        size_t start = pos;
        if (lastFound) {
            while (start < raw.size() && isLineEnd(raw[start])) ++start;
            if (start == raw.size()) break;
        } else {
            const size_t at = finder_->find(raw, pos);
            if (at == std::string_view::npos) break;
            start = lineStartBefore(raw, pos, at);
        }
        const OneByteLine line = oneByteLineFrom(raw, start, wanted, mode);
        lastFound = line.matches > 0;
        if (lastFound &&
            !reportLine(decodeLine(raw.substr(start, line.end - start)), line.matches, mode, sink))
            return false;
        pos = line.end;
    }
    return true;
}

FastScanner::FastScanner(Big5Codec& codec, size_t readSize) : codec_(codec), chunks_(readSize) {}
FastScanner::~FastScanner() = default;

ScanResult FastScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                             const MatchSink& sink) {
    const Anchor& anchor = anchorFor(typed);
    if (anchor.kind == Anchor::Kind::NoMatchPossible) return {};
    chunks_.start();
    const ScanResult result = scanChunks(bytes, typed, mode, sink);
    // The window keeps its scanner between lookups: a line of megabytes (a file that lost its
    // line ends) must not keep its room, read and decoded, after its lookup.
    chunks_.release();
    if (line_.size() > LineChunks::kReadSize) std::u16string().swap(line_);
    return result;
}

ScanResult FastScanner::scanChunks(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                                   const MatchSink& sink) {
    for (;;) {
        std::string_view lines;
        switch (chunks_.next(bytes, lines)) {
            case LineChunks::Got::Failed:
                return {false, false};
            case LineChunks::Got::End:
                return {};
            case LineChunks::Got::Lines:
                if (!scanLines(lines, typed, mode, sink)) return {true, true};
        }
    }
}

}  // namespace qb
