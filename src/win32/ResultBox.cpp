#include "win32/ResultBox.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "win32/AccessibleObject.h"
#include "win32/Controls.h"

namespace qb::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillbookResults";
constexpr int kMargin = 2;
constexpr int kWheelLines = 3;
// The box's own message: tell screen readers of the new text.
constexpr UINT kAnnounceText = WM_USER + 1;

}  // namespace

HWND ResultBox::create(HWND parent, int id, std::u16string_view name) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &ResultBox::windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
    box_ = CreateWindowExW(0, kClassName, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_BORDER, 0, 0,
                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), this);
    tellReaders(box_, {.name = wide(name),
                       .role = ROLE_SYSTEM_TEXT,
                       .addedState = STATE_SYSTEM_READONLY,
                       .valueIsText = true});
    updateScrollBar();
    return box_;
}

void ResultBox::setText(std::u16string_view textWithCrLf) {
    text_.assign(textWithCrLf.begin(), textWithCrLf.end());
    lineStarts_.assign(1, 0);
    for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == L'\n') lineStarts_.push_back(i + 1);
    top_ = 0;
    selected_ = false;
    updateScrollBar();
    InvalidateRect(box_, nullptr, TRUE);
    // A lookup empties the box and fills it without a message in between: told when the
    // program is idle again, a screen reader hears of one new result, not of an empty box too.
    if (!announcing_ && box_ != nullptr) announcing_ = PostMessageW(box_, kAnnounceText, 0, 0);
}

void ResultBox::announceText() {
    announcing_ = false;
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, box_, OBJID_CLIENT, CHILDID_SELF);
}

void ResultBox::setFont(HFONT font) {
    font_ = font;
    HDC dc = GetDC(box_);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(box_, dc);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    updateScrollBar();
    InvalidateRect(box_, nullptr, TRUE);
}

void ResultBox::setColours(COLORREF text, COLORREF background) {
    textColour_ = text;
    background_ = background;
    InvalidateRect(box_, nullptr, TRUE);
}

// A line without its line break.
std::wstring_view ResultBox::line(int index) const {
    const std::size_t start = lineStarts_[static_cast<std::size_t>(index)];
    std::size_t end = static_cast<std::size_t>(index) + 1 < lineStarts_.size()
                          ? lineStarts_[static_cast<std::size_t>(index) + 1] - 1
                          : text_.size();
    if (end > start && text_[end - 1] == L'\r') --end;
    return std::wstring_view(text_).substr(start, end - start);
}

int ResultBox::linesPerPage() const {
    RECT client{};
    GetClientRect(box_, &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight_);
}

void ResultBox::updateScrollBar() {
    if (box_ == nullptr) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = lineCount() - 1;
    info.nPage = static_cast<UINT>(linesPerPage());
    info.nPos = top_;
    SetScrollInfo(box_, SB_VERT, &info, TRUE);
}

void ResultBox::scrollTo(int line) {
    const int last = std::max(0, lineCount() - linesPerPage());
    const int top = std::clamp(line, 0, last);
    if (top == top_) return;
    top_ = top;
    updateScrollBar();
    InvalidateRect(box_, nullptr, TRUE);
}

void ResultBox::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box_, &paint);
    RECT client{};
    GetClientRect(box_, &client);
    const bool highlighted = selected_;
    const COLORREF back = highlighted ? GetSysColor(COLOR_HIGHLIGHT) : background_;
    HBRUSH brush = CreateSolidBrush(background_);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetTextColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour_);
    SetBkColor(dc, back);
    SetBkMode(dc, highlighted ? OPAQUE : TRANSPARENT);
    int y = client.top;
    for (int i = top_; i < lineCount() && y < client.bottom; ++i) {
        const std::wstring_view text = line(i);
        RECT r{client.left + kMargin, y, client.right - kMargin, client.bottom};
        int height = lineHeight_;
        if (!text.empty())
            height = DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r,
                               DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
        y += std::max(height, lineHeight_);
    }
    SelectObject(dc, oldFont);
    EndPaint(box_, &paint);
}

void ResultBox::selectAll() {
    selected_ = true;
    InvalidateRect(box_, nullptr, TRUE);
}

void ResultBox::copy() const {
    if (!selected_ || text_.empty() || !OpenClipboard(box_)) return;
    EmptyClipboard();
    const std::size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), text_.c_str(), bytes);
        GlobalUnlock(memory);
        if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    }
    CloseClipboard();
}

LRESULT CALLBACK ResultBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ResultBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || (self->box_ != nullptr && self->box_ != window))
        return DefWindowProcW(window, message, wParam, lParam);
    if (self->box_ == nullptr) self->box_ = window;
    return self->handle(message, wParam, lParam);
}

LRESULT ResultBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the box
        case WM_SIZE:
            updateScrollBar();
            InvalidateRect(box_, nullptr, TRUE);
            return 0;
        case WM_VSCROLL: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(box_, SB_VERT, &info);
            switch (LOWORD(wParam)) {
                case SB_LINEUP:
                    scrollTo(top_ - 1);
                    break;
                case SB_LINEDOWN:
                    scrollTo(top_ + 1);
                    break;
                case SB_PAGEUP:
                    scrollTo(top_ - linesPerPage());
                    break;
                case SB_PAGEDOWN:
                    scrollTo(top_ + linesPerPage());
                    break;
                case SB_TOP:
                    scrollTo(0);
                    break;
                case SB_BOTTOM:
                    scrollTo(lineCount());
                    break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION:
                    scrollTo(info.nTrackPos);
                    break;
                default:
                    break;
            }
            return 0;
        }
        case WM_MOUSEWHEEL:
            scrollTo(top_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN: {
            const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
            const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            switch (wParam) {
                case VK_UP:
                    scrollTo(top_ - 1);
                    break;
                case VK_DOWN:
                    scrollTo(top_ + 1);
                    break;
                case VK_PRIOR:
                    scrollTo(top_ - linesPerPage());
                    break;
                case VK_NEXT:
                    scrollTo(top_ + linesPerPage());
                    break;
                case VK_HOME:
                    if (ctrl) scrollTo(0);
                    break;
                case VK_END:
                    if (ctrl) scrollTo(lineCount());
                    // From the start, where the box's reading begins, to the end: all of it,
                    // as a text box selects with these keys.
                    if (ctrl && shift) selectAll();
                    break;
                case 'A':
                    if (ctrl) selectAll();
                    break;
                case 'C':
                case VK_INSERT:
                    if (ctrl) copy();
                    break;
                default:
                    break;
            }
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            selectAll();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (message == WM_LBUTTONDOWN) SetFocus(box_);
            if (pressed) pressed(message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4);
            return 0;
        case WM_KILLFOCUS:
            if (selected_) {
                selected_ = false;
                InvalidateRect(box_, nullptr, TRUE);
            }
            return 0;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case WM_GETTEXT: {
            if (wParam == 0) return 0;
            const std::size_t n = std::min(text_.size(), static_cast<std::size_t>(wParam) - 1);
            auto* out = reinterpret_cast<wchar_t*>(lParam);
            std::memcpy(out, text_.data(), n * sizeof(wchar_t));
            out[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case kAnnounceText:
            announceText();
            return 0;
        case WM_NCDESTROY: {
            HWND window = box_;
            box_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(box_, message, wParam, lParam);
}

}  // namespace qb::win32
