#include "platform/linux/QtNotificationArea.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

#include "platform/WindowMessage.h"
#include "platform/linux/StatusNotifierItem.h"

namespace qb::platform {

std::vector<TrayMouse> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason, TrayKind kind) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            if (kind == TrayKind::Activation) return {TrayMouse::LeftDouble, TrayMouse::LeftUp};
            return {TrayMouse::LeftDown, TrayMouse::LeftUp};
        case QSystemTrayIcon::DoubleClick:
            return {TrayMouse::LeftDouble, TrayMouse::LeftUp};
        case QSystemTrayIcon::Context:
            return {TrayMouse::RightDown, TrayMouse::RightUp};
        case QSystemTrayIcon::MiddleClick:
            return {TrayMouse::MiddleDown, TrayMouse::MiddleUp};
        default:
            return {};
    }
}

bool statusNotifierHostRegistered() {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher)) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

namespace {
QString watcherOwner() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return {};
    return bus.interface()->serviceOwner(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

TrayKind kindThereNow() {
    return statusNotifierHostRegistered() ? TrayKind::Activation : TrayKind::Embedding;
}
}  // namespace

TrayKind QtNotificationArea::kind() {
    if (!kind_) {
        auto* watch = new StatusNotifierWatch(this);
        connect(watch, &StatusNotifierWatch::changed, this, &QtNotificationArea::hostsChanged);
        kind_ = kindThereNow();
        watcherOwner_ = watcherOwner();
    }
    return *kind_;
}

void QtNotificationArea::hostsChanged() {
    const TrayKind now = kindThereNow();
    const QString owner = watcherOwner();
    const bool sameKind = now == *kind_;
    // A host that joins a watcher already serving the icons changes nothing the user sees.
    if (sameKind && (now == TrayKind::Embedding || owner == watcherOwner_)) return;
    kind_ = now;
    watcherOwner_ = owner;
    for (auto& [key, icon] : icons_) {
        if (sameKind) {
            // Another watcher: the items stay on the bus as they are; it only needs telling.
            static_cast<StatusNotifierItem*>(icon.shown)->registerWithWatcher();
            continue;
        }
        withdraw(icon.shown);
        show(key, icon);
    }
}

void QtNotificationArea::withdraw(QObject* shown) {
    if (auto* trayIcon = qobject_cast<QSystemTrayIcon*>(shown)) trayIcon->hide();
    if (auto* item = qobject_cast<StatusNotifierItem*>(shown)) item->withdraw();
    // Gone from the area at once; deleted once the event that asked for it is over, since
    // that may be the icon's own click.
    shown->deleteLater();
}

void QtNotificationArea::show(const Key& key, Icon& icon) {
    const auto [owner, identifier] = key;
    const std::uint32_t callback = icon.callback;
    const TrayKind trayKind = kind();
    // Posted, not sent: the owner may open a modal menu or remove this very icon, which must
    // not happen while the icon is still handling the click.
    auto deliver = [this, owner, identifier, callback,
                    trayKind](QSystemTrayIcon::ActivationReason reason) {
        QWidget* window = handles_.window(owner);
        if (window == nullptr) return;
        for (TrayMouse mouse : mouseMessagesFor(reason, trayKind))
            QCoreApplication::postEvent(
                window,
                new WindowMessageEvent(callback, identifier, static_cast<std::uint32_t>(mouse)));
    };
    if (trayKind == TrayKind::Activation) {
        auto* item = new StatusNotifierItem(icon.picture, icon.tip, this);
        connect(item, &StatusNotifierItem::activated, this, deliver);
        item->registerWithWatcher();
        icon.shown = item;
        return;
    }
    auto* trayIcon = new QSystemTrayIcon(icon.picture, this);
    trayIcon->setToolTip(icon.tip);
    connect(trayIcon, &QSystemTrayIcon::activated, this, deliver);
    // Shown even while the desktop has no notification area: Qt puts it into an X11 tray
    // as soon as one appears.
    trayIcon->show();
    icon.shown = trayIcon;
}

void QtNotificationArea::notifyIcon(TrayCommand command, const IconRecord& record,
                                    std::u16string_view tip) {
    const std::uint32_t owner = iconRecord::get(record, iconRecord::kOwnerWindow);
    const std::uint32_t identifier = iconRecord::get(record, iconRecord::kIdentifier);
    const Key key{owner, identifier};
    if (command == TrayCommand::Delete) {
        auto it = icons_.find(key);
        if (it == icons_.end()) return;
        withdraw(it->second.shown);
        icons_.erase(it);
        return;
    }
    if (command != TrayCommand::Add || icons_.count(key)) return;
    Icon& icon = icons_[key];
    icon.picture = handles_.icon(iconRecord::get(record, iconRecord::kIcon));
    icon.tip = QString::fromStdU16String(std::u16string(tip));
    icon.callback = iconRecord::get(record, iconRecord::kCallbackMessage);
    show(key, icon);
}

// Qt is asked only while no host is registered: the first question also makes Qt's one choice
// of kind for the whole run, and that choice must be the X11 tray, as the items of the other
// kind are served here.
bool QtNotificationArea::isAvailable() {
    return kind() == TrayKind::Activation || QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace qb::platform
