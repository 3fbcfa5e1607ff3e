#include "win32/Controls.h"

#include <commctrl.h>

#include "win32/Dpi.h"

namespace qb::win32 {
namespace {

HWND makeChild(const wchar_t* kind, DWORD style, HWND parent, int id, std::u16string_view text,
               const RECT& where, HFONT font) {
    HWND control = CreateWindowExW(
        0, kind, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, where.left, where.top,
        where.right - where.left, where.bottom - where.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr && font != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HBITMAP bitmapOf(const Picture& picture) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ before = SelectObject(memory, bitmap);
    drawPicture(memory, picture, 0, 0);
    SelectObject(memory, before);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The static control never frees the picture it was given: it goes with the control.
LRESULT CALLBACK freeingPicture(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        auto* bitmap =
            reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr) DeleteObject(bitmap);
        RemoveWindowSubclass(control, freeingPicture, id);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

RECT twipsRect(int left, int top, int width, int height, int dpi) {
    const int x = twipsToPixels(left, dpi);
    const int y = twipsToPixels(top, dpi);
    return {x, y, x + twipsToPixels(width, dpi), y + twipsToPixels(height, dpi)};
}

HWND makeLabel(HWND parent, int id, std::u16string_view text, const RECT& where, HFONT font) {
    return makeChild(L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, parent, id, text, where, font);
}

LRESULT labelColours(HDC dc, COLORREF colour, bool seeThrough) {
    SetTextColor(dc, colour);
    if (seeThrough) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

HWND makePushButton(HWND parent, int id, std::u16string_view caption, const RECT& where, HFONT font,
                    bool isDefault) {
    return makeChild(L"BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), parent,
                     id, caption, where, font);
}

HWND makePicture(HWND parent, int id, POINT at, const Picture& picture) {
    const RECT where{at.x, at.y, at.x + picture.width, at.y + picture.height};
    HWND control = makeChild(L"STATIC", SS_BITMAP | SS_NOTIFY, parent, id, u"", where, nullptr);
    if (control == nullptr) return nullptr;
    SetWindowSubclass(control, freeingPicture, 1, 0);
    if (!picture.isNull())
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(bitmapOf(picture)));
    return control;
}

HWND makeGraphicalButton(HWND parent, int id, std::u16string_view caption, const RECT& where,
                         HFONT font) {
    return makeChild(L"BUTTON", WS_TABSTOP | BS_OWNERDRAW, parent, id, caption, where, font);
}

void drawGraphicalButton(const DRAWITEMSTRUCT& item, const Picture& picture, COLORREF face) {
    HDC dc = item.hDC;
    RECT all = item.rcItem;
    HBRUSH faceBrush = CreateSolidBrush(face);
    FillRect(dc, &all, faceBrush);
    DeleteObject(faceBrush);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawEdge(dc, &all, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    wchar_t caption[64] = {};
    GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    RECT text{};
    DrawTextW(dc, caption, -1, &text, DT_CALCRECT | DT_SINGLELINE);
    // The picture and the caption below it stand together in the middle, a pressed button's
    // a pixel lower and to the right.
    const int gap = 2;
    const int shift = pressed ? 1 : 0;
    const int textHeight = text.bottom - text.top;
    const int top =
        all.top + (all.bottom - all.top - picture.height - gap - textHeight) / 2 + shift;
    drawPicture(dc, picture, all.left + (all.right - all.left - picture.width) / 2 + shift, top);
    RECT captionPlace{all.left + shift, top + picture.height + gap, all.right + shift,
                      top + picture.height + gap + textHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, caption, -1, &captionPlace, DT_CENTER | DT_SINGLELINE);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = all;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    if (oldFont != nullptr) SelectObject(dc, oldFont);
}

}  // namespace qb::win32
