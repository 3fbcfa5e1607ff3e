#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace qb {

// One strip of a window's outline: a run of kept pixels in one row, right edge exclusive.
struct PixelRun {
    int left, top, right;
    bool operator==(const PixelRun&) const = default;
};

// The outline of a picture, whatever toolkit holds its pixels: every pixel for which
// `cut(pixel)` holds is cut away, and each row's runs of the others become one strip each, top
// to bottom and left to right. `row(y)` gives row y's first pixel.
template <typename RowAt, typename Cut>
std::vector<PixelRun> pictureRuns(int width, int height, RowAt row, Cut cut) {
    std::vector<PixelRun> runs;
    for (int y = 0; y < height; ++y) {
        const auto* const first = row(y);
        const auto* const end = first + width;
        // From one edge of a run to the next: a row of an outline has few of them.
        for (auto* p = std::find_if_not(first, end, cut); p != end;) {
            auto* const runEnd = std::find_if(p, end, cut);
            runs.push_back({static_cast<int>(p - first), y, static_cast<int>(runEnd - first)});
            p = std::find_if_not(runEnd, end, cut);
        }
    }
    return runs;
}

}  // namespace qb
