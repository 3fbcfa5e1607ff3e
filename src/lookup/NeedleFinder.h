#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/SimdLevel.h"

namespace qb {

// Finds any of a few needles in the raw bytes of a file, with ASCII letters compared without
// case when they are folded, and without copying or folding the file's bytes: a letter byte
// of a needle is compared with the text byte OR 0x20, which is the same as folding both. A
// first- and last-byte filter, a register of places at a time (NeedleBlocks), leaves few to
// compare in full; it is what makes this beat memmem on Big5 text, where lead bytes abound.
// Each needle has its own filter, so a character with two codes costs a compare or two more a
// block, not a decode of every line.
class NeedleFinder {
  public:
    static constexpr size_t kMost = 8;  // more are searched for one place at a time

    // `level`: the instructions the filter is built with; `Scalar` compares place by place.
    NeedleFinder(const std::vector<std::string>& needles, bool folded, SimdLevel level);

    // The first place at or after `from` where a needle starts, or npos.
    size_t find(std::string_view text, size_t from) const;

    bool matchesAt(std::string_view text, size_t at) const {
        for (const Needle& n : needles_) {
            if (at + n.bytes.size() > text.size()) continue;
            size_t j = 0;
            while (j < n.bytes.size() && (text[at + j] | n.masks[j]) == n.bytes[j]) ++j;
            if (j == n.bytes.size()) return true;
        }
        return false;
    }

    // One byte compared at one offset from the place a needle would start.
    struct Test {
        size_t offset;
        char byte;
        char mask;
        bool operator==(const Test&) const = default;
    };
    // The filter: a place passes when both tests of one of the pairs pass. Each distinct test
    // is made once a block: the forms of a character mostly share their lead byte.
    struct Plan {
        // One needle, the common case, and the forms of one character whose codes share
        // their lead byte (three tests, two pairs, `Shared`) or not (four) have filters of
        // their own, which keep their tests in registers.
        enum class Shape { One, Shared, ThreeTwo, FourTwo, Any } shape = Shape::Any;
        bool folded = false;  // a test has a letter to fold
        size_t longest = 0;   // bytes of the longest needle
        size_t tests = 0, pairs = 0;
        Test test[2 * kMost] = {};
        uint8_t pairFirst[kMost] = {}, pairLast[kMost] = {};
        // `Shared`: the test both pairs have, then the other test of each.
        uint8_t shared[3] = {};
    };
    const Plan& plan() const { return plan_; }

  private:
    struct Needle {
        std::string bytes;
        std::vector<char> masks;
    };

    void makePlan();

    std::vector<Needle> needles_;
    Plan plan_;
    SimdLevel level_;  // `Scalar` also where there are more needles than the filters take
    size_t shortest_ = 0;
};

}  // namespace qb
