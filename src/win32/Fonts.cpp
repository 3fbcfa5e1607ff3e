#include "win32/Fonts.h"

#include <cmath>
#include <cwchar>

namespace qb::win32 {

HFONT createFont(const FontStyle& style, int dpi) {
    LOGFONTW font{};
    // A negative height asks for the character height, which is what a point size means.
    font.lfHeight = -static_cast<LONG>(std::lround(style.points * dpi / 72.0));
    font.lfWeight = style.weight;
    font.lfUnderline = style.underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    // Outline fonts only: a bitmap face of the same name (Courier) has a few sizes and
    // cannot follow the monitor's scale, and the system maps it to its outline kin.
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    std::wcsncpy(font.lfFaceName, style.face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

HFONT createDefaultGuiFont(int dpi) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    // The stock font is sized for the screen's dots per inch as the program started.
    HDC screen = GetDC(nullptr);
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (screenDpi > 0) font.lfHeight = MulDiv(font.lfHeight, dpi, screenDpi);
    return CreateFontIndirectW(&font);
}

}  // namespace qb::win32
