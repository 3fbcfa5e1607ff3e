#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <utility>

#include "Handles.h"
#include "NotificationArea.h"

namespace qb::platform {

// Shows one QSystemTrayIcon per (owner, identifier) with the record's icon and tip, and
// delivers its mouse activity to the owner as the record's callback message.
class QtNotificationArea final : public QObject, public NotificationArea {
public:
    explicit QtNotificationArea(Handles& handles) : handles_(handles) {}
    void notifyIcon(TrayCommand command, const IconRecord& record,
                    std::u16string_view tip) override;
    bool isAvailable() override;

private:
    Handles& handles_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, QSystemTrayIcon*> icons_;
};

}  // namespace qb::platform
