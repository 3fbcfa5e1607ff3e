#pragma once

#include <windows.h>

#include "about/AboutBehaviour.h"
#include "platform/Desktop.h"
#include "win32/DialogFrame.h"
#include "win32/Fonts.h"
#include "win32/ProgramLife.h"

namespace qb::win32 {

// The About window: the program's name, version, credits and disclaimer, a link to the home
// page, and a button that starts the system's information program. It draws; what it does is
// AboutBehaviour's. Exit unloads it, and the next show() loads it afresh.
class AboutWindow final : private AboutView, private DialogMessages {
  public:
    AboutWindow(ProgramLife& life, platform::Desktop desktop);
    ~AboutWindow() override;
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Loads the window where it is not loaded, else brings the open one forward.
    void show();
    // The window while it is loaded, else null.
    HWND window() const { return frame_.window(); }

  private:
    void createControls(HWND window, int dpi);

    std::optional<LRESULT> answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc) const override;
    static LRESULT CALLBACK linkMessages(HWND link, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);

    // AboutView
    int MsgBox(std::u16string_view text, int style) override;
    void unload() override;
    void setCaption(std::u16string_view text) override;
    void setTitle(std::u16string_view text) override;
    void setDisclaimer(std::u16string_view text) override;
    void showLinkBorder(bool shown) override;

    ProgramLife& life_;
    AboutBehaviour behaviour_;
    DialogFrame frame_;
    int dpi_ = 96;
    Font small_, title_, link_, warning_;
    HWND lblTitle_ = nullptr;
    HWND Label3_ = nullptr;
    HWND label_warning_ = nullptr;
};

}  // namespace qb::win32
