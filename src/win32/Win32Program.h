#pragma once

#include <windows.h>

#include <string>

#include "common/ProgramCalls.h"
#include "platform/windows/Win32SoundPlayer.h"

namespace qb::win32 {

// What the windows' behaviours do through the program as a whole, on Windows: the click sound
// beside the program, the main window's placement band, the quit question.
class Win32Program final : public ProgramCalls {
  public:
    Win32Program(platform::Win32SoundPlayer& sound, std::u16string programFolder)
        : sound_(sound), clickSound_(std::move(programFolder) + u"\\flip.wav") {}

    // The window that SetTopmost acts on, whoever calls it, and that the quit question opens
    // over while it is on screen.
    void setMainWindow(HWND window) { mainWindow_ = window; }

    void PlayClickSound() override { sound_.playAsync(clickSound_); }
    void SetTopmost(bool on) override;
    // Puts the main window into the band last asked for: a hidden window is not always put
    // there (Wine leaves it out), so the window's showing asks again.
    void mainWindowShown() { SetTopmost(topmost_); }
    bool confirmQuit() override;

  private:
    platform::Win32SoundPlayer& sound_;
    // Plain concatenation, as every file beside the program is named.
    std::u16string clickSound_;
    HWND mainWindow_ = nullptr;
    bool topmost_ = false;
};

}  // namespace qb::win32
