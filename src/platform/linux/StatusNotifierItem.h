#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>

namespace qb::platform {

// One picture of an icon as StatusNotifierItems carry it: 32-bit ARGB pixels, each in
// network byte order (alpha first), unpremultiplied.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;
};
using SniPixmaps = QList<SniPixmap>;

// The pictures a host may choose from: the icon's own sizes up to 64 pixels, or two common
// sizes drawn from it when it has none that small.
SniPixmaps sniPixmaps(const QIcon& icon);

struct SniToolTip {
    QString iconName;
    SniPixmaps pixmaps;
    QString title;
    QString description;
};

const QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap);
const QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip);

}  // namespace qb::platform

Q_DECLARE_METATYPE(qb::platform::SniPixmap)
Q_DECLARE_METATYPE(qb::platform::SniToolTip)

namespace qb::platform {

// A tray icon served by the program itself as a StatusNotifierItem. Qt picks between its
// own item and the X11 tray once per process, so an area of this kind that appears later
// would never see a QSystemTrayIcon. Each item has a bus connection of its own, as every
// item lives at the same object path. Reports the host's requests as the activation reasons
// a QSystemTrayIcon would.
class StatusNotifierItem final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString Id READ id CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString Title READ title CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString Status READ status CONSTANT SCRIPTABLE true)
    Q_PROPERTY(int WindowId READ windowId CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString IconName READ noName CONSTANT SCRIPTABLE true)
    Q_PROPERTY(qb::platform::SniPixmaps IconPixmap READ iconPixmap CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString OverlayIconName READ noName CONSTANT SCRIPTABLE true)
    Q_PROPERTY(qb::platform::SniPixmaps OverlayIconPixmap READ noPixmaps CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString AttentionIconName READ noName CONSTANT SCRIPTABLE true)
    Q_PROPERTY(qb::platform::SniPixmaps AttentionIconPixmap READ noPixmaps CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QString AttentionMovieName READ noName CONSTANT SCRIPTABLE true)
    Q_PROPERTY(qb::platform::SniToolTip ToolTip READ toolTip CONSTANT SCRIPTABLE true)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT SCRIPTABLE true)
    Q_PROPERTY(QDBusObjectPath Menu READ menu CONSTANT SCRIPTABLE true)

  public:
    StatusNotifierItem(const QIcon& icon, const QString& tip, QObject* parent);
    ~StatusNotifierItem() override;

    // Asks the session's StatusNotifierWatcher to show the item; again after the watcher
    // was replaced, as a new watcher knows no items.
    void registerWithWatcher();
    // Leaves the bus at once, so the host drops the item before this object is deleted.
    void withdraw();

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const;
    QString title() const;
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString noName() const { return {}; }
    SniPixmaps iconPixmap() const { return pixmaps_; }
    SniPixmaps noPixmaps() const { return {}; }
    SniToolTip toolTip() const { return {{}, {}, tip_, {}}; }
    bool itemIsMenu() const { return false; }
    // The owner opens its own menu on ContextMenu; no menu is exported.
    QDBusObjectPath menu() const { return QDBusObjectPath(QStringLiteral("/NO_DBUSMENU")); }

  public slots:
    Q_SCRIPTABLE void Activate(int x, int y);
    Q_SCRIPTABLE void SecondaryActivate(int x, int y);
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    Q_SCRIPTABLE void Scroll(int delta, const QString& orientation);

  signals:
    void activated(QSystemTrayIcon::ActivationReason reason);

  private:
    QString connectionName_;
    QString serviceName_;
    SniPixmaps pixmaps_;
    QString tip_;
    bool connected_ = false;
};

// Watches the session bus for the StatusNotifierWatcher and its hosts coming and going,
// and says so, once for a burst of changes (a watcher restarting leaves and comes back).
class StatusNotifierWatch final : public QObject {
    Q_OBJECT
  public:
    explicit StatusNotifierWatch(QObject* parent);

  signals:
    void changed();

  private slots:
    void hostsChanged();

  private:
    QTimer settle_;
};

}  // namespace qb::platform
