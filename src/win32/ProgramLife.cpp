#include "win32/ProgramLife.h"

#include <algorithm>

namespace qb::win32 {

void ProgramLife::loaded(HWND window, bool keysAsDialog) {
    if (!isLoaded(window)) windows_.push_back({window, keysAsDialog});
}

void ProgramLife::unloaded(HWND window) {
    const auto before = windows_.size();
    std::erase_if(windows_, [window](const Loaded& w) { return w.window == window; });
    if (before != windows_.size() && windows_.empty()) PostQuitMessage(0);
}

bool ProgramLife::isLoaded(HWND window) const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [window](const Loaded& w) { return w.window == window; });
}

int ProgramLife::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (takenAsDialogKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool ProgramLife::takenAsDialogKey(MSG& message) const {
    return std::any_of(windows_.begin(), windows_.end(), [&message](const Loaded& w) {
        return w.keysAsDialog && IsDialogMessageW(w.window, &message);
    });
}

}  // namespace qb::win32
