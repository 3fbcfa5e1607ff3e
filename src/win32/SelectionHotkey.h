#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "win32/Clipboard.h"

namespace qb::win32 {

inline constexpr std::u16string_view kSelectionKeyTakenText =
    u"Ctrl+Alt+Z 已由另一個程式使用，無法用它查選取的文字。";

// Ctrl+Alt+Z anywhere on the desktop: the window in front is asked to copy its selection, and
// the text the clipboard then holds is handed on. The user's clipboard is put back afterwards:
// the key asks for a lookup, not a copy, and what they had copied is still to be pasted.
// The key belongs to `window` while this object and the window live.
class SelectionHotkey final {
  public:
    using LookUp = std::function<void(std::u16string_view selected)>;

    // Takes the key for `window`. When another program holds it, a message box owned by the
    // window says so, this once, and the program carries on without it.
    SelectionHotkey(HWND window, LookUp lookUp);
    ~SelectionHotkey();
    SelectionHotkey(const SelectionHotkey&) = delete;
    SelectionHotkey& operator=(const SelectionHotkey&) = delete;

    bool isRegistered() const { return registered_; }

  private:
    enum class Stage { idle, keysHeld, copying };

    static LRESULT CALLBACK windowMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self);
    void pressed();
    // One look at how the answer is coming along; the window's timer brings the next.
    void step();
    void askToCopy();
    void enter(Stage stage);
    void release();

    HWND window_;
    LookUp lookUp_;
    bool registered_ = false;
    Stage stage_ = Stage::idle;
    ULONGLONG stageStart_ = 0;
    HWND front_ = nullptr;
    DWORD sequence_ = 0;
    // What the clipboard held before the copy was asked for; nothing when none was asked.
    std::optional<ClipboardContent> before_;
};

}  // namespace qb::win32
