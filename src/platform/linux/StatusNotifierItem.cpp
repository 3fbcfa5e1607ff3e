#include "platform/linux/StatusNotifierItem.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QImage>

namespace qb::platform {

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<SniPixmap>();
        qDBusRegisterMetaType<SniPixmaps>();
        qDBusRegisterMetaType<SniToolTip>();
        return true;
    }();
    (void)registered;
}

SniPixmap sniPixmap(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    SniPixmap pixmap{image.width(), image.height(), {}};
    pixmap.argb.reserve(image.width() * image.height() * 4);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            for (int channel : {qAlpha(pixel), qRed(pixel), qGreen(pixel), qBlue(pixel)})
                pixmap.argb.append(static_cast<char>(channel));
        }
    return pixmap;
}
}  // namespace

SniPixmaps sniPixmaps(const QIcon& icon) {
    constexpr int kLargest = 64;
    QList<QSize> sizes;
    for (const QSize& size : icon.availableSizes())
        if (size.width() <= kLargest && size.height() <= kLargest) sizes << size;
    if (sizes.isEmpty()) sizes = {QSize(22, 22), QSize(48, 48)};
    SniPixmaps pixmaps;
    for (const QSize& size : sizes) {
        const QImage image = icon.pixmap(size, 1.0).toImage();
        if (!image.isNull()) pixmaps << sniPixmap(image);
    }
    return pixmaps;
}

const QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.argb;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.argb;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip) {
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.description;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.description;
    argument.endStructure();
    return argument;
}

StatusNotifierItem::StatusNotifierItem(const QIcon& icon, const QString& tip, QObject* parent)
    : QObject(parent), pixmaps_(sniPixmaps(icon)), tip_(tip) {
    registerTypes();
    static int made = 0;
    ++made;
    const qint64 pid = QCoreApplication::applicationPid();
    connectionName_ = QStringLiteral("qb-tray-item-%1").arg(made);
    serviceName_ = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(pid).arg(made);
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    connected_ = bus.isConnected();
    if (!connected_) {
        QDBusConnection::disconnectFromBus(connectionName_);
        return;
    }
    bus.registerObject(
        kItemPath, this,
        QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableProperties);
    // A watcher takes the connection's own name as well, should the usual one be taken.
    if (!bus.registerService(serviceName_)) serviceName_ = bus.baseService();
}

StatusNotifierItem::~StatusNotifierItem() {
    withdraw();
}

void StatusNotifierItem::registerWithWatcher() {
    if (!connected_) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kWatcherService, kWatcherPath, kWatcherService,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << serviceName_;
    QDBusConnection(connectionName_).asyncCall(call);
}

void StatusNotifierItem::withdraw() {
    if (!connected_) return;
    connected_ = false;
    QDBusConnection::disconnectFromBus(connectionName_);
}

QString StatusNotifierItem::id() const {
    return QCoreApplication::applicationName();
}

QString StatusNotifierItem::title() const {
    return QGuiApplication::applicationDisplayName();
}

void StatusNotifierItem::Activate(int, int) {
    emit activated(QSystemTrayIcon::Trigger);
}

void StatusNotifierItem::SecondaryActivate(int, int) {
    emit activated(QSystemTrayIcon::MiddleClick);
}

void StatusNotifierItem::ContextMenu(int, int) {
    emit activated(QSystemTrayIcon::Context);
}

// The program has nothing to scroll through.
void StatusNotifierItem::Scroll(int, const QString&) {}

StatusNotifierWatch::StatusNotifierWatch(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(100);
    connect(&settle_, &QTimer::timeout, this, &StatusNotifierWatch::changed);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    auto* watcher = new QDBusServiceWatcher(kWatcherService, bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &StatusNotifierWatch::hostsChanged);
    // A watcher may come before its host: the panel's own process starts it and the host
    // registers once the panel is up.
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(kWatcherService, kWatcherPath, kWatcherService, QString::fromLatin1(signal),
                    this, SLOT(hostsChanged()));
}

void StatusNotifierWatch::hostsChanged() {
    settle_.start();
}

}  // namespace qb::platform
