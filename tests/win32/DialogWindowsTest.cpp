#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "RecordingDesktop.h"
#include "about/SysInfo.h"
#include "lookup/Utf8.h"
#include "speech/HelpTexts.h"
#include "win32/AboutWindow.h"
#include "win32/HelpWindow.h"

using namespace qb;
using namespace qb::win32;
using namespace std::string_literals;
using Log = std::vector<std::string>;

namespace {

std::string textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return toUtf8(reinterpret_cast<const char16_t*>(text));
}

// A box runs a loop of its own: a timer answers it from inside, OK, and keeps its text.
Log gBoxes;
void CALLBACK answerBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", L"Quillbook");
    if (box == nullptr) return;
    gBoxes.push_back(textOf(GetDlgItem(box, 0xFFFF)));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// The controls of a window by their texts, as the user finds them.
std::map<std::string, HWND> controlsOf(HWND window) {
    std::map<std::string, HWND> found;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        found[textOf(child)] = child;
    return found;
}

POINT scaled(POINT at, int dpi) {
    return {MulDiv(at.x, dpi, 96), MulDiv(at.y, dpi, 96)};
}

class DialogWindows : public ::testing::Test {
  public:
    void SetUp() override {
        gBoxes.clear();
        // The main window keeps the program running while the dialogs come and go.
        mainWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     nullptr, nullptr);
        life.loaded(mainWindow, false);
        boxTimer = SetTimer(nullptr, 0, 50, answerBox);
        dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    }
    void TearDown() override {
        KillTimer(nullptr, boxTimer);
        DestroyWindow(mainWindow);
    }

    // Runs what comes, through the program's own dialog keys, until nothing more does.
    void settle() {
        for (int quiet = 0; quiet < 4;) {
            MSG message;
            bool busy = false;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                busy = busy || message.message != WM_TIMER;
                if (life.takenAsDialogKey(message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            quiet = busy ? 0 : quiet + 1;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    // A key as the keyboard gives it to the focused control.
    void key(WPARAM code, bool alt = false) {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        const LPARAM context = alt ? (1 << 29) : 0;
        PostMessageW(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, code, context | 1);
        PostMessageW(focus, alt ? WM_SYSKEYUP : WM_KEYUP, code, context | (3u << 30) | 1);
        settle();
    }
    // The pointer to a point of `window`'s client area, or of the screen when there is no
    // window, in pixels at 96 dpi.
    void pointTo(HWND window, POINT at, DWORD buttons = 0) {
        POINT screen = scaled(at, dpi);
        if (window != nullptr) ClientToScreen(window, &screen);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(input));
        for (DWORD button : {buttons & MOUSEEVENTF_LEFTDOWN, buttons & MOUSEEVENTF_LEFTUP}) {
            if (button == 0) continue;
            input.mi.dwFlags = button;
            SendInput(1, &input, sizeof(input));
        }
        settle();
    }
    // The colour the window shows at a point of its client area, in pixels at 96 dpi.
    COLORREF colourAt(HWND window, POINT at) {
        UpdateWindow(window);
        const POINT point = scaled(at, dpi);
        HDC dc = GetDC(window);
        const COLORREF colour = GetPixel(dc, point.x, point.y);
        ReleaseDC(window, dc);
        return colour;
    }
    bool loaded(HWND window) { return life.isLoaded(window) && IsWindowVisible(window); }

    Log log;
    test::RecordingDesktop desktop{log};
    ProgramLife life;
    PictureDecoder decoder;
    HWND mainWindow = nullptr;
    UINT_PTR boxTimer = 0;
    int dpi = 96;
};

const std::string kNoTool = toUtf8(kNoSystemInformation);
const std::string kLink = "quillbook.example.org";

TEST_F(DialogWindows, AboutLoadsAtItsPlaceWithItsTextsOnceAndAfreshAfterExit) {
    AboutWindow about(life, desktop.desktop());
    about.show();
    settle();
    HWND window = about.window();
    ASSERT_TRUE(loaded(window));
    EXPECT_EQ(textOf(window), "About Quillbook");
    auto controls = controlsOf(window);
    for (const std::string text : {"Quillbook", "Ver: 1.1", "Requirement:  Win 98 / Me / 2000 / XP",
                                   "Warining:", "Exit", "System(&S)...", kLink.c_str()})
        EXPECT_TRUE(controls.contains(text)) << text;
    EXPECT_TRUE(std::any_of(controls.begin(), controls.end(), [](const auto& control) {
        return control.first.find("CC BY-SA 4.0") != std::string::npos;
    }));
    EXPECT_EQ(GetFocus(), controls["Exit"]);
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const POINT size = scaled({326, 236}, dpi);
    EXPECT_EQ(client.right, size.x);
    EXPECT_EQ(client.bottom, size.y);
    const POINT place = scaled({156, 129}, dpi);
    EXPECT_EQ(origin.x, place.x);
    EXPECT_EQ(origin.y, place.y);
    EXPECT_EQ(colourAt(window, {200, 163}), RGB(128, 128, 128));  // the etched separator
    EXPECT_EQ(colourAt(window, {200, 165}), RGB(255, 255, 255));
    // No taskbar button, yet a dialog's frame: owned by a window never shown.
    HWND owner = GetWindow(window, GW_OWNER);
    EXPECT_TRUE(owner != nullptr && !IsWindowVisible(owner));
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW), 0);
    EXPECT_EQ(
        GetWindowLongPtrW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
        0);

    ShowWindow(window, SW_MINIMIZE);
    about.show();
    settle();
    EXPECT_EQ(about.window(), window);
    EXPECT_FALSE(IsIconic(window));

    pointTo(controls[kLink], {5, 5});
    SendMessageW(controls["Exit"], BM_CLICK, 0, 0);
    settle();
    EXPECT_FALSE(loaded(window));
    pointTo(nullptr, {0, 0});
    about.show();
    settle();
    ASSERT_TRUE(loaded(about.window()));
    EXPECT_EQ(textOf(about.window()), "About Quillbook");
    EXPECT_EQ(GetWindowLongPtrW(controlsOf(about.window())[kLink], GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(log, Log{});
}

TEST_F(DialogWindows, AboutAnswersTheUser) {
    using Act = std::function<void(DialogWindows&, std::map<std::string, HWND>&)>;
    const Act exitButton = [](auto&, auto& c) { SendMessageW(c["Exit"], BM_CLICK, 0, 0); };
    const Act systemButton = [](auto&, auto& c) {
        SendMessageW(c["System(&S)..."], BM_CLICK, 0, 0);
    };
    const Act esc = [](DialogWindows& t, auto&) { t.key(VK_ESCAPE); };
    const Act enter = [](DialogWindows& t, auto&) { t.key(VK_RETURN); };
    const Act tab = [](DialogWindows& t, auto&) { t.key(VK_TAB); };
    const Act altS = [](DialogWindows& t, auto&) { t.key('S', true); };
    const Act closeBox = [](auto&, auto& c) {
        PostMessageW(GetParent(c["Exit"]), WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    // The bare surface lies between the picture and the version labels.
    const Act overSurface = [](DialogWindows& t, auto& c) {
        t.pointTo(GetParent(c["Exit"]), {114, 100});
    };
    const Act overLink = [](DialogWindows& t, auto& c) { t.pointTo(c[kLink], {5, 5}); };
    const Act overLabel = [](DialogWindows& t, auto& c) { t.pointTo(c["Ver: 1.1"], {5, 5}); };
    const Act overPicture = [](DialogWindows& t, auto& c) { t.pointTo(c[""], {50, 50}); };
    const Act clickLink = [](DialogWindows& t, auto& c) {
        t.pointTo(c[kLink], {5, 5}, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    };
    struct Case {
        const char* name;
        bool toolInRegistry;
        std::vector<Act> acts;
        bool loaded;
        bool border;
        Log log;
        Log boxes;
    };
    const Case cases[] = {
        {"Exit", false, {exitButton}, false, false, {}, {}},
        {"Esc on Exit", false, {esc}, false, false, {}, {}},
        {"Esc on System", false, {tab, esc}, false, false, {}, {}},
        {"Enter on Exit", false, {enter}, false, false, {}, {}},
        {"Enter on System, no tool", false, {tab, enter}, true, false, {}, {kNoTool}},
        {"Tab goes round the two buttons", false, {tab, tab, enter}, false, false, {}, {}},
        {"System, no tool", false, {systemButton}, true, false, {}, {kNoTool}},
        {"Alt+S starts the tool", true, {altS}, true, false, {"start C:\\tools\\msinfo32.exe"}, {}},
        {"the close box", false, {closeBox}, false, false, {}, {}},
        {"a click on the link",
         false,
         {clickLink},
         true,
         true,
         {"open https://" + kLink + "/"},
         {}},
        {"over the link", false, {overLink}, true, true, {}, {}},
        {"then the bare surface", false, {overLink, overSurface}, true, false, {}, {}},
        {"then another label", false, {overLink, overLabel}, true, true, {}, {}},
        {"then the picture", false, {overLink, overPicture}, true, true, {}, {}},
        {"picture, then the surface",
         false,
         {overLink, overPicture, overSurface},
         true,
         false,
         {},
         {}},
    };
    for (const Case& c : cases) {
        log.clear();
        gBoxes.clear();
        desktop.registry.keys.clear();
        desktop.startable.clear();
        if (c.toolInRegistry) {
            desktop.registry.set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                 {1, "C:\\tools\\msinfo32.exe\0"s});
            desktop.startable.insert(u"C:\\tools\\msinfo32.exe");
        }
        AboutWindow about(life, desktop.desktop());
        about.show();
        settle();
        HWND window = about.window();
        auto controls = controlsOf(window);
        for (const Act& act : c.acts) act(*this, controls);
        settle();
        EXPECT_EQ(loaded(window), c.loaded) << c.name;
        if (c.loaded) {
            EXPECT_EQ((GetWindowLongPtrW(controls[kLink], GWL_STYLE) & WS_BORDER) != 0, c.border)
                << c.name;
        }
        EXPECT_EQ(log, c.log) << c.name;
        EXPECT_EQ(gBoxes, c.boxes) << c.name;
    }
}

TEST_F(DialogWindows, HelpLoadsWithItsTextsAndPicturesOnceAndAfreshAfterClosing) {
    HelpWindow help(life, desktop.desktop(), u"C:\\Quillbook");
    help.show();
    settle();
    HWND window = help.window();
    ASSERT_TRUE(loaded(window));
    EXPECT_EQ(textOf(window), "Help");
    RECT client;
    GetClientRect(window, &client);
    const POINT size = scaled({313, 375}, dpi);
    EXPECT_EQ(client.right, size.x);
    EXPECT_EQ(client.bottom, size.y);
    // The four separators, on through a label that reaches down to one.
    for (POINT at :
         {POINT{30, 64}, POINT{30, 128}, POINT{200, 128}, POINT{30, 240}, POINT{30, 360}})
        EXPECT_EQ(colourAt(window, at), GetSysColor(COLOR_WINDOWTEXT)) << at.x << "," << at.y;
    auto controls = controlsOf(window);
    for (const HelpLabel& label : kHelpLabels)
        EXPECT_TRUE(controls.contains(toUtf8(label.text))) << toUtf8(label.text);
    for (const char* caption : {"準確", "所有", "發音", "spchapi.exe", "msttsl.exe"})
        EXPECT_TRUE(controls.contains(caption)) << caption;
    std::vector<POINT> pictures;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        BITMAP drawn{};
        auto* bitmap =
            reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr && GetObjectW(bitmap, sizeof(drawn), &drawn) != 0)
            pictures.push_back({drawn.bmWidth, drawn.bmHeight});
    }
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].x, scaled({51, 33}, dpi).x);
    EXPECT_EQ(pictures[1].y, scaled({135, 64}, dpi).y);

    help.show();
    settle();
    EXPECT_EQ(help.window(), window);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    settle();
    EXPECT_FALSE(loaded(window));
    help.show();
    settle();
    EXPECT_TRUE(loaded(help.window()));
}

