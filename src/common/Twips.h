#pragma once

#include <QRect>
#include <cmath>

#include "common/TwipsPerPixel.h"

namespace qb {

// Twips to pixels, to the nearest pixel, halves to the even one.
inline int twipsToPixels(int twips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel));
}

inline QRect twips(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace qb
