#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "lookup/Utf8.h"
#include "win32/Clipboard.h"
#include "win32/SelectionHotkey.h"

using namespace qb;
using namespace qb::win32;

namespace {

// The key as another program would take it.
constexpr UINT kModifiers = MOD_CONTROL | MOD_ALT;
constexpr UINT kKey = 'Z';

std::string textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return toUtf8(reinterpret_cast<const char16_t*>(text));
}

// A box runs a loop of its own: a timer answers it from inside, OK, and keeps its text.
std::vector<std::string> gBoxes;
void CALLBACK answerBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", L"Quillbook");
    if (box == nullptr) return;
    gBoxes.push_back(textOf(GetDlgItem(box, 0xFFFF)));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

HWND hiddenWindow() {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                           nullptr);
}

// Puts text and the bytes of a format of its own into the clipboard; no text leaves it empty.
void putIntoClipboard(HWND owner, std::optional<std::u16string> text,
                      std::vector<std::pair<UINT, std::string>> others = {}) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const auto put = [](UINT format, const void* bytes, std::size_t size) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(memory), bytes, size);
        GlobalUnlock(memory);
        SetClipboardData(format, memory);
    };
    if (text) put(CF_UNICODETEXT, text->c_str(), (text->size() + 1) * sizeof(char16_t));
    for (const auto& [format, bytes] : others) put(format, bytes.data(), bytes.size());
    CloseClipboard();
}

std::string bytesOf(UINT format) {
    if (!OpenClipboard(nullptr)) return "(busy)";
    std::string bytes = "(none)";
    if (HANDLE data = GetClipboardData(format); data != nullptr) {
        bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

std::string clipboardTextNow(HWND owner) {
    const std::optional<std::u16string> text = clipboardText(owner);
    return text ? toUtf8(*text) : "(busy)";
}

class SelectionHotkeyTest : public ::testing::Test {
  public:
    void SetUp() override {
        gBoxes.clear();
        boxTimer = SetTimer(nullptr, 0, 50, answerBox);
        owner = hiddenWindow();
    }
    void TearDown() override {
        KillTimer(nullptr, boxTimer);
        DestroyWindow(owner);
    }

    // Runs what comes until `done` holds, or a few seconds passed without it.
    template <typename Done>
    void settleUntil(Done done) {
        for (int round = 0; round < 300 && !done(); ++round) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    void settle() {
        int rounds = 0;
        settleUntil([&rounds] { return ++rounds > 20; });
    }

    // Whether anyone could take the key now.
    static bool keyIsFree() {
        if (!RegisterHotKey(nullptr, 1, kModifiers, kKey)) return false;
        UnregisterHotKey(nullptr, 1);
        return true;
    }

    UINT_PTR boxTimer = 0;
    HWND owner = nullptr;
};

// A thread of its own holds the key, as another program would, while it lives.
class KeyHolder final {
  public:
    KeyHolder()
        : held_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          thread_([this] {
              HWND window = hiddenWindow();
              took_ = RegisterHotKey(window, 7, kModifiers, kKey) != FALSE;
              SetEvent(held_);
              WaitForSingleObject(done_, INFINITE);
              DestroyWindow(window);
          }) {
        WaitForSingleObject(held_, INFINITE);
    }
    ~KeyHolder() {
        SetEvent(done_);
        thread_.join();
        CloseHandle(held_);
        CloseHandle(done_);
    }
    bool took() const { return took_; }

  private:
    HANDLE held_, done_;
    bool took_ = false;
    std::thread thread_;
};

TEST_F(SelectionHotkeyTest, TakesTheKeyOrSaysOnceThatAnotherHoldsIt) {
    const std::string kTaken = toUtf8(kSelectionKeyTakenText);
    struct Case {
        const char* holder;
        bool registered;
        std::vector<std::string> boxes;
    };
    for (const Case& c : {Case{"nobody", true, {}}, Case{"another thread", false, {kTaken}},
                          Case{"another window of this thread", false, {kTaken}}}) {
        SCOPED_TRACE(c.holder);
        gBoxes.clear();
        std::optional<KeyHolder> thread;
        HWND otherWindow = nullptr;
        if (c.holder == std::string("another thread")) {
            thread.emplace();
            ASSERT_TRUE(thread->took());
        } else if (c.holder == std::string("another window of this thread")) {
            otherWindow = hiddenWindow();
            ASSERT_TRUE(RegisterHotKey(otherWindow, 9, kModifiers, kKey));
        }
        {
            SelectionHotkey hotkey(owner, [](std::u16string_view) {});
            settle();
            EXPECT_EQ(hotkey.isRegistered(), c.registered);
            EXPECT_EQ(gBoxes, c.boxes);
            EXPECT_FALSE(keyIsFree());
        }
        if (otherWindow != nullptr) DestroyWindow(otherWindow);
        thread.reset();
        EXPECT_TRUE(keyIsFree());
    }
}

TEST_F(SelectionHotkeyTest, GivesTheKeyBackWhenItsWindowGoes) {
    HWND window = hiddenWindow();
    SelectionHotkey hotkey(window, [](std::u16string_view) {});
    ASSERT_TRUE(hotkey.isRegistered());
    DestroyWindow(window);
    EXPECT_TRUE(keyIsFree());
}

TEST_F(SelectionHotkeyTest, ReadsTheClipboardsText) {
    const UINT other = RegisterClipboardFormatW(L"Quillbook test format");
    struct Case {
        std::optional<std::u16string> put;
        std::string read;
    };
    for (const Case& c :
         {Case{u"蘋果", "蘋果"}, Case{u" give up\r\n", " give up\r\n"},
          Case{u"老師 teacher", "老師 teacher"}, Case{u"", ""}, Case{std::nullopt, ""}}) {
        SCOPED_TRACE(c.read);
        putIntoClipboard(owner, c.put, {{other, "not text"}});
        EXPECT_EQ(clipboardTextNow(owner), c.read);
    }
}

TEST_F(SelectionHotkeyTest, PutsBackWhatTheClipboardHeld) {
    const UINT other = RegisterClipboardFormatW(L"Quillbook test format");
    struct Case {
        const char* name;
        std::optional<std::u16string> text;
        std::string otherBytes;
        std::size_t limit;
        bool kept;
    };
    for (const Case& c :
         {Case{"text and a format of its own", u"蘋果", "\x01\x02\x03", 1 << 20, true},
          Case{"nothing", std::nullopt, "", 1 << 20, true},
          Case{"more than may be kept", u"蘋果", "\x01\x02\x03", 4, false}}) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<UINT, std::string>> others;
        if (!c.otherBytes.empty()) others.emplace_back(other, c.otherBytes);
        putIntoClipboard(owner, c.text, others);
        const std::optional<ClipboardContent> before = ClipboardContent::take(owner, c.limit);
        ASSERT_EQ(before.has_value(), c.kept);
        if (!before) continue;
        putIntoClipboard(owner, u"teacher", {{other, "copied"}});
        ASSERT_TRUE(before->putBack(owner));
        EXPECT_EQ(clipboardTextNow(owner), c.text ? toUtf8(*c.text) : "");
        EXPECT_EQ(bytesOf(other), c.otherBytes.empty() ? "(none)" : c.otherBytes);
    }
}

// A window in front with an edit control, as the user left it.
HWND frontWindow(const wchar_t* className, const wchar_t* text, bool selected) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className, L"Reading", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                  50, 300, 120, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", text, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200,
                                24, window, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, selected ? -1 : 0);
    return window;
}

