#pragma once

#include <windows.h>

#include <string>

#include "platform/Desktop.h"
#include "speech/HelpBehaviour.h"
#include "win32/DialogFrame.h"
#include "win32/Fonts.h"
#include "win32/Pictures.h"
#include "win32/ProgramLife.h"

namespace qb::win32 {

// One page that explains the main window's buttons and the tray icon, each beside a picture
// of it, and starts the two speech installers that ship beside the program. It draws; what it
// does is HelpBehaviour's.
class HelpWindow final : private WindowView, private DialogMessages {
  public:
    HelpWindow(ProgramLife& life, platform::Desktop desktop, std::u16string programFolder);
    ~HelpWindow() override;
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    // Loads the window where it is not loaded, else brings the open one forward.
    void show();
    // The window while it is loaded, else null.
    HWND window() const { return frame_.window(); }

  private:
    void createControls(HWND window, int dpi);

    std::optional<LRESULT> answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc) const override;

    // WindowView
    int MsgBox(std::u16string_view text, int style) override;
    void unload() override;

    ProgramLife& life_;
    HelpBehaviour behaviour_;
    DialogFrame frame_;
    int dpi_ = 96;
    Font font_;
    // The pictures of the main window's three buttons, drawn on their copies here.
    Picture buttonPictures_[3];
};

}  // namespace qb::win32
