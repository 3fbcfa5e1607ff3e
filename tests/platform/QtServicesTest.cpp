#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <array>
#include <cstring>

#include "platform/Handles.h"
#include "platform/WindowMessage.h"
#include "platform/linux/QtServices.h"
#include "platform/linux/QtSoundPlayer.h"
#include "platform/linux/StatusNotifierItem.h"
#include "platform/linux/SystemInfoRegistry.h"
#include "tray/Tray.h"

using namespace qb;
using namespace qb::platform;

namespace {

// Answers the next modal box with the button whose text contains `button`, and notes what
// the box showed.
struct BoxAnswerer {
    explicit BoxAnswerer(QString b) : button(std::move(b)) {}
    QString button;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;

    void arm() {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove('&').contains(button)) b->click();
            poll->deleteLater();
        });
        poll->start(10);
    }
};

// Receives what the notification area delivers to an icon's owner.
class Owner final : public QWidget {
  public:
    QList<QList<std::uint32_t>> received;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == WindowMessageEvent::type()) {
            auto* m = static_cast<WindowMessageEvent*>(e);
            received << QList<std::uint32_t>{m->message, m->wParam, m->lParam};
            return true;
        }
        return QWidget::event(e);
    }
};

// A window that owns tray icons, with the handles the records name it and its icon by.
struct IconOwner {
    static constexpr auto mm = static_cast<std::uint32_t>(TrayMouse::Move);
    Handles handles;
    Owner owner;
    QIcon icon{QStringLiteral(":/app.ico")};
    std::int32_t add(Tray& tray, const std::u16string& tip) {
        return tray.AddTrayIcon(handles.ofWindow(&owner), mm, handles.ofIcon(icon), tip);
    }
};

}  // namespace

class QtServicesTest : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxesAnswerAsTheProgramExpects() {
        QtMessageBoxes boxes;
        BoxAnswerer yes("Yes");
        yes.arm();
        QCOMPARE(boxes.messageBox(nullptr, "是否不用字典?", kYesNoQuestion, "Quillbook"),
                 int(kAnswerYes));
        QCOMPARE(yes.text, QStringLiteral("是否不用字典?"));
        QCOMPARE(yes.title, QStringLiteral("Quillbook"));
        QCOMPARE(yes.icon, QMessageBox::Question);
        QCOMPARE(yes.buttons.size(), 2);

        BoxAnswerer no("No");
        no.arm();
        QCOMPARE(boxes.messageBox(nullptr, "?", kYesNoQuestion, "Quillbook"), int(kAnswerNo));

