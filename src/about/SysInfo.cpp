#include "about/SysInfo.h"

#include <array>
#include <optional>

#include "codepage/CodePage950.h"

namespace qb {
namespace {

constexpr std::uint32_t kValueBufferBytes = 1024;

const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoValue = QStringLiteral("PATH");
const QString kSysInfoFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSysInfoFolderValue = QStringLiteral("MSINFO");
const QString kSysInfoFile = QStringLiteral("\\MSINFO32.EXE");

// The system's ANSI code page, in which the registry calls take and give text.
CodePage950& ansiCodePage() {
    static CodePage950 codePage;
    return codePage;
}

std::string ansi(const QString& text) {
    return ansiCodePage().encode(text.toStdU16String());
}

// Where the information program lies: the path the registry holds for it, or the program
// file in the folder it holds, if that file is there.
std::optional<QString> sysInfoPath(platform::Services& desktop) {
    QString path;
    if (GetKeyValue(desktop.registry, platform::kLocalMachine, kSysInfoKey, kSysInfoValue, path))
        return path;
    if (!GetKeyValue(desktop.registry, platform::kLocalMachine, kSysInfoFolderKey,
                     kSysInfoFolderValue, path))
        return std::nullopt;
    // Joined as the folder is written: one that ends in a backslash gives two in a row.
    const QString file = path + kSysInfoFile;
    if (!desktop.files.isOrdinaryFile(file)) return std::nullopt;
    return file;
}

}  // namespace

bool GetKeyValue(platform::Registry& registry, platform::RegistryKey KeyRoot,
                 const QString& KeyName, const QString& SubKeyRef, QString& KeyVal) {
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
        KeyVal = QString::fromStdU16String(ansiCodePage().decode(
            std::string_view(reinterpret_cast<const char*>(tmpVal.data()), length)));
    } else if (KeyValType == platform::kValueNumber) {
        // Little-endian; the buffer was NUL-filled, so a short value reads as its low bytes.
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | tmpVal[static_cast<std::size_t>(i)];
        KeyVal = QString::number(number);
    }
    registry.closeKey(hKey);
    return true;
}

void StartSysInfo(AppShared& shared, QWidget* over) {
    platform::Services& desktop = shared.services();
    const std::optional<QString> path = sysInfoPath(desktop);
    if (!path || !desktop.programs.startProgram(*path))
        shared.MsgBox(kNoSystemInformation, platform::kOkOnly, over);
}

}  // namespace qb
