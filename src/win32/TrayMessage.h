#pragma once

#include <windows.h>

#include "common/TwipsPerPixel.h"

namespace qb::win32 {

// The icon's callback is the mouse-move message, so the icon's mouse message number arrives
// where a mouse move carries its x coordinate, in pixels; the tray window's picture box
// reports that coordinate in twips, as its scale mode is.
inline float trayMouseX(LPARAM lParam) {
    return static_cast<float>(static_cast<short>(LOWORD(lParam))) * kTwipsPerPixel;
}

}  // namespace qb::win32
