#pragma once

#include <windows.h>
// Needs the declarations above.
#include <shellapi.h>

#include "platform/NotificationArea.h"

namespace qb::platform {

// The notification area through the shell's ANSI call, with the tray module's record. Its
// tip is in code page 950, which only a system whose ANSI code page is 950 reads as such;
// elsewhere the same record goes through the wide call with the tip as text, so the tip
// shows the program's name instead of other characters.
class ShellNotificationArea final : public NotificationArea {
  public:
    // The record as the shell's structure of this system: the first version's size, the
    // record's fields widened to this system's handles, the tip's code page 950 bytes kept.
    static NOTIFYICONDATAA notifyIconData(const IconRecord& record);

    // The same with the tip as text, cut to what the first version's structure holds.
    static NOTIFYICONDATAW wideNotifyIconData(const IconRecord& record, std::u16string_view tip);

    // Hands the record to the shell; the shell's answer, which notifyIcon does not report.
    static bool send(TrayCommand command, const IconRecord& record);
    static bool sendWide(TrayCommand command, const IconRecord& record, std::u16string_view tip);

    void notifyIcon(TrayCommand command, const IconRecord& record,
                    std::u16string_view tip) override;
    bool isAvailable() override;
};

}  // namespace qb::platform
