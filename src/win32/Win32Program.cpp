#include "win32/Win32Program.h"

#include "platform/Desktop.h"
#include "win32/MessageBox.h"

namespace qb::win32 {

void Win32Program::SetTopmost(bool on) {
    topmost_ = on;
    if (mainWindow_ == nullptr || !IsWindow(mainWindow_)) return;
    SetWindowPos(mainWindow_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32Program::confirmQuit() {
    HWND owner = mainWindow_ != nullptr && IsWindowVisible(mainWindow_) ? mainWindow_ : nullptr;
    const int answer = showMessageBox(owner, kQuitQuestionText, platform::kYesNoQuestion);
    PlayClickSound();
    return answer == platform::kAnswerYes;
}

}  // namespace qb::win32
