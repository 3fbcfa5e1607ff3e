#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

namespace qb::win32 {

// What a window made in a DialogFrame answers; the frame hands it every message.
class DialogMessages {
  public:
    virtual ~DialogMessages() = default;
    // The answer to a message, or nothing to leave it to the system's dialog handling (Tab,
    // the default button, the focus coming back with the window).
    virtual std::optional<LRESULT> answer(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) = 0;
    // Draws what the window shows between its controls.
    virtual void paint(HDC dc) const = 0;
};

// A fixed dialog frame: a title bar with a close box only, not resizable, and no taskbar
// button. It owns its window; destroying the frame destroys it.
class DialogFrame final {
  public:
    DialogFrame() = default;
    ~DialogFrame() { destroy(); }
    DialogFrame(const DialogFrame&) = delete;
    DialogFrame& operator=(const DialogFrame&) = delete;

    // Makes the window, hidden, with a client area of that size in twips; with its client
    // area's top-left corner at `clientAt` on the screen (twips), else where the system puts
    // new windows. Returns the window, or null when it cannot be made.
    HWND create(DialogMessages& messages, std::u16string_view title, SIZE clientTwips,
                std::optional<POINT> clientAt, int dpi);
    // Destroys the window; returns the one it destroyed, or null when there was none.
    HWND destroy();
    // Shows the window in front, not minimised, with the focus.
    void bringForward();

    HWND window() const { return window_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace qb::win32
