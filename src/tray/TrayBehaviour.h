#pragma once

#include <cstdint>
#include <string_view>

#include "common/ProgramCalls.h"
#include "tray/Tray.h"

namespace qb {

// What the tray window asks of the window that draws it. What it asks of the main window it
// announces; the program wires the answer.
class TrayView {
  public:
    virtual ~TrayView() = default;
    // The handles the icon's record carries: the window that receives the icon's mouse
    // messages, and the program's icon.
    virtual std::uint32_t iconOwnerHandle() = 0;
    virtual std::uint32_t programIconHandle() = 0;
    virtual void hideThisWindow() = 0;
    // Brings the program to the foreground so that its menu closes when the user clicks
    // elsewhere; then the icon's menu at the pointer, returning once it is dismissed, after
    // the chosen entry, if any, has run.
    virtual void setForeground() = 0;
    virtual void popUpMenu() = 0;

    virtual void showMainWindow() = 0;
    virtual void hideMainWindow() = 0;
    // Keyboard focus into the main window's input box.
    virtual void focusMainInput() = 0;
    // The user answered Yes to the quit question.
    virtual void quitConfirmed() = 0;
};

// What the tray window does, whoever draws it: it owns the program's icon in the
// notification area, reads the icon's mouse messages, and runs the icon's menu.
class TrayBehaviour final {
  public:
    TrayBehaviour(TrayView& view, ProgramCalls& program, Tray& tray)
        : view_(view), program_(program), tray_(tray) {}

    // Adds the icon if it is not there yet, then hides this window and the main window.
    void command_tray_Click();
    // The icon's mouse activity, as a mouse move whose X, in twips, carries the mouse
    // message number.
    void picture_tray_MouseMove(int Button, int Shift, float X, float Y);
    void menu_show_Click();
    void menu_quit_Click();
    // The window's unloading: the icon leaves the notification area.
    void Form_Unload();

    std::int32_t TrayID = 0;
    int ScaleMode = 1;  // twips, as the window was designed; the message decoding relies on it

  private:
    TrayView& view_;
    ProgramCalls& program_;
    Tray& tray_;
};

// The icon's tip.
inline constexpr std::u16string_view kTrayTip = u"羽筆字典";

// The callback message the icon asks for: the mouse-move message, so that the mouse message
// number arrives in the place of the x coordinate.
inline constexpr auto kTrayCallback = static_cast<std::uint32_t>(platform::TrayMouse::Move);

}  // namespace qb
