#pragma once

#include <windows.h>
// Needs the declarations above.
#include <shellapi.h>

#include "platform/NotificationArea.h"

namespace qb::platform {

// The notification area through the shell's ANSI call, with the tray module's record.
class ShellNotificationArea final : public NotificationArea {
  public:
    // The record as the shell's structure of this system: the first version's size, the
    // record's fields widened to this system's handles, the tip's code page 950 bytes kept.
    static NOTIFYICONDATAA notifyIconData(const IconRecord& record);

    // Hands the record to the shell; the shell's answer, which notifyIcon does not report.
    static bool send(TrayCommand command, const IconRecord& record);

    void notifyIcon(TrayCommand command, const IconRecord& record,
                    std::u16string_view tip) override;
    bool isAvailable() override;
};

}  // namespace qb::platform
