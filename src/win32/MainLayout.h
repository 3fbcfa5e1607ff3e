#pragma once

#include "win32/Dpi.h"

namespace qb::win32 {

// A control's place as the window was designed: left, top, width and height in twips, from
// the top-left corner of the window's client area.
struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

// Each length to the nearest pixel on its own, as the designed layout was always shown.
inline PixelRect toPixels(const TwipsRect& r, int dpi) {
    return {twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi),
            twipsToPixels(r.height, dpi)};
}

// The main window's controls. The skin box covers the window from its top-left corner, so a
// place on it is a place in the window.
namespace mainLayout {
inline constexpr TwipsRect kWindow{0, 0, 8160, 5670};
inline constexpr TwipsRect kTextInput{600, 840, 1695, 375};
inline constexpr TwipsRect kTextOutput{2880, 130, 2055, 2950};
inline constexpr TwipsRect kCmdVoice{1730, 1440, 615, 735};
inline constexpr TwipsRect kCommandAdvanSubmit{1130, 1440, 615, 735};
inline constexpr TwipsRect kCommandSubmit{530, 1440, 615, 735};
inline constexpr TwipsRect kCmdHelp{1200, 2400, 495, 495};
inline constexpr TwipsRect kCmdAbout{1800, 2400, 495, 495};
inline constexpr TwipsRect kCommandClose{480, 2760, 255, 255};
inline constexpr TwipsRect kCommandMin{720, 2760, 255, 255};
inline constexpr TwipsRect kText1{480, 120, 1935, 2925};
}  // namespace mainLayout

}  // namespace qb::win32
