#include <gtest/gtest.h>

#include "RecordingDesktop.h"
#include "tray/TrayBehaviour.h"
#include "win32/TrayMessage.h"

using namespace qb;
using Log = std::vector<std::string>;

namespace {

class RecordingTray final : public TrayView, public platform::NotificationArea {
  public:
    explicit RecordingTray(Log& sharedLog) : log(sharedLog) {}
    std::uint32_t iconOwnerHandle() override { return 1; }
    std::uint32_t programIconHandle() override { return 2; }
    void hideThisWindow() override {}
    void setForeground() override { log.push_back("foreground"); }
    void popUpMenu() override { log.push_back("menu"); }
    void showMainWindow() override { log.push_back("show main"); }
    void hideMainWindow() override {}
    void focusMainInput() override { log.push_back("focus input"); }
    void quitConfirmed() override {}
    void notifyIcon(platform::TrayCommand, const platform::IconRecord&,
                    std::u16string_view) override {}
    bool isAvailable() override { return true; }
    Log& log;
};

}  // namespace

// The icon's callback as the shell sends it, through the tray window's decoding, to what the
// user sees.
TEST(TrayMessage, TheShellsMouseMessagesReachTheTrayWindowsBehaviour) {
    const Log shown{"show main", "topmost on", "sound", "focus input"};
    const Log menu{"foreground", "menu"};
    struct Case {
        const char* name;
        LPARAM lParam;
        Log log;
    };
    const Case cases[] = {
        {"double click", 0x203, shown},
        {"right button down", 0x204, menu},
        // Shells of the later record versions put the icon's identifier above the message.
        {"double click with the identifier above", MAKELPARAM(0x203, 1), shown},
        {"right button up", 0x205, {}},
        {"left button down", 0x201, {}},
        {"move", 0x200, {}},
    };
    for (const Case& c : cases) {
        Log log;
        RecordingTray view(log);
        test::RecordingProgram program(log);
        Tray tray(view);
        TrayBehaviour behaviour(view, program, tray);
        behaviour.picture_tray_MouseMove(0, 0, win32::trayMouseX(c.lParam), 0.0f);
        EXPECT_EQ(log, c.log) << c.name;
    }
}
