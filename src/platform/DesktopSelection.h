#pragma once

#include <string>

namespace qb::platform {

// The text the user means when they ask for "the selection" from outside the program: what
// they last selected anywhere on the desktop (X11's primary selection) when that holds text,
// else the clipboard. Empty when neither holds text.
std::u16string desktopSelection();

}  // namespace qb::platform
