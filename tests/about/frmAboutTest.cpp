#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "about/SysInfo.h"
#include "platform/linux/QtServices.h"

using namespace qb;

class FrmAboutTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::MainWindowHarness> h;
    test::FakeDesktop* desktop = nullptr;

    // Clicks the About button and returns the one About window on screen, if one.
    frmAbout* openAbout() {
        QTest::mouseClick(h->form->Cmd_About, Qt::LeftButton);
        QList<frmAbout*> shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* about = qobject_cast<frmAbout*>(w); about && about->isVisible())
                shown << about;
        return shown.size() == 1 ? shown.first() : nullptr;
    }
    frmAbout* openActiveAbout() {
        frmAbout* about = openAbout();
        about->activateWindow();
        return QTest::qWaitForWindowActive(about) ? about : nullptr;
    }

  private slots:
    void init() {
        h = std::make_unique<test::MainWindowHarness>([](test::TempLibrary&) {});
        h->start();
        desktop = h->desktop.get();
        desktop->log.clear();
    }
    void cleanup() { h.reset(); }

    void opensOnceWithoutSoundOrOwnerWithExitFocused() {
        frmAbout* about = openActiveAbout();
        QVERIFY(about);
        QCOMPARE(openAbout(), about);
        QCOMPARE(desktop->log, QStringList{});  // no click sound, no change of the band
        QCOMPARE(about->parentWidget(), nullptr);
        QCOMPARE(QApplication::focusWidget(), about->cmdOK);
        QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about->cmdSysInfo);
        QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about->cmdOK);
    }

    void everyTextFitsWhatTheWindowShowsOfItsLabel() {
        frmAbout* about = openAbout();
        for (QLabel* label : about->findChildren<QLabel*>()) {
            if (label == about->Image1) continue;
            // Some labels run past the window's edges, which cut them.
            const QSize shown = label->geometry().intersected(about->rect()).size();
            const QSize needed =
                QFontMetrics(label->font())
                    .boundingRect(QRect(QPoint(), shown), Qt::TextWordWrap, label->text())
                    .size();
            QVERIFY2(!label->text().isEmpty() && needed.boundedTo(shown) == needed,
                     qPrintable(label->objectName()));
        }
    }

    void everyLoadSetsTheTitleAfresh() {
        QPointer<frmAbout> first = openAbout();
        first->setWindowTitle(QStringLiteral("changed"));
        first->Label3_MouseMove();
        QTest::mouseClick(first->cmdOK, Qt::LeftButton);
        QVERIFY(!h->shared->isLoaded(first) && !first->isVisible());
        frmAbout* second = openAbout();
        QVERIFY(first.isNull());  // the unloaded one is not shown again
        QCOMPARE(second->windowTitle(), QStringLiteral("About Quillbook"));
        QCOMPARE(second->lblTitle->text(), QStringLiteral("Quillbook"));
        QVERIFY(second->label_warning->text().contains("CC BY-SA 4.0"));
        QCOMPARE(second->Label3->frameShape(), QFrame::NoFrame);
    }

    void keysCloseOrPressTheButtons_data() {
        QTest::addColumn<bool>("focusOnSysInfo");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("pressesSysInfo");
        QTest::newRow("Esc on Exit") << false << int(Qt::Key_Escape) << false << true << false;
        QTest::newRow("Esc on System") << true << int(Qt::Key_Escape) << false << true << false;
        QTest::newRow("Enter on Exit") << false << int(Qt::Key_Return) << false << true << false;
        QTest::newRow("Enter on System") << true << int(Qt::Key_Return) << false << false << true;
        QTest::newRow("Alt+S on Exit") << false << int(Qt::Key_S) << true << false << true;
    }
    void keysCloseOrPressTheButtons() {
        QFETCH(bool, focusOnSysInfo);
        QFETCH(int, key);
        QFETCH(bool, alt);
        QFETCH(bool, closes);
        QFETCH(bool, pressesSysInfo);
        frmAbout* about = openActiveAbout();
        QVERIFY(about);
        if (focusOnSysInfo) about->cmdSysInfo->setFocus();
        desktop->log.clear();
        QTest::keyClick(about->windowHandle(), static_cast<Qt::Key>(key),
                        alt ? Qt::AltModifier : Qt::NoModifier);
        // No tool on this fake desktop: System ends in the message. An access key's click
        // comes a moment after the key, as a button's pressed look lasts.
        if (pressesSysInfo) QTRY_COMPARE(desktop->log, QStringList{"message 0"});
        if (!pressesSysInfo) QCOMPARE(desktop->log, QStringList{});
        QCOMPARE(h->shared->isLoaded(about), !closes);
        QCOMPARE(about->isVisible(), !closes);
        if (!closes) about->cmdOK_Click();
    }

    void theLinkBorderFollowsThePointer_data() {
        QTest::addColumn<QStringList>("movesOver");  // "" is the bare window surface
        QTest::addColumn<bool>("border");
        QTest::newRow("at first") << QStringList{} << false;
        QTest::newRow("over the link") << QStringList{"Label3"} << true;
        QTest::newRow("then the bare window") << QStringList{"Label3", ""} << false;
        QTest::newRow("then another label") << QStringList{"Label3", "lblVersion(4)"} << true;
        QTest::newRow("then the picture") << QStringList{"Label3", "Image1"} << true;
        QTest::newRow("then a button") << QStringList{"Label3", "cmdOK"} << true;
        QTest::newRow("picture, then the bare window")
            << QStringList{"Label3", "Image1", ""} << false;
        QTest::newRow("bare window, then the link again")
            << QStringList{"Label3", "", "Label3"} << true;
    }
    void theLinkBorderFollowsThePointer() {
        QFETCH(QStringList, movesOver);
        QFETCH(bool, border);
        frmAbout* about = openAbout();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        for (const QString& name : movesOver) {
            // The bare surface lies between the picture and the version labels.
            if (name.isEmpty())
                QTest::mouseMove(about, QPoint(114, 100));
            else
                QTest::mouseMove(about->findChild<QWidget*>(name), QPoint(3, 3));
        }
        QCOMPARE(about->Label3->frameShape() == QFrame::Box, border);
        about->cmdOK_Click();
    }

    void aClickOnTheLinkOpensTheHomePage() {
        QTest::mouseClick(openAbout()->Label3, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(desktop->log, QStringList{"open https://quillbook.example.org/"});
    }

    void closingAboutAfterQuittingEndsTheProgram() {
        frmAbout* about = openAbout();
        desktop->answers = {platform::kAnswerYes};
        QTest::mouseClick(h->form->Command_Close, Qt::LeftButton);
        QVERIFY(!h->form->isVisible() && about->isVisible());
        QCOMPARE(h->programEnded, 0);
        about->close();  // its close box
        QCOMPARE(h->programEnded, 1);
    }

    // Help and About have no taskbar button while the book leads to them. Minimised by the
    // window manager, which may draw a minimise box for them although they ask for none, they
    // come back with their button; left minimised when the book quits, they come back on
    // screen with a taskbar button, and closing them still ends the program.
    void helpAndAboutAreNeverLostWhenMinimised_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("quit");
        QTest::newRow("Help, pressed again") << "frmHelp" << false;
        QTest::newRow("About, pressed again") << "frmAbout" << false;
        QTest::newRow("Help, book quit") << "frmHelp" << true;
        QTest::newRow("About, book quit") << "frmAbout" << true;
    }
    void helpAndAboutAreNeverLostWhenMinimised() {
        QFETCH(QString, window);
        QFETCH(bool, quit);
        PictureBox* button = window == "frmHelp" ? h->form->Cmd_Help : h->form->Cmd_About;
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == window && w->isVisible()) shown = w;
        QVERIFY(shown);
        QVERIFY(desktop->offTaskbar.contains(window));
        QVERIFY(desktop->offTaskbar.contains("frmMain"));
        shown->showMinimized();
        QVERIFY(shown->isMinimized());
        if (quit) {
            desktop->answers = {platform::kAnswerYes};
            QTest::mouseClick(h->form->Command_Close, Qt::LeftButton);
            QVERIFY(!desktop->offTaskbar.contains(window));
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QVERIFY(shown->isVisible());
        QVERIFY(!shown->isMinimized());
        shown->close();
        QCOMPARE(h->programEnded, quit ? 1 : 0);
    }

    // This desktop's registry stand-in, program start and file test; messages still recorded.
    void systemStartsTheInformationProgramFoundOnPath() {
        QTemporaryDir folder;
        const QString started = folder.filePath("started");
        QFile script(folder.filePath("kinfocenter"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + started.toLocal8Bit() + "'\n");
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        script.close();
        QFile notAProgram(folder.filePath("hardinfo"));  // first in the list, not executable
        QVERIFY(notAProgram.open(QIODevice::WriteOnly));
        notAProgram.close();

        platform::SystemInfoRegistry registry;
        platform::QtProgramStarter programs;
        platform::QtFileTests files;
        test::FakeDesktop& d = *desktop;
        AppShared shared({d, d, d, d, d, d, d, d.handles, programs, d, files, registry, d},
                         "/opt/qb");
        shared.setWhenLastWindowUnloaded([] {});
        QFile hidden(folder.filePath(".MSINFO32.EXE"));
        QVERIFY(hidden.open(QIODevice::WriteOnly));
        hidden.close();
        for (const auto& [path, ordinary] : {std::pair{script.fileName(), true},
                                             {folder.path(), false},
                                             {hidden.fileName(), false},
                                             {folder.filePath("missing"), false}})
            QVERIFY2(files.isOrdinaryFile(path) == ordinary, qPrintable(path));
        QVERIFY(!programs.startProgram(notAProgram.fileName()));

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
            desktop->messages.clear();
            qputenv("PATH", c.path);
            if (!c.workingFolder.isEmpty()) QDir::setCurrent(c.workingFolder);
            frmAbout about(shared);
            QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
            qputenv("PATH", savedPath);
            QDir::setCurrent(savedFolder);
            if (c.starts) QTRY_VERIFY2(QFile::exists(started), c.name);
            const QStringList message =
                c.starts ? QStringList{} : QStringList{kNoSystemInformation};
            QVERIFY2(desktop->messages == message, c.name);
            // Over About, not the book, so that the focus comes back to About.
            if (!c.starts) QVERIFY2(desktop->owners.value(0) == about.objectName(), c.name);
            desktop->owners.clear();
            about.cmdOK_Click();
        }
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frmAboutTest.moc"
