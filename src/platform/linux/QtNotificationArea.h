#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "Handles.h"
#include "NotificationArea.h"

namespace qb::platform {

// The two kinds of notification area. An embedding tray (the X11 system tray protocol) passes
// on raw clicks: a double-click arrives as Trigger then DoubleClick. A tray of
// StatusNotifierItems (over D-Bus) passes on what the user meant: its host's activation
// arrives as Trigger alone and DoubleClick never comes.
enum class TrayKind { Embedding, Activation };

// The mouse messages an icon's owner is told for one activation of the icon. An activation
// is what opens a program on its tray, so there it is the owner's double-click.
std::vector<TrayMouse> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason, TrayKind kind);

// Whether the session bus has a StatusNotifierWatcher with a host registered: then Qt shows
// tray icons as StatusNotifierItems. The same test as Qt's own.
bool statusNotifierHostRegistered();

// Shows one QSystemTrayIcon per (owner, identifier) with the record's icon and tip, and
// delivers its mouse activity to the owner as the record's callback message.
class QtNotificationArea final : public QObject, public NotificationArea {
public:
    explicit QtNotificationArea(Handles& handles) : handles_(handles) {}
    void notifyIcon(TrayCommand command, const IconRecord& record,
                    std::u16string_view tip) override;
    bool isAvailable() override;

private:
    // Decided with the first icon, as Qt decides which kind of icon to make once.
    TrayKind kind();

    Handles& handles_;
    std::optional<TrayKind> kind_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, QSystemTrayIcon*> icons_;
};

}  // namespace qb::platform
