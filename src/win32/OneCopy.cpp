#include "win32/OneCopy.h"

namespace qb::win32 {
namespace {

// The running copy's tray window, which lives from its start-up to its end (TrayWindow.cpp).
constexpr wchar_t kTrayWindowClass[] = L"QuillbookTray";
// A copy that is still starting has its tray window a moment later.
constexpr int kTries = 40;
constexpr DWORD kTryPause = 50;

}  // namespace

OneCopy::OneCopy() {
    mutex_ = CreateMutexW(nullptr, FALSE, L"Local\\Quillbook.OneCopy");
    another_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

OneCopy::~OneCopy() {
    if (mutex_ != nullptr) CloseHandle(mutex_);
}

UINT OneCopy::comeForwardMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quillbook.ComeForward");
    return message;
}

bool OneCopy::handedOver() const {
    if (!another_) return false;
    for (int i = 0; i < kTries; ++i) {
        if (HWND running = FindWindowW(kTrayWindowClass, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            // The running copy may then take the foreground, which this start was given.
            AllowSetForegroundWindow(process);
            return PostMessageW(running, comeForwardMessage(), 0, 0) != FALSE;
        }
        Sleep(kTryPause);
    }
    // No tray window: the other copy is ending. This one starts in its place.
    return false;
}

}  // namespace qb::win32
