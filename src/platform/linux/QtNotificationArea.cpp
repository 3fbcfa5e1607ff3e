#include "QtNotificationArea.h"

#include <QCoreApplication>
#include <string>
#include <vector>

#include "Big5Codec.h"
#include "Handles.h"

namespace qb::platform {
namespace {

std::uint32_t get32(const IconRecord& record, size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | record[offset + i];
    return value;
}

QString tipOf(const IconRecord& record) {
    std::string bytes(reinterpret_cast<const char*>(record.data()) + 24, 64);
    bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
    static Big5Codec codec;
    return QString::fromStdU16String(codec.decode(bytes));
}

// What a tray icon's owner has always been told for each kind of activation.
std::vector<std::uint32_t> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger: return {WM_LBUTTONDOWN, WM_LBUTTONUP};
        case QSystemTrayIcon::DoubleClick: return {WM_LBUTTONDBLCLK, WM_LBUTTONUP};
        case QSystemTrayIcon::Context: return {WM_RBUTTONDOWN, WM_RBUTTONUP};
        case QSystemTrayIcon::MiddleClick: return {WM_MBUTTONDOWN, WM_MBUTTONUP};
        default: return {};
    }
}

}  // namespace

void QtNotificationArea::Shell_NotifyIcon(std::uint32_t message, const IconRecord& record) {
    const std::uint32_t owner = get32(record, 4);
    const std::uint32_t identifier = get32(record, 8);
    const auto key = std::make_pair(owner, identifier);
    if (message == NIM_DELETE) {
        auto it = icons_.find(key);
        if (it == icons_.end()) return;
        it->second->hide();
        icons_.erase(it);
        return;
    }
    if (message != NIM_ADD || icons_.count(key)) return;
    const std::uint32_t callback = get32(record, 16);
    auto* icon = new QSystemTrayIcon(Handles::instance().icon(get32(record, 20)), this);
    icon->setToolTip(tipOf(record));
    // Posted, not sent: the owner may open a modal menu or remove this very icon, which must
    // not happen while the icon is still handling the click.
    connect(icon, &QSystemTrayIcon::activated, this,
            [owner, identifier, callback](QSystemTrayIcon::ActivationReason reason) {
                QWidget* window = Handles::instance().window(owner);
                if (window == nullptr) return;
                for (std::uint32_t mouse : mouseMessagesFor(reason))
                    QCoreApplication::postEvent(
                        window, new WindowMessageEvent(callback, identifier, mouse));
            });
    // Shown even while the desktop has no notification area: Qt puts it there as soon as
    // one appears.
    icon->show();
    icons_[key] = icon;
}

bool QtNotificationArea::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace qb::platform
