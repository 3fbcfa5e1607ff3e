#include "platform/windows/Win32Desktop.h"

#include <shellapi.h>

#include <array>
#include <utility>

#include "platform/windows/WideText.h"

namespace qb::platform {
namespace {

// The system's predefined roots by the numbers the program names them with.
const std::array<std::pair<RegistryKey, HKEY>, 7> kRoots{{
    {0x80000000, HKEY_CLASSES_ROOT},
    {0x80000001, HKEY_CURRENT_USER},
    {0x80000002, HKEY_LOCAL_MACHINE},
    {0x80000003, HKEY_USERS},
    {0x80000004, HKEY_PERFORMANCE_DATA},
    {0x80000005, HKEY_CURRENT_CONFIG},
    {0x80000006, HKEY_DYN_DATA},
}};

bool isRoot(RegistryKey key) {
    for (const auto& [number, root] : kRoots)
        if (number == key) return true;
    return false;
}

// A name with a NUL inside would reach the call cut short, naming another key or value.
bool holdsNul(const std::string& name) {
    return name.find('\0') != std::string::npos;
}

}  // namespace

bool Win32ProgramStarter::startProgram(std::u16string_view path) {
    if (path.empty() || holdsNul(path)) return false;
    const std::wstring program = wideText(path);
    // The program file alone: the command line is only its own name, as its first argument.
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Win32AddressOpener::openAddress(std::u16string_view url) {
    if (url.empty() || holdsNul(url)) return;
    ShellExecuteW(owner_, L"open", wideText(url).c_str(), L"", L"", SW_SHOWMAXIMIZED);
}

bool Win32FileTests::isOrdinaryFile(std::u16string_view path) {
    if (path.empty() || holdsNul(path)) return false;
    const DWORD attributes = GetFileAttributesW(wideText(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

Win32Registry::~Win32Registry() {
    for (const auto& [number, key] : open_) RegCloseKey(key);
}

HKEY Win32Registry::handle(RegistryKey key) const {
    for (const auto& [number, root] : kRoots)
        if (number == key) return root;
    const auto found = open_.find(key);
    return found == open_.end() ? nullptr : found->second;
}

RegistryStatus Win32Registry::openKey(RegistryKey root, const std::string& path,
                                      std::uint32_t options, std::uint32_t access,
                                      RegistryKey& key) {
    const HKEY parent = handle(root);
    if (parent == nullptr) return ERROR_INVALID_HANDLE;
    if (holdsNul(path)) return ERROR_FILE_NOT_FOUND;
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(parent, path.c_str(), options, access, &opened);
    if (status != ERROR_SUCCESS) return status;
    while (next_ == 0 || isRoot(next_) || open_.count(next_) != 0) ++next_;
    key = next_++;
    open_[key] = opened;
    return ERROR_SUCCESS;
}

RegistryStatus Win32Registry::queryValue(RegistryKey key, const std::string& name,
                                         std::uint32_t& type, std::uint8_t* data,
                                         std::uint32_t& size) {
    const HKEY opened = handle(key);
    if (opened == nullptr) return ERROR_INVALID_HANDLE;
    if (holdsNul(name)) return ERROR_FILE_NOT_FOUND;
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LONG status =
        RegQueryValueExA(opened, name.c_str(), nullptr, &valueType, data, &valueSize);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        type = valueType;
        size = valueSize;
    }
    return status;
}

RegistryStatus Win32Registry::closeKey(RegistryKey key) {
    if (isRoot(key)) return RegCloseKey(handle(key));
    const auto found = open_.find(key);
    if (found == open_.end()) return ERROR_INVALID_HANDLE;
    const LONG status = RegCloseKey(found->second);
    open_.erase(found);
    return status;
}

}  // namespace qb::platform
