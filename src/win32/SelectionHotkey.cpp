#include "win32/SelectionHotkey.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "win32/MessageBox.h"

namespace qb::win32 {
namespace {

constexpr int kHotkeyId = 0x5A;
constexpr UINT_PTR kTimerId = 0x5A;
constexpr UINT kTick = 15;
// How long the user may still hold the key's modifiers: pressed with ours, Ctrl+C would reach
// the window as another key (Ctrl+Shift+C opens a browser's inspector).
constexpr ULONGLONG kKeysUpPatience = 1000;
// How long the window in front has to put its selection into the clipboard; a window with
// nothing selected copies nothing, and the clipboard is taken as it is.
constexpr ULONGLONG kCopyPatience = 500;
// Above this the user's clipboard could not be kept, so no copy is asked for.
constexpr std::size_t kKeptLimit = 64 << 20;

bool modifiersDown() {
    for (int key : {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN, VK_RWIN})
        if (GetAsyncKeyState(key) & 0x8000) return true;
    return false;
}

// Terminals take Ctrl+C as the interrupt of the program they run: they are never sent it, and
// what the user copied from them is taken from the clipboard.
bool isTerminal(HWND window) {
    constexpr std::array<std::wstring_view, 5> kTerminalClasses{
        L"ConsoleWindowClass", L"CASCADIA_HOSTING_WINDOW_CLASS", L"mintty", L"PuTTY",
        L"VirtualConsoleClass"};
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    const std::wstring_view className(name, length > 0 ? length : 0);
    for (std::wstring_view terminal : kTerminalClasses)
        if (className == terminal) return true;
    return false;
}

// Ctrl+C as the keyboard gives it: what every program that can copy answers, browsers and
// documents as well as edit controls, where WM_COPY reaches edit controls alone.
void pressCopyKeys() {
    struct Key {
        WORD code;
        DWORD flags;
    };
    constexpr Key kKeys[] = {
        {VK_CONTROL, 0}, {'C', 0}, {'C', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    std::array<INPUT, std::size(kKeys)> inputs{};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = kKeys[i].code;
        inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(kKeys[i].code, MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags = kKeys[i].flags;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

SelectionHotkey::SelectionHotkey(HWND window, LookUp lookUp)
    : window_(window), lookUp_(std::move(lookUp)) {
    SetWindowSubclass(window_, &SelectionHotkey::windowMessages, 0,
                      reinterpret_cast<DWORD_PTR>(this));
    registered_ = RegisterHotKey(window_, kHotkeyId, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'Z');
    if (!registered_) showMessageBox(window_, kSelectionKeyTakenText, MB_OK);
}

SelectionHotkey::~SelectionHotkey() {
    if (window_ != nullptr) release();
}

void SelectionHotkey::release() {
    if (registered_) UnregisterHotKey(window_, kHotkeyId);
    registered_ = false;
    KillTimer(window_, kTimerId);
    RemoveWindowSubclass(window_, &SelectionHotkey::windowMessages, 0);
    window_ = nullptr;
}

LRESULT CALLBACK SelectionHotkey::windowMessages(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto& hotkey = *reinterpret_cast<SelectionHotkey*>(self);
    if (message == WM_HOTKEY && wParam == kHotkeyId) {
        hotkey.pressed();
        return 0;
    }
    if (message == WM_TIMER && wParam == kTimerId) {
        hotkey.step();
        return 0;
    }
    if (message == WM_NCDESTROY) hotkey.release();
    return DefSubclassProc(window, message, wParam, lParam);
}

void SelectionHotkey::enter(Stage stage) {
    stage_ = stage;
    stageStart_ = GetTickCount64();
}

void SelectionHotkey::pressed() {
    // The last press is still being answered.
    if (stage_ != Stage::idle) return;
    front_ = GetForegroundWindow();
    enter(Stage::keysHeld);
    SetTimer(window_, kTimerId, kTick, nullptr);
    step();
}

void SelectionHotkey::askToCopy() {
    before_.reset();
    // Only the window the key was pressed over is asked, and only when the user's clipboard
    // can be kept.
    if (front_ != nullptr && GetForegroundWindow() == front_ && !isTerminal(front_))
        before_ = ClipboardContent::take(window_, kKeptLimit);
    sequence_ = GetClipboardSequenceNumber();
    if (before_) pressCopyKeys();
    enter(Stage::copying);
}

void SelectionHotkey::step() {
    const ULONGLONG waited = GetTickCount64() - stageStart_;
    if (stage_ == Stage::keysHeld) {
        if (!modifiersDown()) {
            askToCopy();
        } else if (waited >= kKeysUpPatience) {
            before_.reset();
            enter(Stage::copying);
        } else {
            return;
        }
    }
    if (stage_ != Stage::copying) return;
    const bool asked = before_.has_value();
    const bool copied = asked && GetClipboardSequenceNumber() != sequence_;
    if (asked && !copied && waited < kCopyPatience) return;
    const std::optional<std::u16string> text = clipboardText(window_);
    // Still being written by the program that copies.
    if (!text && waited < 2 * kCopyPatience) return;
    if (copied) before_->putBack(window_);
    before_.reset();
    KillTimer(window_, kTimerId);
    stage_ = Stage::idle;
    lookUp_(text.value_or(std::u16string()));
}

}  // namespace qb::win32
