#pragma once

#include <windows.h>

namespace qb::win32 {

// The procedure of a window class whose windows each belong to one object: the object puts
// itself into its window's user data once it has the window, and gets the window's messages
// from then on; the messages before that go to the system's default handling.
template <typename Owner>
LRESULT CALLBACK ownedWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr || owner->handle() != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return owner->onMessage(message, wParam, lParam);
}

}  // namespace qb::win32