// Ctrl+Alt+Z as the keyboard gives it.
void pressTheKey() {
    const std::pair<WORD, DWORD> keys[] = {{VK_CONTROL, 0},
                                           {VK_MENU, 0},
                                           {'Z', 0},
                                           {'Z', KEYEVENTF_KEYUP},
                                           {VK_MENU, KEYEVENTF_KEYUP},
                                           {VK_CONTROL, KEYEVENTF_KEYUP}};
    for (const auto& [code, flags] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(INPUT));
    }
}

TEST_F(SelectionHotkeyTest, HandsOnTheSelectionOfTheWindowInFrontAndKeepsTheClipboard) {
    struct Case {
        const char* name;
        const wchar_t* frontClass;
        const wchar_t* editText;
        bool selected;
        std::optional<std::u16string> clipboard;
        std::string handedOn;
    };
    for (const Case& c : {
             Case{"a selected word", L"QbReader", L"teacher", true, u"蘋果", "teacher"},
             Case{"selected Chinese", L"QbReader", L"老師", true, u"apple", "老師"},
             Case{"nothing selected: the clipboard", L"QbReader", L"teacher", false, u"蘋果",
                  "蘋果"},
             Case{"nothing selected, nothing copied", L"QbReader", L"teacher", false, std::nullopt,
                  ""},
             // Ctrl+C would interrupt what runs there: the clipboard is taken as it is.
             Case{"a terminal", L"ConsoleWindowClass", L"teacher", true, u"蘋果", "蘋果"},
         }) {
        SCOPED_TRACE(c.name);
        putIntoClipboard(owner, c.clipboard);
        std::optional<std::string> handed;
        SelectionHotkey hotkey(
            owner, [&handed](std::u16string_view text) { handed = toUtf8(std::u16string(text)); });
        ASSERT_TRUE(hotkey.isRegistered());
        HWND front = frontWindow(c.frontClass, c.editText, c.selected);
        settle();
        ASSERT_EQ(GetForegroundWindow(), front);

        pressTheKey();
        settleUntil([&handed] { return handed.has_value(); });
        EXPECT_EQ(handed, c.handedOn);
        EXPECT_EQ(clipboardTextNow(owner), c.clipboard ? toUtf8(*c.clipboard) : "");
        DestroyWindow(front);
    }
}

}  // namespace
