#pragma once

namespace qb {

// Window layouts are kept in twips (1/1440 inch), as the windows were designed. Windows are
// laid out in pixels of 1/96 inch whatever the screen, so 15 twips make a pixel; the toolkit
// scales pixels on denser screens.
inline constexpr int kTwipsPerPixel = 15;

}  // namespace qb
