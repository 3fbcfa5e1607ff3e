#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <utility>

#include "NotificationArea.h"

namespace qb::platform {

// Shows one QSystemTrayIcon per (owner, identifier) with the record's icon and tip, and
// delivers its mouse activity to the owner as the record's callback message.
class QtNotificationArea final : public QObject, public NotificationArea {
public:
    void Shell_NotifyIcon(std::uint32_t message, const IconRecord& record) override;
    bool isAvailable() override;

private:
    std::map<std::pair<std::uint32_t, std::uint32_t>, QSystemTrayIcon*> icons_;
};

}  // namespace qb::platform
