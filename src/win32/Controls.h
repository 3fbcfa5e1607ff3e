#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win32/Pictures.h"

namespace qb::win32 {

// The program's text as the system's wide calls take it.
inline std::wstring wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

// A place in a window, in twips at 96 dpi as the layouts are kept, made pixels for `dpi`.
RECT twipsRect(int left, int top, int width, int height, int dpi);

// Text in `font` from the top left, wrapped at the label's width. It keeps the mouse for
// itself, as a label does, so moves over it never reach the window beneath, and tells its
// parent of a click (STN_CLICKED). The parent colours it (labelColours).
HWND makeLabel(HWND parent, int id, std::u16string_view text, const RECT& where, HFONT font);

// The parent's answer to WM_CTLCOLORSTATIC: the text in `colour` on the dialog's face, or
// on whatever the parent drew beneath the label when it is see-through.
LRESULT labelColours(HDC dc, COLORREF colour, bool seeThrough = false);

// A push button in the tab order; "&" marks its access key.
HWND makePushButton(HWND parent, int id, std::u16string_view caption, const RECT& where, HFONT font,
                    bool isDefault);

// The picture unscaled with its top-left corner at `at`. The control keeps the mouse as a
// label does and frees its copy of the picture with itself.
HWND makePicture(HWND parent, int id, POINT at, const Picture& picture);

// A button that shows a picture above its caption on a face of its own; the parent draws it
// from WM_DRAWITEM with drawGraphicalButton.
HWND makeGraphicalButton(HWND parent, int id, std::u16string_view caption, const RECT& where,
                         HFONT font);
void drawGraphicalButton(const DRAWITEMSTRUCT& item, const Picture& picture, COLORREF face);

}  // namespace qb::win32
