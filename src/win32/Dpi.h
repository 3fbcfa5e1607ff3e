#pragma once

#include <windows.h>

#include <cmath>

#include "common/TwipsPerPixel.h"

namespace qb::win32 {

// Layouts are kept in twips at 96 dpi (15 to a pixel); the program asks for each monitor's
// own scale, so it sizes everything itself.
inline int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(
        std::nearbyint(static_cast<double>(twips) * dpi / 96.0 / kTwipsPerPixel));
}

// The window's dots per inch: its monitor's where the system tells (Windows 10 and later),
// else the screen's.
int dpiOf(HWND window);

}  // namespace qb::win32
