#include "win32/Dpi.h"

namespace qb::win32 {

int dpiOf(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    // Looked up, not linked: Windows 7 has no such call.
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace qb::win32
