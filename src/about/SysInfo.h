#pragma once

#include <QString>

#include "common/AppShared.h"
#include "platform/Registry.h"

namespace qb {

// Reads one registry value below `KeyRoot` as text into `KeyVal` and tells whether it was
// read. A string becomes its text (read in code page 950, its closing NUL dropped), a 32-bit
// number its decimal digits; a value of another type counts as read and leaves `KeyVal` as it
// was. A key or value that cannot be read, or one longer than 1,024 bytes, gives false and an
// empty `KeyVal`. A key it opened is always closed again.
bool GetKeyValue(platform::Registry& registry, platform::RegistryKey KeyRoot,
                 const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

// Starts the system's information program where the registry says it lies, or tells the user
// that it cannot, in a box over `over`.
void StartSysInfo(AppShared& shared, QWidget* over = nullptr);

inline const QString kNoSystemInformation = QStringLiteral("目前無法提供系統資訊");

}  // namespace qb
