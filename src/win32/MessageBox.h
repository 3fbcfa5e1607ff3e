#pragma once

#include <windows.h>

#include <string_view>

namespace qb::win32 {

// A modal message box owned by `owner`, titled with the program's title; style and answer by
// the system's numbers (platform::MessageStyle, platform::MessageAnswer). The focus goes back
// to the owner when it closes.
int showMessageBox(HWND owner, std::u16string_view text, int style);

}  // namespace qb::win32
