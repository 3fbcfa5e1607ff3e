#include "platform/ProgramFolder.h"

#include <windows.h>

#include <string>

namespace qb::platform {

const char16_t kFolderSeparator = u'\\';

// The program's own file name, however long (a folder deeper than MAX_PATH) and in whatever
// script, given back as UTF-8 with the engine's "/" free to follow it.
std::string programFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return ".";
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(name.size() * 2);  // cut short: ask again with room to spare
    }
    name.resize(name.find_last_of(L"\\/") == std::wstring::npos ? 0 : name.find_last_of(L"\\/"));
    const int wide = static_cast<int>(name.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, name.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string folder(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name.data(), wide, folder.data(), size, nullptr, nullptr);
    return folder;
}

}  // namespace qb::platform
