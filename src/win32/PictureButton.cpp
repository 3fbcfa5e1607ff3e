#include "win32/PictureButton.h"

#include "win32/AccessibleObject.h"
#include "win32/Controls.h"

namespace qb::win32 {

HWND PictureButton::create(HWND parent, int id) {
    button_ = CreateWindowExW(0, L"BUTTON", wide(spoken_.name).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              nullptr, nullptr);
    // The system's own object says as much of a button on Windows; said here, the button is
    // a push button to be pressed wherever the system's object leaves buttons plain (Wine's).
    tellReaders(button_, pushButton(spoken_));
    return button_;
}

void PictureButton::loadPicture(int dpi) {
    picture_ = loadPictureFor(pictureFile_, face_, dpi);
}

void PictureButton::draw(const DRAWITEMSTRUCT& item, HFONT captionFont) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    HBRUSH face = CreateSolidBrush(face_);
    FillRect(dc, &r, face);
    DeleteObject(face);
    if (caption_.empty()) {
        drawPicture(dc, picture_, r.left, r.top);
        return;
    }
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    // A pressed button's face moves a pixel down and right, as the system's own do.
    const int shift = pressed ? 1 : 0;
    HGDIOBJ oldFont = SelectObject(dc, captionFont);
    SIZE text{};
    GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int top = r.top + (height - picture_.height - text.cy) / 2 + shift;
    drawPicture(dc, picture_, r.left + (width - picture_.width) / 2 + shift, top);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT caption{r.left + shift, top + picture_.height, r.right + shift,
                 top + picture_.height + text.cy};
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &caption,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace qb::win32
