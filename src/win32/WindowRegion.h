#pragma once

#include <windows.h>

#include <vector>

#include "mainwin/PictureRegion.h"
#include "win32/Pictures.h"

namespace qb::win32 {

// The region of the strips, in one call; null when there are none. The caller owns it until
// it gives it to a window.
HRGN regionOf(const std::vector<PixelRun>& runs);

// The picture's outline: every pixel of the top-left pixel's colour cut away.
std::vector<PixelRun> outlineOf(const Picture& picture);

}  // namespace qb::win32
