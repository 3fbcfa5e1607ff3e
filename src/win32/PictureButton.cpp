#include "win32/PictureButton.h"

#include <commctrl.h>
#include <oleacc.h>

#include "win32/AccessibleObject.h"
#include "win32/Controls.h"

namespace qb::win32 {

HWND PictureButton::create(HWND parent, int id) {
    button_ = CreateWindowExW(0, L"BUTTON", wide(spoken_.name).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              nullptr, nullptr);
    if (button_ != nullptr)
        SetWindowSubclass(button_, &PictureButton::answerReader, 0,
                          reinterpret_cast<DWORD_PTR>(this));
    return button_;
}

// The system's own object says the same of a button on Windows; said here, the button is a
// push button to be pressed wherever the system's object leaves buttons plain (as Wine's).
LRESULT CALLBACK PictureButton::answerReader(HWND button, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_GETOBJECT) {
        const AccessibleText& spoken = reinterpret_cast<const PictureButton*>(self)->spoken_;
        const AccessibleFacts facts{
            .name = wide(spoken.name),
            .description = wide(spoken.description),
            .role = ROLE_SYSTEM_PUSHBUTTON,
            .defaultAction = L"Press",
            .actionClicks = true,
        };
        if (const LRESULT answer = answerObjectRequest(button, wParam, lParam, facts))
            return answer;
    }
    return DefSubclassProc(button, message, wParam, lParam);
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
