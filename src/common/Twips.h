#pragma once

#include <QRect>
#include <cmath>

namespace qb {

// Window layouts are kept in twips (1/1440 inch), as the windows were designed. Qt lays
// windows out in pixels of 1/96 inch whatever the screen, so 15 twips make a pixel; Qt
// scales pixels on denser screens.
inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, to the nearest pixel, halves to the even one.
inline int twipsToPixels(int twips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel));
}

inline QRect twips(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace qb
