#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "QtServices.h"
#include "SysInfo.h"

using namespace qb;

class FrmAboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::MainWindowHarness> h;
    test::FakeDesktop* desktop = nullptr;

    static QList<frmAbout*> aboutWindows() {
        QList<frmAbout*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* about = qobject_cast<frmAbout*>(w); about && about->isVisible())
                found << about;
        return found;
    }
    frmAbout* openAbout() {
        QTest::mouseClick(h->form->Cmd_About, Qt::LeftButton);
        const QList<frmAbout*> open = aboutWindows();
        return open.size() == 1 ? open.first() : nullptr;
    }
    void activate(QWidget* window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

private slots:
    void init() {
        h = std::make_unique<test::MainWindowHarness>([](test::TempLibrary&) {});
        h->start();
        desktop = h->desktop.get();
        desktop->log.clear();
    }
    void cleanup() { h.reset(); }

    void opensOnceWithoutSoundOrOwner() {
        frmAbout* about = openAbout();
        QVERIFY(about);
        QCOMPARE(openAbout(), about);
        QCOMPARE(desktop->log, QStringList{});  // no click sound, no change of the band
        QCOMPARE(about->parentWidget(), nullptr);
        QCOMPARE(about->geometry(), QRect(156, 129, 326, 236));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QVERIFY(!(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        activate(about);
        QCOMPARE(QApplication::focusWidget(), about->cmdOK);
        QVERIFY(about->cmdOK->isDefault());
        QTest::keyClick(about->cmdOK, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about->cmdSysInfo);
        QTest::keyClick(about->cmdSysInfo, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about->cmdOK);
    }

    void everyTextFitsItsControl() {
        frmAbout* about = openAbout();
        struct Place {
            QLabel* label;
            QRect geometry;
            qreal points;
        };
        const QList<Place> places{
            {about->lblTitle, {120, 16, 211, 32}, 14.25},
            {about->lblVersion[2], {264, 24, 73, 17}, 8.25},
            {about->lblVersion[0], {120, 48, 225, 17}, 8.25},
            {about->lblVersion[3], {120, 64, 225, 17}, 8.25},
            {about->lblVersion[1], {120, 88, 225, 17}, 8.25},
            {about->lblVersion[4], {120, 112, 225, 17}, 8.25},
            {about->Label3, {120, 136, 153, 17}, 9},
            {about->lblDisclaimer, {8, 168, 50, 15}, 8.25},
            {about->label_warning, {8, 184, 217, 57}, 6.75},
        };
        for (const Place& p : places) {
            const QString name = p.label->objectName();
            QCOMPARE(p.label->geometry(), p.geometry);
            QCOMPARE(p.label->font().pointSizeF(), p.points);
            QVERIFY2(QFontInfo(p.label->font()).family() == "Liberation Sans" ||
                         QFontInfo(p.label->font()).family() == "Arial",
                     qPrintable(name));
            // What the window shows of the label: some run past the window's edges.
            const QRect shown = p.geometry.intersected(about->rect());
            const QRect needed = QFontMetrics(p.label->font())
                                     .boundingRect(QRect(QPoint(), shown.size()),
                                                   Qt::TextWordWrap, p.label->text());
            QVERIFY2(!p.label->text().isEmpty(), qPrintable(name));
            QVERIFY2(needed.width() <= shown.width() && needed.height() <= shown.height(),
                     qPrintable(name + " needs " + QString::number(needed.width()) + "x" +
                                QString::number(needed.height())));
        }
        QCOMPARE(about->Image1->pixmap().deviceIndependentSize(), QSizeF(100, 108));
        QCOMPARE(about->Label3->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QVERIFY(about->Label3->font().underline());
        QVERIFY(about->lblTitle->font().bold());
        // The etched separator: grey over white, below the link and above the disclaimer.
        const QImage face = about->grab().toImage();
        QCOMPARE(face.pixelColor(100, 163), QColor(128, 128, 128));
        QCOMPARE(face.pixelColor(100, 164), QColor(255, 255, 255));
        QCOMPARE(face.pixelColor(100, 165), QColor(255, 255, 255));
        QCOMPARE(face.pixelColor(325, 164), QColor(255, 255, 255));
    }

    void everyLoadSetsTheTitleAfresh() {
        QPointer<frmAbout> first = openAbout();
        first->setWindowTitle(QStringLiteral("changed"));
        first->Label3_MouseMove();
        QTest::mouseClick(first->cmdOK, Qt::LeftButton);
        QVERIFY(!h->shared->isLoaded(first));
        QCOMPARE(aboutWindows().size(), 0);
        frmAbout* second = openAbout();
        QVERIFY(first.isNull());  // the unloaded one is gone, not shown again
        QCOMPARE(second->windowTitle(), QStringLiteral("About Quillbook"));
        QCOMPARE(second->lblTitle->text(), QStringLiteral("Quillbook"));
        QVERIFY(second->label_warning->text().contains("CC-CEDICT"));
        QCOMPARE(second->Label3->frameShape(), QFrame::NoFrame);
    }

    void keysCloseOrPressTheButtons() {
        struct Case {
            const char* name;
            bool focusOnSysInfo;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            bool closes;
            bool startsSysInfo;
        };
        const QList<Case> cases{
            {"Esc on Exit", false, Qt::Key_Escape, {}, true, false},
            {"Esc on System", true, Qt::Key_Escape, {}, true, false},
            {"Enter on Exit", false, Qt::Key_Return, {}, true, false},
            {"Enter on System", true, Qt::Key_Return, {}, false, true},
            {"Alt+S on Exit", false, Qt::Key_S, Qt::AltModifier, false, true},
        };
        for (const Case& c : cases) {
            frmAbout* about = openAbout();
            activate(about);
            if (c.focusOnSysInfo) about->cmdSysInfo->setFocus();
            desktop->log.clear();
            // Through the window, as the desktop delivers keys: shortcuts included.
            QTest::keyClick(about->windowHandle(), c.key, c.modifiers);
            // With no tool on this fake desktop, pressing System ends in the message. An access
            // key presses its button the way a click looks: the click comes a moment later.
            if (c.startsSysInfo) QTRY_VERIFY2(desktop->log.contains("message 0"), c.name);
            if (!c.startsSysInfo) QVERIFY2(desktop->log.isEmpty(), c.name);
            QVERIFY2(h->shared->isLoaded(about) == !c.closes, c.name);
            QVERIFY2(about->isVisible() == !c.closes, c.name);
            if (!c.closes) about->cmdOK_Click();
        }
    }

    void theLinkBorderFollowsThePointer() {
        struct Case {
            const char* name;
            QStringList movesOver;  // "" is the bare window surface
            bool border;
        };
        const QList<Case> cases{
            {"at first", {}, false},
            {"over the link", {"Label3"}, true},
            {"then the bare window", {"Label3", ""}, false},
            {"then another label", {"Label3", "lblVersion(4)"}, true},
            {"then the picture", {"Label3", "Image1"}, true},
            {"then a button", {"Label3", "cmdOK"}, true},
            {"picture, then the bare window", {"Label3", "Image1", ""}, false},
            {"bare window, then the link again", {"Label3", "", "Label3"}, true},
        };
        for (const Case& c : cases) {
            frmAbout* about = openAbout();
            QVERIFY(QTest::qWaitForWindowExposed(about));
            for (const QString& name : c.movesOver) {
                QWidget* over = name.isEmpty() ? static_cast<QWidget*>(about)
                                               : about->findChild<QWidget*>(name);
                // The bare surface between the picture and the version labels.
                QTest::mouseMove(over, name.isEmpty() ? QPoint(114, 100) : QPoint(3, 3));
            }
            QVERIFY2((about->Label3->frameShape() == QFrame::Box) == c.border, c.name);
            QCOMPARE(about->Label3->palette().color(QPalette::WindowText), QColor(0, 128, 0));
            about->cmdOK_Click();
        }
    }

    void aClickOnTheLinkOpensTheHomePage() {
        frmAbout* about = openAbout();
        QTest::mouseClick(about->Label3, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(desktop->log, QStringList{"open https://quillbook.example.org/"});
    }

    void closingAboutAfterQuittingEndsTheProgram() {
        frmAbout* about = openAbout();
        desktop->answers = {platform::kAnswerYes};
        QTest::mouseClick(h->form->Command_Close, Qt::LeftButton);
        QVERIFY(!h->form->isVisible());
        QVERIFY(about->isVisible());
        QCOMPARE(h->programEnded, 0);
        about->close();  // its close box
        QVERIFY(!h->shared->isLoaded(about));
        QCOMPARE(h->programEnded, 1);
    }

    // The desktop's own registry stand-in, program starter and file test, with the message
    // box still recorded.
    void systemButtonStartsTheDesktopsInformationProgram() {
        QTemporaryDir folder;
        const QString started = folder.filePath("started");
        QFile script(folder.filePath("kinfocenter"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + started.toLocal8Bit() + "'\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        QFile notAProgram(folder.filePath("hardinfo"));  // first in the list, not executable
        QVERIFY(notAProgram.open(QIODevice::WriteOnly));
        notAProgram.close();

        platform::SystemInfoRegistry registry;
        platform::QtProgramStarter programs;
        platform::QtFileTests files;
        test::FakeDesktop& d = *desktop;
        const platform::Services services{d, d, d, d, d, d, d, d.handles, programs, d, files, registry};
        AppShared shared(services, QStringLiteral("/opt/qb"));
        shared.setWhenLastWindowUnloaded([] {});

        struct Case {
            const char* name;
            QByteArray path;
            QString workingFolder;
            bool starts;
        };
        const QList<Case> cases{
            {"program on PATH", "/nonexistent:" + folder.path().toLocal8Bit(), QString(), true},
            {"empty PATH", "", QString(), false},
            {"only in the working folder", ".", folder.path(), false},
        };
        const QByteArray savedPath = qgetenv("PATH");
        const QString savedFolder = QDir::currentPath();
        for (const Case& c : cases) {
            QFile::remove(started);
            desktop->messages.clear();
            qputenv("PATH", c.path);
            if (!c.workingFolder.isEmpty()) QDir::setCurrent(c.workingFolder);
            frmAbout about(shared);
            QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
            qputenv("PATH", savedPath);
            QDir::setCurrent(savedFolder);
            if (c.starts) {
                QTRY_VERIFY2(QFile::exists(started), c.name);
                QVERIFY2(desktop->messages.isEmpty(), c.name);
            } else {
                QVERIFY2(desktop->messages == QStringList{kNoSystemInformation}, c.name);
                QVERIFY2(!QFile::exists(started), c.name);
            }
            about.cmdOK_Click();
        }
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frmAboutTest.moc"
