#pragma once

#include <windows.h>

#include <vector>

namespace qb::win32 {

// The program's windows while they are loaded: the program ends when the last one unloads,
// and the windows that take keys as dialogs do (Tab, Esc, Enter, access keys) get them so.
class ProgramLife final {
  public:
    void loaded(HWND window, bool keysAsDialog);
    // Ends the message loop once no loaded window is left.
    void unloaded(HWND window);
    bool isLoaded(HWND window) const;

    // Runs until the last window unloads; returns the program's exit code.
    int run();
    // Hands a message to the windows that take keys as dialogs do; true when one took it, and
    // then it is not to be dispatched.
    bool takenAsDialogKey(MSG& message) const;

  private:
    struct Loaded {
        HWND window;
        bool keysAsDialog;
    };
    std::vector<Loaded> windows_;
};

}  // namespace qb::win32
