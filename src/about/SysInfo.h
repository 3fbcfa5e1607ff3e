#pragma once

#include <string>
#include <string_view>

#include "common/WindowView.h"
#include "platform/Desktop.h"

namespace qb {

// Reads one registry value below `KeyRoot` as text into `KeyVal` and tells whether it was
// read. A string becomes its text (read in code page 950, its closing NUL dropped), a 32-bit
// number its decimal digits; a value of another type counts as read and leaves `KeyVal` as it
// was. A key or value that cannot be read, or one longer than 1,024 bytes, gives false and an
// empty `KeyVal`. A key it opened is always closed again.
bool GetKeyValue(platform::Registry& registry, platform::RegistryKey KeyRoot,
                 std::u16string_view KeyName, std::u16string_view SubKeyRef,
                 std::u16string& KeyVal);

// Starts the system's information program where the registry says it lies, or tells the user
// that it cannot, in a box over `over`.
void StartSysInfo(platform::Desktop& desktop, WindowView& over);

inline constexpr std::u16string_view kNoSystemInformation = u"目前無法提供系統資訊";

}  // namespace qb
