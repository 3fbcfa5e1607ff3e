#include "win32/MessageBox.h"

#include <string>

#include "common/WindowView.h"

namespace qb::win32 {

int showMessageBox(HWND owner, std::u16string_view text, int style) {
    const std::wstring shown(text.begin(), text.end());
    const std::wstring title(kProgramTitle.begin(), kProgramTitle.end());
    return MessageBoxW(owner, shown.c_str(), title.c_str(), static_cast<UINT>(style));
}

}  // namespace qb::win32
