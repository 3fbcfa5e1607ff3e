#include "about/SysInfo.h"

#include <algorithm>
#include <array>
#include <optional>

#include "codepage/CodePage950.h"

namespace qb {
namespace {

constexpr std::uint32_t kValueBufferBytes = 1024;

constexpr std::u16string_view kSysInfoKey = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::u16string_view kSysInfoValue = u"PATH";
constexpr std::u16string_view kSysInfoFolderKey = u"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::u16string_view kSysInfoFolderValue = u"MSINFO";
constexpr std::u16string_view kSysInfoFile = u"\\MSINFO32.EXE";

// The system's ANSI code page, in which the registry calls take and give text.
CodePage950& ansiCodePage() {
    static CodePage950 codePage;
    return codePage;
}

std::string ansi(std::u16string_view text) {
    return ansiCodePage().encode(text);
}

std::u16string decimal(std::uint32_t number) {
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

// Where the information program lies: the path the registry holds for it, or the program
// file in the folder it holds, if that file is there.
std::optional<std::u16string> sysInfoPath(platform::Desktop& desktop) {
    std::u16string path;
    if (GetKeyValue(desktop.registry, platform::kLocalMachine, kSysInfoKey, kSysInfoValue, path))
        return path;
    if (!GetKeyValue(desktop.registry, platform::kLocalMachine, kSysInfoFolderKey,
                     kSysInfoFolderValue, path))
        return std::nullopt;
    // Joined as the folder is written: one that ends in a backslash gives two in a row.
    std::u16string file = path + std::u16string(kSysInfoFile);
    if (!desktop.files.isOrdinaryFile(file)) return std::nullopt;
    return file;
}

}  // namespace

bool GetKeyValue(platform::Registry& registry, platform::RegistryKey KeyRoot,
                 std::u16string_view KeyName, std::u16string_view SubKeyRef,
                 std::u16string& KeyVal) {
    platform::RegistryKey hKey = 0;
    if (registry.openKey(KeyRoot, ansi(KeyName), 0, platform::kKeyAllAccessMask, hKey) !=
        platform::kRegistrySuccess) {
        KeyVal.clear();
        return false;
    }
    std::array<std::uint8_t, kValueBufferBytes> tmpVal{};
    std::uint32_t KeyValSize = kValueBufferBytes;
    std::uint32_t KeyValType = 0;
    if (registry.queryValue(hKey, ansi(SubKeyRef), KeyValType, tmpVal.data(), KeyValSize) !=
        platform::kRegistrySuccess) {
        KeyVal.clear();
        registry.closeKey(hKey);
        return false;
    }
    // A registry that claims more than the buffer holds is read no further than the buffer.
    std::size_t length = std::min(KeyValSize, kValueBufferBytes);
    if (length > 0 && tmpVal[length - 1] == 0) --length;
    if (KeyValType == platform::kValueText) {
        KeyVal = ansiCodePage().decode(
            std::string_view(reinterpret_cast<const char*>(tmpVal.data()), length));
    } else if (KeyValType == platform::kValueNumber) {
        // Little-endian; the buffer was NUL-filled, so a short value reads as its low bytes.
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | tmpVal[static_cast<std::size_t>(i)];
        KeyVal = decimal(number);
    }
    registry.closeKey(hKey);
    return true;
}

void StartSysInfo(platform::Desktop& desktop, WindowView& over) {
    const std::optional<std::u16string> path = sysInfoPath(desktop);
    if (!path || !desktop.programs.startProgram(*path))
        over.MsgBox(kNoSystemInformation, platform::kOkOnly);
}

}  // namespace qb
