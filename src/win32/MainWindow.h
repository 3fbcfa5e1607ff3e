#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "lookup/Library.h"
#include "mainwin/MainBehaviour.h"
#include "platform/NotificationArea.h"
#include "win32/Fonts.h"
#include "win32/PictureButton.h"
#include "win32/Pictures.h"
#include "win32/ProgramLife.h"
#include "win32/ResultBox.h"

namespace qb::win32 {

// The book-shaped main window: the left page holds the title, the input box and the buttons,
// the right page the results. It draws; what it does is MainBehaviour's. The window itself is
// the skin box: it paints the skin and is a handle to drag the book by.
class MainWindow final : private MainView {
  public:
    // What the window announces, for the program to answer.
    struct Announcements {
        std::function<void()> trayHandOver, hideToTray, quit, about, help;
        // The window has come on screen.
        std::function<void()> shown;
    };

    MainWindow(ProgramLife& life, ProgramCalls& program, platform::SpeechEngine& speech,
               platform::NotificationArea& area, Library library);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void setAnnouncements(Announcements announcements) {
        announcements_ = std::move(announcements);
    }
    MainBehaviour& behaviour() { return behaviour_; }
    HWND handle() const { return window_; }

    // Shows the window in front, un-minimised; a taskbar button that minimising gave it goes.
    void showRestored();
    void hide();
    void focusInput() override;
    void unload() override;

    // The window's messages (WindowProcedure.h).
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    LRESULT handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // Pictures, fonts and places for a screen of `dpi`.
    void layOut(int dpi);
    void fitWindowToSkin();
    void clicked(int id);
    void setTaskbarButton(bool shown);
    PictureButton* buttonOf(int id);

    // MainView
    int MsgBox(std::u16string_view text, int style) override;
    std::u16string inputText() override;
    void setInputText(std::u16string_view text) override;
    void setOutputText(std::u16string_view text) override;
    void fitToSkin() override;
    void showWindow() override;
    void comeForward() override {
        showRestored();
        focusInput();
    }
    bool notificationAreaExists() override { return area_.isAvailable(); }
    void minimizeToTaskbar() override;
    void beginMove(int Button) override;
    void announceTrayHandOver() override { announce(announcements_.trayHandOver); }
    void announceHideToTray() override { announce(announcements_.hideToTray); }
    void announceQuit() override { announce(announcements_.quit); }
    void announceAbout() override { announce(announcements_.about); }
    void announceHelp() override { announce(announcements_.help); }
    static void announce(const std::function<void()>& action) {
        if (action) action();
    }

    ProgramLife& life_;
    platform::NotificationArea& area_;
    MainBehaviour behaviour_;
    Announcements announcements_;

    HWND window_ = nullptr;
    ResultBox Text_Output;
    HWND Text_Input = nullptr;
    HWND Text1 = nullptr;
    PictureButton Command_Min, Command_Close, Cmd_About, Cmd_Help;
    PictureButton Command_Submit, Command_AdvanSubmit, Cmd_Voice;

    HWND voiceTip_ = nullptr;
    std::wstring voiceTipText_;
    bool hovering_ = false;  // the pointer over the speak button

    int dpi_ = 96;
    bool fitted_ = false;  // sized to the skin and cut to its outline
    bool inTaskbar_ = false;
    Picture skin_;
    Font textBoxFont_, captionFont_;
    HBRUSH boxBrush_ = nullptr;
    HBRUSH windowBrush_ = nullptr;
};

}  // namespace qb::win32
