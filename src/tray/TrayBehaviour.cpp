#include "tray/TrayBehaviour.h"

#include <cmath>

#include "common/TwipsPerPixel.h"

namespace qb {
namespace {

constexpr float kTwipsPerPixelX = kTwipsPerPixel;

}  // namespace

void TrayBehaviour::command_tray_Click() {
    if (TrayID == 0)
        TrayID = tray_.AddTrayIcon(view_.iconOwnerHandle(), kTrayCallback,
                                   view_.programIconHandle(), std::u16string(kTrayTip));
    view_.hideThisWindow();
    view_.hideMainWindow();
}

void TrayBehaviour::picture_tray_MouseMove(int, int, float X, float) {
    int value = 0;
    if (ScaleMode == 1) value = static_cast<int>(std::nearbyint(X / kTwipsPerPixelX));
    if (value == static_cast<int>(platform::TrayMouse::LeftDouble)) {
        view_.showMainWindow();
        program_.SetTopmost(true);
        program_.PlayClickSound();
        view_.focusMainInput();
    } else if (value == static_cast<int>(platform::TrayMouse::RightDown)) {
        view_.setForeground();
        view_.popUpMenu();
    }
}

void TrayBehaviour::menu_show_Click() {
    program_.SetTopmost(true);
    program_.PlayClickSound();
    view_.showMainWindow();
    view_.focusMainInput();
}

void TrayBehaviour::menu_quit_Click() {
    if (program_.confirmQuit()) view_.quitConfirmed();
}

void TrayBehaviour::Form_Unload() {
    if (TrayID != 0) {
        tray_.RemoveTrayIcon(TrayID);
        TrayID = 0;
    }
}

}  // namespace qb
