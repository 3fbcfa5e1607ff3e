#include <gtest/gtest.h>

#include "RecordingDesktop.h"
#include "tray/TrayBehaviour.h"

using namespace qb;
using Log = std::vector<std::string>;

namespace {

constexpr std::uint32_t kOwner = 0x101;
constexpr std::uint32_t kIcon = 0x102;

class RecordingTray final : public TrayView, public platform::NotificationArea {
  public:
    explicit RecordingTray(Log& sharedLog) : log(sharedLog) {}

    std::uint32_t iconOwnerHandle() override { return kOwner; }
    std::uint32_t programIconHandle() override { return kIcon; }
    void hideThisWindow() override { log.push_back("hide tray window"); }
    void setForeground() override { log.push_back("foreground"); }
    void popUpMenu() override {
        log.push_back("menu");
        if (menuChoice) menuChoice(*behaviour);
    }
    void showMainWindow() override { log.push_back("show main"); }
    void hideMainWindow() override { log.push_back("hide main"); }
    void focusMainInput() override { log.push_back("focus input"); }
    void quitConfirmed() override { log.push_back("quit"); }

    void notifyIcon(platform::TrayCommand command, const platform::IconRecord& record,
                    std::u16string_view) override {
        namespace rec = platform::iconRecord;
        log.push_back((command == platform::TrayCommand::Add ? "icon add " : "icon delete ") +
                      std::to_string(rec::get(record, rec::kIdentifier)));
        if (command == platform::TrayCommand::Add) {
            EXPECT_EQ(rec::get(record, rec::kOwnerWindow), kOwner);
            EXPECT_EQ(rec::get(record, rec::kIcon), kIcon);
            EXPECT_EQ(rec::get(record, rec::kCallbackMessage), 0x200u);
        }
    }
    bool isAvailable() override { return true; }

    Log& log;
    TrayBehaviour* behaviour = nullptr;
    void (*menuChoice)(TrayBehaviour&) = nullptr;
};

struct TrayWindow {
    Log log;
    RecordingTray view{log};
    test::RecordingProgram program{log};
    Tray tray{view};
    TrayBehaviour behaviour{view, program, tray};
    TrayWindow() { view.behaviour = &behaviour; }
};

// The icon's mouse message as the picture box reports it: in the place of X, in twips.
float asX(std::uint32_t mouseMessage) {
    return static_cast<float>(mouseMessage) * 15.0f;
}

const Log kShownFromIcon{"show main", "topmost on", "sound", "focus input"};
const Log kMenu{"foreground", "menu"};

}  // namespace

TEST(TrayBehaviour, TheIconsMouseMessagesShowTheBookOrTheMenu) {
    struct Case {
        const char* name;
        float x;
        int scaleMode;
        Log log;
    };
    const Case cases[] = {
        {"double click", asX(0x203), 1, kShownFromIcon},
        {"right button down", asX(0x204), 1, kMenu},
        {"move", asX(0x200), 1, {}},
        {"left down", asX(0x201), 1, {}},
        {"left up", asX(0x202), 1, {}},
        {"right up", asX(0x205), 1, {}},
        {"middle down", asX(0x207), 1, {}},
        {"nothing", 0, 1, {}},
        {"no message", asX(0xFFFF), 1, {}},
        // The twips are rounded to whole pixels, halves to the even one.
        {"half a pixel below, to the even", 515.5f * 15, 1, kMenu},
        {"just under half above", 516.49f * 15, 1, kMenu},
        {"half above, to the even", 516.5f * 15, 1, kMenu},
        {"half below the one before, to the even", 514.5f * 15, 1, {}},
        {"the one after", 517 * 15.0f, 1, {}},
        // In pixels the value is not computed at all.
        {"scale in pixels", asX(0x204), 3, {}},
        {"scale in pixels, double click", asX(0x203), 3, {}},
    };
    for (const Case& c : cases) {
        TrayWindow w;
        w.behaviour.ScaleMode = c.scaleMode;
        w.behaviour.picture_tray_MouseMove(0, 0, c.x, 0);
        EXPECT_EQ(w.log, c.log) << c.name;
    }
}

TEST(TrayBehaviour, TheMenuShowsOrQuits) {
    struct Case {
        const char* name;
        void (*choice)(TrayBehaviour&);
        bool yes;
        Log log;
    };
    const auto show = [](TrayBehaviour& b) { b.menu_show_Click(); };
    const auto quit = [](TrayBehaviour& b) { b.menu_quit_Click(); };
    const Case cases[] = {
        {"dismissed", nullptr, false, kMenu},
        {"show: in the band first, then shown",
         show,
         false,
         {"foreground", "menu", "topmost on", "sound", "show main", "focus input"}},
        {"quit, answered No", quit, false, {"foreground", "menu", "quit question", "sound"}},
        {"quit, answered Yes",
         quit,
         true,
         {"foreground", "menu", "quit question", "sound", "quit"}},
    };
    for (const Case& c : cases) {
        TrayWindow w;
        w.view.menuChoice = c.choice;
        w.program.quitAnswer = c.yes;
        w.behaviour.picture_tray_MouseMove(0, 0, asX(0x204), 0);
        EXPECT_EQ(w.log, c.log) << c.name;
    }
}

TEST(TrayBehaviour, OneIconForTheWholeRun) {
    TrayWindow w;
    for (int i = 0; i < 3; ++i) w.behaviour.command_tray_Click();
    EXPECT_EQ(w.log, (Log{"icon add 1", "hide tray window", "hide main", "hide tray window",
                          "hide main", "hide tray window", "hide main"}));
    EXPECT_EQ(w.behaviour.TrayID, 1);
    w.log.clear();
    w.behaviour.Form_Unload();
    w.behaviour.Form_Unload();
    EXPECT_EQ(w.log, Log{"icon delete 1"});
    EXPECT_EQ(w.behaviour.TrayID, 0);
}

TEST(TrayBehaviour, UnloadingBeforeAnyIconRemovesNothing) {
    TrayWindow w;
    w.behaviour.Form_Unload();
    EXPECT_EQ(w.log, Log{});
}
