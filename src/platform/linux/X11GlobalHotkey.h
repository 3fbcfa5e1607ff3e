#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <vector>

#include "platform/GlobalHotkey.h"

struct xcb_connection_t;

namespace qb::platform {

// The key taken on the X11 root window with a passive grab, one for each keycode that
// carries the letter z and each set of lock keys that may be on: the server matches a grab's
// modifiers exactly, so Ctrl+Alt+Z with NumLock on is another grab than without. The presses
// are picked out of Qt's own event stream.
class X11GlobalHotkey final : public GlobalHotkey, private QAbstractNativeEventFilter {
  public:
    X11GlobalHotkey() = default;
    ~X11GlobalHotkey() override;
    X11GlobalHotkey(const X11GlobalHotkey&) = delete;
    X11GlobalHotkey& operator=(const X11GlobalHotkey&) = delete;

    HotkeyGrab grab(std::function<void()> pressed) override;

  private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void ungrab();

    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    std::vector<uint8_t> keycodes_;
    uint16_t modifiers_ = 0;         // Ctrl and whichever modifier Alt is on this keyboard
    uint16_t locks_ = 0;             // CapsLock, NumLock and ScrollLock, as mapped here
    std::vector<uint16_t> grabbed_;  // the modifier sets held, for each keycode
    std::function<void()> pressed_;
};

}  // namespace qb::platform