        BoxAnswerer ok("OK");
        ok.arm();
        QCOMPARE(boxes.messageBox(nullptr, "請先輸入字串", kOkOnly, "Quillbook"), int(kAnswerOk));
        QCOMPARE(ok.icon, QMessageBox::NoIcon);
        QCOMPARE(ok.buttons, QStringList{"OK"});
    }

    void topmostAndShapeReachTheWindow() {
        QWidget window;
        QtWindowPlacement placement;
        placement.setTopmost(window, true);  // before the window exists on screen
        window.show();
        QVERIFY(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        placement.setTopmost(window, false);
        QVERIFY(!(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint));

        QtWindowShape shape;
        shape.setShape(window, QRegion(0, 0, 5, 5));
        QCOMPARE(window.mask(), QRegion(0, 0, 5, 5));
        shape.setShape(window, QRegion());
        QVERIFY(window.mask().isEmpty());
    }

    void readsTheClickSoundsSamplesOrNothing() {
        // A WAV file of chunks; `fmt` is encoding, channels, rate, bits.
        auto chunk = [](const QByteArray& id, const QByteArray& body) {
            QByteArray c = id;
            const quint32 size = body.size();
            c.append(reinterpret_cast<const char*>(&size), 4).append(body);
            if (body.size() % 2) c.append('\0');
            return c;
        };
        auto fmt = [&](quint16 encoding, quint16 channels, quint32 rate, quint16 bits) {
            QByteArray b(16, '\0');
            const quint16 align = channels * bits / 8;
            const quint32 perSecond = rate * align;
            memcpy(b.data(), &encoding, 2);
            memcpy(b.data() + 2, &channels, 2);
            memcpy(b.data() + 4, &rate, 4);
            memcpy(b.data() + 8, &perSecond, 4);
            memcpy(b.data() + 12, &align, 2);
            memcpy(b.data() + 14, &bits, 2);
            return chunk("fmt ", b);
        };
        auto riff = [](const QByteArray& chunks) {
            QByteArray f = "RIFF";
            const quint32 size = chunks.size() + 4;
            return f.append(reinterpret_cast<const char*>(&size), 4).append("WAVE").append(chunks);
        };
        const QByteArray samples("\x01\x02\x03\x04\x05\x06", 6);
        struct Case {
            const char* what;
            QByteArray file;
            int channels, rate;  // 0: nothing read
            QByteArray expected;
        };
        const Case cases[] = {
            {"16-bit mono", riff(fmt(1, 1, 22050, 16) + chunk("data", samples)), 1, 22050, samples},
            {"8-bit stereo after an odd chunk",
             riff(fmt(1, 2, 8000, 8) + chunk("LIST", "abc") + chunk("data", samples)), 2, 8000,
             samples},
            {"a half frame at the end is dropped",
             riff(fmt(1, 1, 44100, 16) + chunk("data", samples.left(5))), 1, 44100,
             samples.left(4)},
            {"compressed", riff(fmt(2, 1, 22050, 4) + chunk("data", samples)), 0, 0, {}},
            {"samples before their format",
             riff(chunk("data", samples) + fmt(1, 1, 22050, 16)),
             0,
             0,
             {}},
            {"cut short", riff(fmt(1, 1, 22050, 16) + chunk("data", samples)).chopped(3), 0, 0, {}},
            {"not a WAV file", QByteArray("ID3\x03 not a wave file at all"), 0, 0, {}},
        };
        QTemporaryDir dir;
        for (const Case& c : cases) {
            const QString path = dir.filePath(QString::fromLatin1(c.what));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(c.file);
            f.close();
            const auto sound = readWav(path);
            QVERIFY2(sound.has_value() == (c.channels > 0), c.what);
            if (!sound) continue;
            QCOMPARE(sound->format.channelCount(), c.channels);
            QCOMPARE(sound->format.sampleRate(), c.rate);
            QCOMPARE(sound->samples, c.expected);
        }
        QVERIFY(!readWav(dir.filePath("missing.wav")));
        // The program's own click is one of the files it can play.
        QVERIFY(readWav(QStringLiteral(QB_SOURCE_DIR "/resources/flip.wav")).has_value());
    }

    void eachKindOfTrayTellsTheOwnerWhatTheUserDid() {
        using R = QSystemTrayIcon::ActivationReason;
        using M = std::vector<TrayMouse>;
        struct Case {
            R reason;
            M embedding, activation;
        };
        const Case cases[] = {
            // A single click on an embedding tray opens nothing; an activation opens the program.
            {R::Trigger,
             {TrayMouse::LeftDown, TrayMouse::LeftUp},
             {TrayMouse::LeftDouble, TrayMouse::LeftUp}},
            {R::DoubleClick,
             {TrayMouse::LeftDouble, TrayMouse::LeftUp},
             {TrayMouse::LeftDouble, TrayMouse::LeftUp}},
            {R::Context,
             {TrayMouse::RightDown, TrayMouse::RightUp},
             {TrayMouse::RightDown, TrayMouse::RightUp}},
            {R::MiddleClick,
             {TrayMouse::MiddleDown, TrayMouse::MiddleUp},
             {TrayMouse::MiddleDown, TrayMouse::MiddleUp}},
            {R::Unknown, {}, {}},
        };
        for (const Case& c : cases) {
            QCOMPARE(mouseMessagesFor(c.reason, TrayKind::Embedding), c.embedding);
            QCOMPARE(mouseMessagesFor(c.reason, TrayKind::Activation), c.activation);
        }
    }

    void statusNotifierPicturesAreUnpremultipliedArgbAlphaFirst() {
        struct Pixel {
            QRgb colour;
            const char* bytes;
        };
        const Pixel pixels[] = {
            {qRgba(0x12, 0x34, 0x56, 0xFF), "\xFF\x12\x34\x56"},
            {qRgba(0xFF, 0x00, 0x00, 0x80), "\x80\xFF\x00\x00"},  // not premultiplied
            {qRgba(0x00, 0x00, 0x00, 0x00), "\x00\x00\x00\x00"},
        };
        QImage image(3, 1, QImage::Format_ARGB32);
        QByteArray expected;
        for (int x = 0; x < 3; ++x) {
            image.setPixel(x, 0, pixels[x].colour);
            expected.append(pixels[x].bytes, 4);
        }
        const SniPixmaps pictures = sniPixmaps(QIcon(QPixmap::fromImage(image)));
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures[0].width, 3);
        QCOMPARE(pictures[0].height, 1);
        QCOMPARE(pictures[0].argb, expected);
    }

    void statusNotifierItemsOfferTheIconsOwnSizesUpTo64() {
        struct Case {
            QList<int> sizes, offered;
        };
        const Case cases[] = {
            {{16, 32}, {16, 32}},
            {{16, 64, 128}, {16, 64}},
            {{128, 256}, {22, 48}},  // drawn smaller from the large ones
        };
        for (const Case& c : cases) {
            QIcon icon;
            for (int size : c.sizes) {
                QPixmap picture(size, size);
                picture.fill(Qt::red);
                icon.addPixmap(picture);
            }
            QList<int> offered;
            for (const SniPixmap& picture : sniPixmaps(icon)) {
                QCOMPARE(picture.argb.size(), picture.width * picture.height * 4);
                QCOMPARE(picture.width, picture.height);
                offered << picture.width;
            }
            QCOMPARE(offered, c.offered);
        }
    }

    void aWindowMinimisedForWantOfATrayComesBackWhole() {
        QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        QtWindowPlacement placement;
        window.show();
        placement.setTopmost(window, true);
        placement.minimizeToTaskbar(window);
        QVERIFY(window.isMinimized());
        QCOMPARE(window.windowType(), Qt::Window);  // a taskbar button to come back by
        for (int time = 0; time < 2; ++time) {
            placement.showRestored(window);
            QVERIFY(window.isVisible());
            QVERIFY(!window.isMinimized());
            QCOMPARE(window.windowType(), Qt::Tool);
            QVERIFY(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
            QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
            window.hide();
        }
    }

    void aMoveByTheWindowItselfEndsWithItsOwnButton() {
        QWidget window;
        window.setGeometry(100, 100, 50, 50);
        window.show();
        QtWindowMove move;
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                        Qt::MouseButtons held) {
            QMouseEvent e(type, QPointF(window.mapFromGlobal(at)), QPointF(at), button, held, {});
            QApplication::sendEvent(&window, &e);
        };
        // Offscreen there is no window manager, so every button moves the window itself.
        const QPoint start = window.frameGeometry().topLeft();
        move.beginMove(window, {110, 110}, Qt::RightButton);
        send(QEvent::MouseMove, {150, 130}, Qt::NoButton, Qt::RightButton);
        QCOMPARE(window.frameGeometry().topLeft(), start + QPoint(40, 20));
        send(QEvent::MouseButtonRelease, {150, 130}, Qt::LeftButton,
             Qt::RightButton);  // another one
        send(QEvent::MouseMove, {160, 130}, Qt::NoButton, Qt::RightButton);
        QCOMPARE(window.frameGeometry().topLeft(), start + QPoint(50, 20));
        send(QEvent::MouseButtonRelease, {160, 130}, Qt::RightButton, Qt::NoButton);
        send(QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(window.frameGeometry().topLeft(), start + QPoint(50, 20));  // stays put
    }

    void theNotificationAreaShowsRecordsAndDeliversClicks() {
        IconOwner o;
        QtNotificationArea area(o.handles);
        Owner& owner = o.owner;
        Tray tray(area);
        const auto mm = IconOwner::mm;
        const auto id = o.add(tray, u"字典 Wordquill");
        auto icons = area.findChildren<QSystemTrayIcon*>();
        QCOMPARE(icons.size(), 1);
        QCOMPARE(icons[0]->toolTip(), QStringLiteral("字典 Wordquill"));
        QVERIFY(!icons[0]->icon().isNull());

        emit icons[0]->activated(QSystemTrayIcon::Trigger);
        emit icons[0]->activated(QSystemTrayIcon::DoubleClick);
        emit icons[0]->activated(QSystemTrayIcon::Context);
        QVERIFY(owner.received.isEmpty());  // posted, so the icon's own click ends first
        QCoreApplication::processEvents();
        const auto uid = static_cast<std::uint32_t>(id);
        QCOMPARE(owner.received, (QList<QList<std::uint32_t>>{{mm, uid, 0x201},
                                                              {mm, uid, 0x202},
                                                              {mm, uid, 0x203},
                                                              {mm, uid, 0x202},
                                                              {mm, uid, 0x204},
                                                              {mm, uid, 0x205}}));

        const QPointer<QSystemTrayIcon> shown = icons[0];
        tray.RemoveTrayIcon(id);
        QVERIFY(!shown->isVisible());
        tray.RemoveTrayIcon(id);  // a second removal finds nothing more to take away
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(shown.isNull());  // deleted, not only hidden
        QVERIFY(area.findChildren<QSystemTrayIcon*>().isEmpty());

        // A click that was posted before the icon went away reaches nobody once the owner
        // is gone, and the icon can be added again under a new number.
        const auto again = o.add(tray, u"x");
        QCOMPARE(again, id + 1);
        QCOMPARE(area.findChildren<QSystemTrayIcon*>().size(), 1);
    }

    // The registry's stand-in gives the program's path as the system's registry would, in
    // code page 950 and NUL-terminated; a path that code page cannot hold is no path at all,
    // since it would lead to another file.
    void theRegistryGivesTheProgramsPathInCodePage950() {
        struct Case {
            const char* name;
            QString folder;
            QByteArray bytes;  // the folder in the value; empty: the value is not there
        };
        const QList<Case> cases{
            {"ASCII", QStringLiteral("plain"), "plain"},
            {"Chinese", QStringLiteral("字典"), "\xA6\x72\xA8\xE5"},
            {"euro sign", QStringLiteral("€"), "\xA3\xE1"},
            {"letter without a code", QStringLiteral("\u0100"), {}},
            {"invisible character", QStringLiteral("a\u200Bb"), {}},  // written as no bytes
            {"beyond 16 bits", QStringLiteral("\U0001F600"), {}},
        };
        QTemporaryDir root;
        SystemInfoRegistry registry;
        RegistryKey key = 0;
        QCOMPARE(registry.openKey(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0,
                                  kQueryValueAccess, key),
                 kRegistrySuccess);
        const QByteArray savedPath = qgetenv("PATH");
        for (const Case& c : cases) {
            const QString folder = root.filePath(c.folder);
            QVERIFY2(QDir().mkpath(folder), c.name);
            QFile program(folder + QStringLiteral("/hardinfo"));
            QVERIFY2(program.open(QIODevice::WriteOnly), c.name);
            program.setPermissions(program.permissions() | QFile::ExeOwner);
            program.close();
            qputenv("PATH", QFile::encodeName(folder));
            std::array<std::uint8_t, 1024> data{};
            std::uint32_t size = data.size(), type = 0;
            const RegistryStatus status = registry.queryValue(key, "PATH", type, data.data(), size);
            qputenv("PATH", savedPath);
            if (c.bytes.isEmpty()) {
                QVERIFY2(status == kRegistryNotFound, c.name);
                continue;
            }
            QVERIFY2(status == kRegistrySuccess && type == kValueText, c.name);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(data.data()), size),
                     QFile::encodeName(root.path()) + '/' + c.bytes + "/hardinfo" + '\0');
        }
        QCOMPARE(registry.closeKey(key), kRegistrySuccess);
    }

    void iconsAskedForBeforeTheEventLoopRunsComeOnceItDoesInOrder() {
        IconOwner o;
        QtNotificationArea area(o.handles);
        DeferredNotificationArea deferred(area);
        Tray tray(deferred);
        // Work queued before the first icon was asked for, like the start-up's click sound,
        // still comes before it.
        bool iconsBeforeEarlierWork = false;
        QTimer::singleShot(0, &area, [&] {
            iconsBeforeEarlierWork = !area.findChildren<QSystemTrayIcon*>().isEmpty();
        });
        const auto first = o.add(tray, u"first");
        o.add(tray, u"second");
        tray.RemoveTrayIcon(first);
        QVERIFY(area.findChildren<QSystemTrayIcon*>().isEmpty());
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto icons = area.findChildren<QSystemTrayIcon*>();
        QCOMPARE(icons.size(), 1);  // the first was added, then removed
        QCOMPARE(icons[0]->toolTip(), QStringLiteral("second"));  // the tip outlived its caller's
        QVERIFY(!iconsBeforeEarlierWork);

        o.add(tray, u"third");
        QCOMPARE(area.findChildren<QSystemTrayIcon*>().size(), 2);  // straight on, once it has run
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
