#pragma once

#include <functional>

namespace qb::platform {

// What asking the desktop for a key of our own came to.
enum class HotkeyGrab {
    Ours,             // the key now reaches us, whichever window has the focus
    HeldByAnother,    // another program took it first: we go on without it
    NotOnThisDesktop  // the desktop gives no program a key of its own (a Wayland session)
};

// Ctrl+Alt+Z for the whole desktop, whatever lock keys are on and wherever the keyboard
// layout puts the letter z. The key is given back when this ends.
class GlobalHotkey {
  public:
    virtual ~GlobalHotkey() = default;
    // Asks for the key once; from then on each press runs `pressed`.
    virtual HotkeyGrab grab(std::function<void()> pressed) = 0;
};

}  // namespace qb::platform
