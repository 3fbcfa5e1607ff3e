#include <gtest/gtest.h>

#include "RecordingDesktop.h"
#include "platform/ProgramFolder.h"
#include "speech/HelpBehaviour.h"

using namespace qb;
using Log = std::vector<std::string>;

namespace {

// The expected names write "|" where the system's folder separator goes.
template <typename Text>
Text withSeparator(Text text) {
    for (auto& c : text)
        if (c == '|') c = static_cast<typename Text::value_type>(platform::kFolderSeparator);
    return text;
}

struct HelpWindow final : test::RecordingWindow<WindowView> {
    using RecordingWindow::RecordingWindow;
};

}  // namespace

TEST(HelpBehaviour, TheButtonsStartTheInstallersBesideTheProgram) {
    using Event = void (*)(HelpBehaviour&);
    const Event first = [](HelpBehaviour& h) { h.Command1_Click(); };
    const Event second = [](HelpBehaviour& h) { h.Command2_Click(); };
    const Event closeBox = [](HelpBehaviour& h) { h.closeBox_Click(); };
    struct Case {
        const char* name;
        std::u16string folder;
        std::set<std::u16string> startable;
        std::vector<Event> events;
        Log log;
    };
    const Case cases[] = {
        {"the first installer",
         u"/opt/qb",
         {u"/opt/qb|spchapi.exe"},
         {first},
         {"start /opt/qb|spchapi.exe"}},
        {"the second installer",
         u"/opt/qb",
         {u"/opt/qb|msttsl.exe"},
         {second},
         {"start /opt/qb|msttsl.exe"}},
        // A failure is the installer's matter: no message, and the next click tries again.
        {"missing installers are silent",
         u"/opt/qb",
         {},
         {first, second, first},
         {"start /opt/qb|spchapi.exe", "start /opt/qb|msttsl.exe", "start /opt/qb|spchapi.exe"}},
        {"joined as the folder is written",
         u"/opt/qb/",
         {},
         {first},
         {"start /opt/qb/|spchapi.exe"}},
        {"a folder in Chinese", u"/opt/字典", {}, {second}, {"start /opt/字典|msttsl.exe"}},
        {"the close box unloads it", u"/opt/qb", {}, {closeBox}, {"unload"}},
    };
    for (const Case& c : cases) {
        Log log;
        HelpWindow view(log);
        test::RecordingDesktop desktop(log);
        for (const std::u16string& name : c.startable)
            desktop.startable.insert(withSeparator(name));
        HelpBehaviour help(view, desktop.desktop(), c.folder);
        for (Event event : c.events) event(help);
        Log expected;
        for (const std::string& line : c.log) expected.push_back(withSeparator(line));
        EXPECT_EQ(log, expected) << c.name;
    }
}
