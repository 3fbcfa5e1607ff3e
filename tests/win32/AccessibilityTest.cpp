#include <windows.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "LibraryFixture.h"
#include "RecordingDesktop.h"
#include "common/AccessibleNames.h"
#include "lookup/Utf8.h"
#include "platform/NotificationArea.h"
#include "platform/SpeechEngine.h"
#include "win32/AboutWindow.h"
#include "win32/HelpWindow.h"
#include "win32/MainWindow.h"

using namespace qb;
using namespace qb::win32;
using Log = std::vector<std::string>;

namespace {

// What a screen reader finds on a control through MSAA, as it asks: the object the window
// gives for its client area.
struct ReaderView {
    HWND window = nullptr;
    std::string name, value, defaultAction;
    long role = 0, state = 0;
    IAccessible* object = nullptr;  // for pressing; released with the view

    ReaderView() = default;
    ReaderView(const ReaderView&) = delete;
    ReaderView& operator=(const ReaderView&) = delete;
    ReaderView(ReaderView&& other) noexcept
        : window(other.window),
          name(std::move(other.name)),
          value(std::move(other.value)),
          defaultAction(std::move(other.defaultAction)),
          role(other.role),
          state(other.state),
          object(other.object) {
        other.object = nullptr;
    }
    ~ReaderView() {
        if (object != nullptr) object->Release();
    }
    bool pressable() const { return !defaultAction.empty() || role == ROLE_SYSTEM_PUSHBUTTON; }
};

std::string take(BSTR text) {
    if (text == nullptr) return {};
    const std::string utf8 =
        toUtf8(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
    SysFreeString(text);
    return utf8;
}

// The object a question is about: the control itself, not a part of it.
VARIANT itself() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

ReaderView readerViewOf(HWND window) {
    ReaderView view;
    view.window = window;
    EXPECT_EQ(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&view.object)),
              S_OK);
    if (view.object == nullptr) return view;
    const VARIANT self = itself();
    BSTR text = nullptr;
    view.object->get_accName(self, &text);
    view.name = take(text);
    text = nullptr;
    view.object->get_accValue(self, &text);
    view.value = take(text);
    text = nullptr;
    view.object->get_accDefaultAction(self, &text);
    view.defaultAction = take(text);
    VARIANT answer{};
    if (SUCCEEDED(view.object->get_accRole(self, &answer)) && answer.vt == VT_I4)
        view.role = answer.lVal;
    VariantClear(&answer);
    if (SUCCEEDED(view.object->get_accState(self, &answer)) && answer.vt == VT_I4)
        view.state = answer.lVal;
    VariantClear(&answer);
    return view;
}

// The controls of a window a screen reader lists, front to back: the hidden ones (labels
// that name the box after them) it passes over.
std::vector<ReaderView> readerViewsOf(HWND window) {
    std::vector<ReaderView> views;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ReaderView view = readerViewOf(child);
        if ((view.state & STATE_SYSTEM_INVISIBLE) == 0) views.push_back(std::move(view));
    }
    return views;
}

class QuietSpeech final : public platform::SpeechEngine {
  public:
    bool stop() override { return true; }
    bool say(const std::u16string&) override { return false; }
    bool hasVoice() override { return false; }
};

class NoNotificationArea final : public platform::NotificationArea {
  public:
    void notifyIcon(platform::TrayCommand, const platform::IconRecord&,
                    std::u16string_view) override {}
    bool isAvailable() override { return true; }
};

// The result box's value changes as screen readers are told of them.
std::map<HWND, int> gValueChanges;
void CALLBACK countValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                               DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) ++gValueChanges[window];
}

