#include "platform/linux/SystemInfoRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace qb::platform {
namespace {

const QByteArray kSystemInfoKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray kPathValue = QByteArrayLiteral("PATH");

// Key paths and value names are case-blind, as the registry's are.
bool sameName(const std::string& given, const QByteArray& name) {
    return QByteArray::fromStdString(given).compare(name, Qt::CaseInsensitive) == 0;
}

// The path in the ANSI code page the callers read it in, NUL-terminated; empty when a
// character of it has no code there, since such a path would come back as another one.
QByteArray ansiText(CodePage950& codePage, const QString& text) {
    const std::string bytes = codePage.encode(text.toStdU16String());
    if (codePage.decode(bytes) != text.toStdU16String()) return {};
    QByteArray value = QByteArray::fromStdString(bytes);
    value.append('\0');
    return value;
}

}  // namespace

const QStringList& SystemInfoRegistry::programs() {
    static const QStringList names{QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                                   QStringLiteral("gnome-system-monitor"),
                                   QStringLiteral("xfce4-taskmanager")};
    return names;
}

QString SystemInfoRegistry::findProgram() {
    const QStringList folders =
        qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& name : programs())
        for (const QString& folder : folders) {
            if (!QDir::isAbsolutePath(folder)) continue;
            const QFileInfo file(QDir(folder), name);
            if (file.isFile() && file.isExecutable()) return file.absoluteFilePath();
        }
    return {};
}

RegistryStatus SystemInfoRegistry::openKey(RegistryKey root, const std::string& path, std::uint32_t,
                                           std::uint32_t access, RegistryKey& key) {
    if (root != kLocalMachine || !sameName(path, kSystemInfoKey)) return kRegistryNotFound;
    key = next_++;
    open_[key] = access;
    return kRegistrySuccess;
}

RegistryStatus SystemInfoRegistry::queryValue(RegistryKey key, const std::string& name,
                                              std::uint32_t& type, std::uint8_t* data,
                                              std::uint32_t& size) {
    const auto found = open_.find(key);
    if (found == open_.end()) return kRegistryInvalidHandle;
    if ((found->second & kQueryValueAccess) == 0) return kRegistryAccessDenied;
    if (!sameName(name, kPathValue)) return kRegistryNotFound;
    const QString program = findProgram();
    const QByteArray text = program.isEmpty() ? QByteArray() : ansiText(codePage_, program);
    if (text.isEmpty()) return kRegistryNotFound;
    type = kValueText;
    const auto needed = static_cast<std::uint32_t>(text.size());
    const bool fits = needed <= size;
    if (fits) std::memcpy(data, text.constData(), needed);
    size = needed;
    return fits ? kRegistrySuccess : kRegistryMoreData;
}

RegistryStatus SystemInfoRegistry::closeKey(RegistryKey key) {
    return open_.erase(key) == 1 ? kRegistrySuccess : kRegistryInvalidHandle;
}

}  // namespace qb::platform
