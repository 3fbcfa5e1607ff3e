#include <gtest/gtest.h>

#include "RecordingDesktop.h"
#include "about/AboutBehaviour.h"
#include "about/SysInfo.h"
#include "common/KeyCodes.h"
#include "lookup/Utf8.h"

using namespace qb;

namespace {

class RecordingAbout final : public test::RecordingWindow<AboutView> {
  public:
    using RecordingWindow::RecordingWindow;
    void setCaption(std::u16string_view text) override { log.push_back("caption " + toUtf8(text)); }
    void setTitle(std::u16string_view text) override { log.push_back("title " + toUtf8(text)); }
    void setDisclaimer(std::u16string_view text) override {
        log.push_back("disclaimer " + toUtf8(text));
    }
    void showLinkBorder(bool shown) override { log.push_back(shown ? "border on" : "border off"); }
};

struct AboutWindow {
    std::vector<std::string> log;
    RecordingAbout view{log};
    test::RecordingDesktop desktop{log};
    AboutBehaviour about{view, desktop.desktop()};
};

const std::string kMessage = "message 0 " + toUtf8(kNoSystemInformation);

}  // namespace

TEST(AboutBehaviour, LoadShowsTheTitlesAndTheLicence) {
    AboutWindow w;
    w.about.Form_Load();
    ASSERT_EQ(w.log.size(), 3u);
    EXPECT_EQ(w.log[0], "caption About Quillbook");
    EXPECT_EQ(w.log[1], "title Quillbook");
    EXPECT_NE(w.log[2].find("CC-CEDICT"), std::string::npos) << w.log[2];
    EXPECT_NE(w.log[2].find("CC BY-SA 4.0"), std::string::npos) << w.log[2];
}

// Every event the window forwards, alone or in a row, and what the user meets.
TEST(AboutBehaviour, EventsDoWhatTheWindowPromises) {
    using Event = void (*)(AboutBehaviour&);
    const Event exitClick = [](AboutBehaviour& a) { a.cmdOK_Click(); };
    const Event systemClick = [](AboutBehaviour& a) { a.cmdSysInfo_Click(); };
    const Event overLink = [](AboutBehaviour& a) { a.Label3_MouseMove(); };
    const Event overWindow = [](AboutBehaviour& a) { a.Form_MouseMove(); };
    const Event linkClick = [](AboutBehaviour& a) { a.Label3_Click(); };
    struct Case {
        const char* name;
        std::vector<Event> events;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"Exit unloads the window", {exitClick}, {"unload"}},
        {"System without a tool says so over About", {systemClick}, {kMessage}},
        {"the link's border follows the pointer",
         {overLink, overWindow, overLink},
         {"border on", "border off", "border on"}},
        {"a click on the link opens the home page",
         {linkClick},
         {"open https://quillbook.example.org/"}},
    };
    for (const Case& c : cases) {
        AboutWindow w;
        for (Event event : c.events) event(w.about);
        EXPECT_EQ(w.log, c.log) << c.name;
    }
}

TEST(AboutBehaviour, OnlyAPlainEscapeExits) {
    struct Case {
        int key;
        int shift;
        bool answered;
    };
    const Case cases[] = {
        {kVirtualKeyEscape, 0, true},
        {kVirtualKeyEscape, kShiftMask, false},
        {kVirtualKeyEscape, kCtrlMask, false},
        {kVirtualKeyEscape, kAltMask, false},
        // Enter and the access keys are the focused button's and the dialog's own.
        {kVirtualKeyReturn, 0, false},
        {'S', kAltMask, false},
        {0, 0, false},
    };
    for (const Case& c : cases) {
        AboutWindow w;
        EXPECT_EQ(w.about.Form_KeyDown(c.key, c.shift), c.answered) << c.key << " " << c.shift;
        EXPECT_EQ(w.log,
                  c.answered ? std::vector<std::string>{"unload"} : std::vector<std::string>{})
            << c.key << " " << c.shift;
    }
}

TEST(AboutBehaviour, SystemStartsTheToolTheRegistryNames) {
    AboutWindow w;
    const std::u16string tool = u"C:\\Tools\\msinfo32.exe";
    w.desktop.registry.set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                           {platform::kValueText, std::string("C:\\Tools\\msinfo32.exe") + '\0'});
    w.desktop.startable = {tool};
    w.about.cmdSysInfo_Click();
    EXPECT_EQ(w.log, std::vector<std::string>{"start C:\\Tools\\msinfo32.exe"});
}
