#pragma once

#include <windows.h>

#include <functional>

#include "platform/NotificationArea.h"
#include "tray/Tray.h"
#include "tray/TrayBehaviour.h"
#include "win32/ProgramLife.h"

namespace qb::win32 {

// The window that owns the program's icon in the notification area and its menu. The user
// never sees it. It draws nothing; what it does is TrayBehaviour's.
class TrayWindow final : private TrayView {
  public:
    // What the window announces, for the program to answer.
    struct Announcements {
        std::function<void()> showMain, hideMain, focusMainInput, quit;
    };

    TrayWindow(ProgramLife& life, ProgramCalls& program, Tray& tray,
               platform::NotificationArea& area);
    ~TrayWindow() override;
    TrayWindow(const TrayWindow&) = delete;
    TrayWindow& operator=(const TrayWindow&) = delete;

    void setAnnouncements(Announcements announcements) {
        announcements_ = std::move(announcements);
    }
    TrayBehaviour& behaviour() { return behaviour_; }
    HWND handle() const { return window_; }
    // Takes the icon out of the notification area and ends the window.
    void unload();

    // The window's messages (WindowProcedure.h).
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void addIconAgain();

    // TrayView
    std::uint32_t iconOwnerHandle() override;
    std::uint32_t programIconHandle() override;
    void hideThisWindow() override { ShowWindow(window_, SW_HIDE); }
    void setForeground() override { SetForegroundWindow(window_); }
    void popUpMenu() override;
    void showMainWindow() override { announce(announcements_.showMain); }
    void hideMainWindow() override { announce(announcements_.hideMain); }
    void focusMainInput() override { announce(announcements_.focusMainInput); }
    void quitConfirmed() override { announce(announcements_.quit); }
    static void announce(const std::function<void()>& action) {
        if (action) action();
    }

    ProgramLife& life_;
    platform::NotificationArea& area_;
    TrayBehaviour behaviour_;
    Announcements announcements_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    HMENU menu_ = nullptr;
    // Sent to every top-level window when the notification area's host (re)starts.
    UINT taskbarCreated_ = 0;
};

}  // namespace qb::win32