class Accessibility : public ::testing::Test {
  public:
    void SetUp() override {
        // As the program's start does: objects pass to a screen reader through COM.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        gValueChanges.clear();
        lib.writeLines("a.lib", {"apple=蘋果", "apple pie=蘋果派=甜點"});
        lib.fillMissingWithEmptyFiles();
        hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                               countValueChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    void TearDown() override {
        UnhookWinEvent(hook);
        CoUninitialize();
    }

    void settle() {
        for (int quiet = 0; quiet < 4;) {
            MSG message;
            bool busy = false;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                busy = true;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            quiet = busy ? 0 : quiet + 1;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    Log log;
    test::TempLibrary lib;
    test::RecordingProgram program{log};
    test::RecordingDesktop desktop{log};
    QuietSpeech speech;
    NoNotificationArea area;
    ProgramLife life;
    PictureDecoder decoder;
    HWINEVENTHOOK hook = nullptr;
};

TEST_F(Accessibility, EveryControlOfTheBookIsNamedThePicturesPressableAndTheResultReadable) {
    MainWindow main(life, program, speech, area, Library(lib.folder()));
    MainWindow::Announcements announcements;
    announcements.about = [this] { log.push_back("about"); };
    announcements.help = [this] { log.push_back("help"); };
    main.setAnnouncements(announcements);
    struct Expected {
        AccessibleText text;
        long role;
    };
    // Front to back, which is also the tab order.
    const Expected expected[] = {
        {kAccessibleResult, ROLE_SYSTEM_TEXT},
        {kAccessibleInput, ROLE_SYSTEM_TEXT},
        {kAccessibleHide, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleClose, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleAbout, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleHelp, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleSubmit, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleAdvancedSubmit, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleVoice, ROLE_SYSTEM_PUSHBUTTON},
        {kAccessibleTitle, ROLE_SYSTEM_TEXT},
    };
    const std::vector<ReaderView> views = readerViewsOf(main.handle());
    ASSERT_EQ(views.size(), std::size(expected));
    std::set<std::string> names;
    for (std::size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i) + " " + views[i].name);
        EXPECT_EQ(views[i].name, toUtf8(expected[i].text.name));
        EXPECT_EQ(views[i].role, expected[i].role);
        if (views[i].pressable()) {
            EXPECT_FALSE(views[i].name.empty());
            EXPECT_EQ(views[i].defaultAction, "Press");
        }
        names.insert(views[i].name);
    }
    EXPECT_EQ(names.size(), views.size()) << "two controls share a name";

    const ReaderView& results = views[0];
    const ReaderView& input = views[1];
    const ReaderView& title = views[9];
    EXPECT_NE(results.state & STATE_SYSTEM_READONLY, 0);
    EXPECT_EQ(results.value, "");
    // The title box reads as its text, the program's title page.
    EXPECT_NE(title.value.find("Quillbook"), std::string::npos) << title.value;

    // A lookup typed and entered, as the keyboard does it.
    SetWindowTextW(input.window, L"apple");
    PostMessageW(input.window, WM_CHAR, VK_RETURN, 1);
    settle();
    const ReaderView after = readerViewOf(results.window);
    EXPECT_NE(after.value.find("蘋果"), std::string::npos) << after.value;
    EXPECT_EQ(after.value.find("apple pie"), std::string::npos) << "only the exact word";
    EXPECT_EQ(after.name, toUtf8(kAccessibleResult.name)) << "the name is not the text";
    EXPECT_EQ(gValueChanges[results.window], 1) << "one announcement per lookup";

    // All the entries that hold the word: a second lookup, a second announcement.
    SetWindowTextW(input.window, L"apple");
    PostMessageW(views[7].window, BM_CLICK, 0, 0);
    settle();
    EXPECT_NE(readerViewOf(results.window).value.find("apple pie"), std::string::npos);
    EXPECT_EQ(gValueChanges[results.window], 2);

    // Pressed by the screen reader: the help button asks for Help.
    const VARIANT self = itself();
    log.clear();
    ASSERT_NE(views[5].object, nullptr);
    EXPECT_EQ(views[5].object->accDoDefaultAction(self), S_OK);
    settle();
    EXPECT_EQ(log, (Log{"sound", "help"}));
}

// Help and About: their buttons are push buttons named as the Qt windows name them, their
// pictures say nothing, and About's home page is a link that follows without a mouse.
TEST_F(Accessibility, TheDialogsPressableControlsAreNamedAndTheirPicturesSilent) {
    // The book's stand-in keeps the program running while the dialogs come and go.
    HWND keeper = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
    life.loaded(keeper, false);
    const std::unique_ptr<HWND, void (*)(HWND*)> ended(&keeper, [](HWND* w) { DestroyWindow(*w); });
    HelpWindow help(life, desktop.desktop(), u"C:\\");
    help.show();
    AboutWindow about(life, desktop.desktop());
    about.show();
    settle();
    struct Case {
        HWND window;
        // The pressable controls front to back, each a push button but the last one given.
        std::vector<AccessibleText> pressable;
        long lastRole;
    };
    const Case cases[] = {
        {help.window(),
         {kAccessibleSubmit, kAccessibleAdvancedSubmit, kAccessibleVoice,
          kAccessibleHelpDownloadSpeech, kAccessibleHelpDownloadVoice},
         ROLE_SYSTEM_PUSHBUTTON},
        {about.window(),
         {kAccessibleAboutExit, kAccessibleAboutSystemInfo, kAccessibleAboutHomePage},
         ROLE_SYSTEM_LINK},
    };
    IAccessible* link = nullptr;
    for (const Case& c : cases) {
        ASSERT_NE(c.window, nullptr);
        std::vector<std::string> names, expected;
        for (const AccessibleText& text : c.pressable) expected.push_back(toUtf8(text.name));
        int pictures = 0;
        for (const ReaderView& view : readerViewsOf(c.window)) {
            if ((GetWindowLongPtrW(view.window, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP &&
                view.role != ROLE_SYSTEM_PUSHBUTTON) {
                ++pictures;
                EXPECT_EQ(view.name, "") << "a picture that speaks";
            }
            if (!view.pressable()) continue;
            names.push_back(view.name);
            SCOPED_TRACE(view.name);
            EXPECT_EQ(view.role,
                      names.size() == expected.size() ? c.lastRole : ROLE_SYSTEM_PUSHBUTTON);
            if (view.role == ROLE_SYSTEM_LINK) {
                link = view.object;
                link->AddRef();
            }
        }
        EXPECT_EQ(names, expected);
        EXPECT_GT(pictures, 0);
    }
    ASSERT_NE(link, nullptr) << "no link in About";
    log.clear();
    EXPECT_EQ(link->accDoDefaultAction(itself()), S_OK);
    link->Release();
    settle();
    EXPECT_EQ(log, (Log{"open https://quillbook.example.org/"}));
}

}  // namespace
