#include "QtNotificationArea.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

#include "WindowMessage.h"

namespace qb::platform {

std::vector<TrayMouse> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason, TrayKind kind) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            if (kind == TrayKind::Activation) return {TrayMouse::LeftDouble, TrayMouse::LeftUp};
            return {TrayMouse::LeftDown, TrayMouse::LeftUp};
        case QSystemTrayIcon::DoubleClick: return {TrayMouse::LeftDouble, TrayMouse::LeftUp};
        case QSystemTrayIcon::Context: return {TrayMouse::RightDown, TrayMouse::RightUp};
        case QSystemTrayIcon::MiddleClick: return {TrayMouse::MiddleDown, TrayMouse::MiddleUp};
        default: return {};
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

TrayKind QtNotificationArea::kind() {
    if (!kind_)
        kind_ = statusNotifierHostRegistered() ? TrayKind::Activation : TrayKind::Embedding;
    return *kind_;
}

void QtNotificationArea::notifyIcon(TrayCommand command, const IconRecord& record,
                                    std::u16string_view tip) {
    const std::uint32_t owner = iconRecord::get(record, iconRecord::kOwnerWindow);
    const std::uint32_t identifier = iconRecord::get(record, iconRecord::kIdentifier);
    const auto key = std::make_pair(owner, identifier);
    if (command == TrayCommand::Delete) {
        auto it = icons_.find(key);
        if (it == icons_.end()) return;
        // Hidden at once; deleted once the event that asked for it is over, since that may
        // be the icon's own click.
        it->second->hide();
        it->second->deleteLater();
        icons_.erase(it);
        return;
    }
    if (command != TrayCommand::Add || icons_.count(key)) return;
    const std::uint32_t callback = iconRecord::get(record, iconRecord::kCallbackMessage);
    const TrayKind trayKind = kind();
    auto* icon =
        new QSystemTrayIcon(handles_.icon(iconRecord::get(record, iconRecord::kIcon)), this);
    icon->setToolTip(QString::fromStdU16String(std::u16string(tip)));
    // Posted, not sent: the owner may open a modal menu or remove this very icon, which must
    // not happen while the icon is still handling the click.
    connect(icon, &QSystemTrayIcon::activated, this,
            [this, owner, identifier, callback, trayKind](QSystemTrayIcon::ActivationReason reason) {
                QWidget* window = handles_.window(owner);
                if (window == nullptr) return;
                for (TrayMouse mouse : mouseMessagesFor(reason, trayKind))
                    QCoreApplication::postEvent(
                        window, new WindowMessageEvent(callback, identifier,
                                                       static_cast<std::uint32_t>(mouse)));
            });
    // Shown even while the desktop has no notification area: Qt puts it there as soon as
    // one appears.
    icon->show();
    icons_[key] = icon;
}

bool QtNotificationArea::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace qb::platform
