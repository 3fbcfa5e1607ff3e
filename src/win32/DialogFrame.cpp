#include "win32/DialogFrame.h"

#include "win32/Controls.h"
#include "win32/Dpi.h"

namespace qb::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillbookDialog";
// Not clipping its controls: what the window draws may run on under a see-through label.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The system's dialog handling runs in any window of a class with room for it whose
// procedure ends in DefDlgProc: the window is placed in pixels like any other.
bool registerClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSW kind{};
        kind.lpfnWndProc = procedure;
        kind.cbWndExtra = DLGWINDOWEXTRA;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.hIcon = LoadIconW(kind.hInstance, MAKEINTRESOURCEW(1));
        kind.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        kind.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        kind.lpszClassName = kClassName;
        return RegisterClassW(&kind) != 0;
    }();
    return registered;
}

}  // namespace

HWND DialogFrame::create(DialogMessages& messages, std::u16string_view title, SIZE clientTwips,
                         std::optional<POINT> clientAt, int dpi) {
    destroy();
    if (!registerClass(procedure)) return nullptr;
    // A window with an owner has no taskbar button; an owner that is never shown keeps the
    // window free of any other window's minimising and stacking.
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    RECT frame = twipsRect(clientAt ? clientAt->x : 0, clientAt ? clientAt->y : 0, clientTwips.cx,
                           clientTwips.cy, dpi);
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int x = clientAt ? frame.left : CW_USEDEFAULT;
    const int y = clientAt ? frame.top : CW_USEDEFAULT;
    window_ = CreateWindowExW(kExStyle, kClassName, wide(title).c_str(), kStyle, x, y,
                              frame.right - frame.left, frame.bottom - frame.top, owner_, nullptr,
                              GetModuleHandleW(nullptr), &messages);
    if (window_ == nullptr) destroy();
    return window_;
}

HWND DialogFrame::destroy() {
    HWND destroyed = window_;
    if (window_ != nullptr) DestroyWindow(window_);
    if (owner_ != nullptr) DestroyWindow(owner_);
    window_ = owner_ = nullptr;
    return destroyed;
}

void DialogFrame::bringForward() {
    if (window_ == nullptr) return;
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
}

LRESULT CALLBACK DialogFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* messages = reinterpret_cast<DialogMessages*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (messages != nullptr) {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            messages->paint(dc);
            EndPaint(window, &paint);
            return 0;
        }
        if (message == WM_NCDESTROY)
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        else if (const auto answer = messages->answer(window, message, wParam, lParam))
            return *answer;
    }
    return DefDlgProcW(window, message, wParam, lParam);
}

}  // namespace qb::win32