TEST_F(DialogWindows, HelpAnswersTheUser) {
    using Act = std::function<void(DialogWindows&, std::map<std::string, HWND>&)>;
    const auto click = [](const char* caption) -> Act {
        return [caption](auto&, auto& c) { SendMessageW(c[caption], BM_CLICK, 0, 0); };
    };
    const Act esc = [](DialogWindows& t, auto&) { t.key(VK_ESCAPE); };
    const Act enter = [](DialogWindows& t, auto&) { t.key(VK_RETURN); };
    const Act tab = [](DialogWindows& t, auto&) { t.key(VK_TAB); };
    const Act closeBox = [](auto&, auto& c) {
        PostMessageW(GetParent(c["msttsl.exe"]), WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    const std::string first = "start C:\\Quillbook\\spchapi.exe";
    const std::string second = "start C:\\Quillbook\\msttsl.exe";
    struct Case {
        const char* name;
        std::vector<Act> acts;
        bool loaded;
        Log log;
    };
    const Case cases[] = {
        {"the first installer", {click("spchapi.exe")}, true, {first}},
        {"the second installer", {click("msttsl.exe")}, true, {second}},
        {"twice", {click("spchapi.exe"), click("spchapi.exe")}, true, {first, first}},
        {"the copies of the main window's buttons",
         {click("準確"), click("所有"), click("發音")},
         true,
         {}},
        {"Enter on the focused installer button", {tab, tab, tab, enter}, true, {first}},
        {"Esc leaves it open", {esc}, true, {}},
        {"the close box", {closeBox}, false, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        HelpWindow help(life, desktop.desktop(), u"C:\\Quillbook");
        help.show();
        settle();
        HWND window = help.window();
        auto controls = controlsOf(window);
        for (const Act& act : c.acts) act(*this, controls);
        settle();
        EXPECT_EQ(loaded(window), c.loaded) << c.name;
        EXPECT_EQ(log, c.log) << c.name;
    }
}

// Each text fits what its label shows of it, in the font the label has.
TEST_F(DialogWindows, EveryTextFitsItsLabel) {
    AboutWindow about(life, desktop.desktop());
    HelpWindow help(life, desktop.desktop(), u"C:\\Quillbook");
    about.show();
    help.show();
    settle();
    for (HWND window : {about.window(), help.window()}) {
        RECT shownOfWindow;
        GetClientRect(window, &shownOfWindow);
        for (const auto& [text, control] : controlsOf(window)) {
            wchar_t kind[16] = {};
            GetClassNameW(control, kind, 16);
            if (text.empty() || std::wstring(kind) != L"Static") continue;
            RECT shown;
            GetClientRect(control, &shown);
            MapWindowPoints(control, window, reinterpret_cast<POINT*>(&shown), 2);
            IntersectRect(&shown, &shown, &shownOfWindow);
            HDC dc = GetDC(control);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
            const std::u16string wideText = fromUtf8(text);
            RECT needed{0, 0, shown.right - shown.left, 0};
            DrawTextW(dc, reinterpret_cast<const wchar_t*>(wideText.c_str()), -1, &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            ReleaseDC(control, dc);
            EXPECT_LE(needed.right, shown.right - shown.left) << text;
            EXPECT_LE(needed.bottom, shown.bottom - shown.top) << text;
        }
    }
}

}  // namespace
