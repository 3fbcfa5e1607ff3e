#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Handles.h"
#include "platform/NotificationArea.h"

namespace qb::platform {

// The two kinds of notification area. An embedding tray (the X11 system tray protocol) passes
// on raw clicks: a double-click arrives as Trigger then DoubleClick. A tray of
// StatusNotifierItems (over D-Bus) passes on what the user meant: its host's activation
// arrives as Trigger alone and DoubleClick never comes.
enum class TrayKind { Embedding, Activation };

// The mouse messages an icon's owner is told for one activation of the icon. An activation
// is what opens a program on its tray, so there it is the owner's double-click.
std::vector<TrayMouse> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason, TrayKind kind);

// Whether the session bus has a StatusNotifierWatcher with a host registered: then the icons
// are StatusNotifierItems. The same test Qt makes for its own choice.
bool statusNotifierHostRegistered();

// Shows one icon per (owner, identifier) with the record's icon and tip, and delivers its
// mouse activity to the owner as the record's callback message. The icon goes to whichever
// kind of area the desktop has now: a StatusNotifierItem while a host is registered, else a
// QSystemTrayIcon, which Qt puts into an X11 tray as soon as one appears. When a host comes,
// goes or is replaced, every icon is made again on the kind that is there then.
class QtNotificationArea final : public QObject, public NotificationArea {
  public:
    explicit QtNotificationArea(Handles& handles) : handles_(handles) {}
    void notifyIcon(TrayCommand command, const IconRecord& record,
                    std::u16string_view tip) override;
    bool isAvailable() override;

  private:
    struct Icon {
        QIcon picture;
        QString tip;
        std::uint32_t callback = 0;
        QObject* shown = nullptr;  // a QSystemTrayIcon or a StatusNotifierItem
    };
    using Key = std::pair<std::uint32_t, std::uint32_t>;  // owner, identifier

    // Decided with the first icon and again whenever the session bus's hosts change.
    TrayKind kind();
    void hostsChanged();
    void show(const Key& key, Icon& icon);
    static void withdraw(QObject* shown);

    Handles& handles_;
    std::optional<TrayKind> kind_;
    QString watcherOwner_;  // the watcher the items were registered with
    std::map<Key, Icon> icons_;
};

}  // namespace qb::platform
