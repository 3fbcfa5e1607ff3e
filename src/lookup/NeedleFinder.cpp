#include "lookup/NeedleFinder.h"

#include <algorithm>

#include "lookup/NeedleBlocks.h"

namespace qb {

NeedleFinder::NeedleFinder(const std::vector<std::string>& needles, bool folded, SimdLevel level)
    : level_(needles.size() <= kMost ? level : SimdLevel::Scalar) {
    for (const std::string& bytes : needles) {
        Needle& n = needles_.emplace_back(Needle{bytes, std::vector<char>(bytes.size())});
        for (size_t i = 0; i < bytes.size(); ++i)
            n.masks[i] = folded && bytes[i] >= 'a' && bytes[i] <= 'z' ? 0x20 : 0;
        shortest_ = needles_.size() == 1 ? bytes.size() : std::min(shortest_, bytes.size());
        plan_.longest = std::max(plan_.longest, bytes.size());
    }
    if (level_ != SimdLevel::Scalar) makePlan();
}

void NeedleFinder::makePlan() {
    std::vector<Test> tests;
    std::vector<std::pair<size_t, size_t>> pairs;  // a needle's first and last test
    auto test = [&](const Needle& n, size_t offset) {
        const Test t{offset, n.bytes[offset], n.masks[offset]};
        const auto it = std::find(tests.begin(), tests.end(), t);
        if (it != tests.end()) return static_cast<size_t>(it - tests.begin());
        tests.push_back(t);
        return tests.size() - 1;
    };
    for (const Needle& n : needles_) {
        if (n.bytes.empty()) continue;
        const std::pair pair{test(n, 0), test(n, n.bytes.size() - 1)};
        if (std::find(pairs.begin(), pairs.end(), pair) == pairs.end()) pairs.push_back(pair);
    }
    // Forms of one length that agree on two bytes, as the forms of full-width letters agree
    // on their lead bytes: those two filter for every form at once, in the loop of a single
    // needle, and the forms are told apart where both pass.
    if (needles_.size() > 1 && shortest_ == plan_.longest && shortest_ >= 2) {
        const Needle& one = needles_[0];
        auto shared = [&](size_t at) {
            return std::all_of(needles_.begin(), needles_.end(), [&](const Needle& n) {
                return n.bytes[at] == one.bytes[at] && n.masks[at] == one.masks[at];
            });
        };
        size_t first = 0, last = plan_.longest - 1;
        while (first < last && !shared(first)) ++first;
        while (last > first && !shared(last)) --last;
        if (first < last) {
            tests.clear();
            pairs.assign(1, {test(one, first), test(one, last)});
        }
    }

    using Shape = Plan::Shape;
    plan_.tests = tests.size();
    plan_.pairs = pairs.size();
    std::copy(tests.begin(), tests.end(), plan_.test);
    for (size_t k = 0; k < pairs.size(); ++k) {
        plan_.pairFirst[k] = static_cast<uint8_t>(pairs[k].first);
        plan_.pairLast[k] = static_cast<uint8_t>(pairs[k].second);
    }
    plan_.folded = std::any_of(tests.begin(), tests.end(), [](const Test& t) { return t.mask; });
    plan_.shape = pairs.size() == 1                        ? Shape::One
                  : tests.size() == 3 && pairs.size() == 2 ? Shape::ThreeTwo
                  : tests.size() == 4 && pairs.size() == 2 ? Shape::FourTwo
                                                           : Shape::Any;
    if (plan_.shape != Shape::ThreeTwo) return;
    // Two pairs of three tests share one unless a needle of one byte has a pair of its own.
    const auto [p, q] = std::pair{pairs[0], pairs[1]};
    if (p.first == p.second || q.first == q.second) return;
    for (const size_t common : {p.first, p.second}) {
        if (q.first != common && q.second != common) continue;
        plan_.shape = Shape::Shared;
        plan_.shared[0] = static_cast<uint8_t>(common);
        plan_.shared[1] = static_cast<uint8_t>(p.first == common ? p.second : p.first);
        plan_.shared[2] = static_cast<uint8_t>(q.first == common ? q.second : q.first);
        return;
    }
}

size_t NeedleFinder::find(std::string_view text, size_t from) const {
    if (needles_.empty() || shortest_ == 0 || text.size() < shortest_)
        return std::string_view::npos;
    size_t i = from;
    size_t found = std::string_view::npos;
    if (text.size() >= plan_.longest && findInBlocks(level_, *this, text, i, found)) return found;
    // What the blocks left: fewer places than a register holds at the end of the text.
    for (; i + shortest_ <= text.size(); ++i)
        if (matchesAt(text, i)) return i;
    return std::string_view::npos;
}

}  // namespace qb
