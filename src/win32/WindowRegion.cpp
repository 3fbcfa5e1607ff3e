#include "win32/WindowRegion.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace qb::win32 {

// The strips come top to bottom and left to right, the order the system keeps a region's
// rectangles in, so it takes them as they are: one call, where merging them one at a time
// costs a call and a copy of the region so far per strip.
HRGN regionOf(const std::vector<PixelRun>& runs) {
    if (runs.empty()) return nullptr;
    std::vector<RECT> rects;
    rects.reserve(runs.size());
    RECT bound{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const PixelRun& run : runs) {
        const RECT r{run.left, run.top, run.right, run.top + 1};
        rects.push_back(r);
        bound = {std::min(bound.left, r.left), std::min(bound.top, r.top),
                 std::max(bound.right, r.right), std::max(bound.bottom, r.bottom)};
    }
    const DWORD rectBytes = static_cast<DWORD>(rects.size() * sizeof(RECT));
    std::vector<unsigned char> bytes(sizeof(RGNDATAHEADER) + rectBytes);
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = rectBytes;
    header.rcBound = bound;
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, rects.data(), rectBytes);
    return ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()),
                           reinterpret_cast<const RGNDATA*>(bytes.data()));
}

std::vector<PixelRun> outlineOf(const Picture& picture) {
    if (picture.isNull()) return {};
    const std::uint32_t key = picture.pixels.front();
    return pictureRuns(
        picture.width, picture.height,
        [&picture](int y) {
            return picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        },
        [key](std::uint32_t pixel) { return pixel == key; });
}

}  // namespace qb::win32
