#pragma once

#include <string_view>

namespace qb {

inline constexpr std::u16string_view kProgramTitle = u"Quillbook";

// What every window's behaviour asks of the window that draws it, whatever toolkit that is.
// Each window's own view adds what only that window shows.
class WindowView {
  public:
    virtual ~WindowView() = default;
    // A modal box over this window with the program's title; style and answer as
    // platform::MessageStyle and platform::MessageAnswer. The focus comes back to this window
    // when it closes.
    virtual int MsgBox(std::u16string_view text, int style) = 0;
    // Closes the window and ends its loading; the program ends with its last loaded window.
    // Unloading a window that is not loaded does nothing.
    virtual void unload() = 0;
};

}  // namespace qb
