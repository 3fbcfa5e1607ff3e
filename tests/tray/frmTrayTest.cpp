#include <QApplication>
#include <QPointer>
#include <QtTest>

#include "WindowTest.h"
#include "platform/WindowMessage.h"

using namespace qb;

namespace {

// Adds the main window's showing and hiding to the services' log, so the order of the
// handlers' steps can be read in one place.
class VisibilityLog final : public QObject {
  public:
    VisibilityLog(QWidget* watched, QStringList& log) : log_(log) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show) log_ << QStringLiteral("shown %1").arg(o->objectName());
        if (e->type() == QEvent::Hide) log_ << QStringLiteral("hidden %1").arg(o->objectName());
        return false;
    }

  private:
    QStringList& log_;
};

}  // namespace

class FrmTrayTest : public test::WindowTest {
    Q_OBJECT

  private:
    std::unique_ptr<VisibilityLog> visibility;
    void beforeStart() override {
        visibility = std::make_unique<VisibilityLog>(form, desktop->log);
    }

    void trayMessage(std::uint32_t mouseMessage) {
        platform::WindowMessageEvent event(static_cast<std::uint32_t>(platform::TrayMouse::Move), 1,
                                           mouseMessage);
        QCoreApplication::sendEvent(trayForm->picture_tray, &event);
    }
    int count(const QString& entry) const { return desktop->log.count(entry); }

  private slots:
    void init() {
        startWindows([](test::TempLibrary&) {});
    }

    void cleanup() {
        visibility.reset();
        h.reset();
    }

    void startUpAddsOneIconAndShowsTheMainWindow() {
        QCOMPARE(desktop->log, (QStringList{"topmost frmMain on", "sound", "shape frmMain",
                                            "tray add", "shown frmMain"}));
        QCOMPARE(trayForm->TrayID, 1);
        QVERIFY(form->isVisible());
        QVERIFY(!trayForm->isVisible());
        QCOMPARE(form->focusWidget(), form->Text_Input);
        const auto& record = desktop->records.at(0).second;
        namespace rec = platform::iconRecord;
        QCOMPARE(desktop->handles.window(rec::get(record, rec::kOwnerWindow)),
                 static_cast<QWidget*>(trayForm->picture_tray));
        QCOMPARE(rec::get(record, rec::kCallbackMessage), 0x200u);
        // The Chinese title in code page 950, then the NUL: it fits the field whole.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(record.data()) + rec::kTip, 9),
                 QByteArray("\xA6\xD0\xB5\xA7\xA6\x72\xA8\xE5\0", 9));
        QCOMPARE(desktop->tips, QStringList{"羽筆字典"});
    }

    void decodesTrayMessages() {
        form->hide();
        desktop->log.clear();
        for (std::uint32_t ignored : {0x200u, 0x201u, 0x202u, 0x205u, 0x207u, 0u, 0xFFFFu})
            trayMessage(ignored);
        QCOMPARE(desktop->log, QStringList{});
        QVERIFY(!form->isVisible());

        trayMessage(0x203);
        QCOMPARE(desktop->log, (QStringList{"shown frmMain", "topmost frmMain on", "sound"}));
        QCOMPARE(form->focusWidget(), form->Text_Input);

        desktop->log.clear();
        trayMessage(0x204);
        QCOMPARE(desktop->log, (QStringList{"foreground frmTray", "menu 顯示字典|離開"}));
    }

    void roundsTheTwipsHalfToEven() {
        struct Case {
            float x;
            bool opensMenu;
        };
        for (const Case& c :
             {Case{516 * 15.0f, true}, Case{515.5f * 15, true}, Case{516.49f * 15, true},
              Case{516.5f * 15, true}, Case{514.5f * 15, false}, Case{517 * 15.0f, false}}) {
            desktop->log.clear();
            trayForm->picture_tray_MouseMove(0, 0, c.x, 0);
            QCOMPARE(desktop->log.contains("foreground frmTray"), c.opensMenu);
        }
        trayForm->ScaleMode = 3;  // pixels: the value is not computed at all
        desktop->log.clear();
        trayForm->picture_tray_MouseMove(0, 0, 516 * 15.0f, 0);
        trayForm->picture_tray_MouseMove(0, 0, 515 * 15.0f, 0);
        QCOMPARE(desktop->log, QStringList{});
    }

    void menuShowMakesTopmostFirstThenShows() {
        QTest::mouseClick(form->Command_Min, Qt::LeftButton);
        QCOMPARE(desktop->log.mid(5), (QStringList{"sound", "hidden frmMain"}));
        desktop->log.clear();
        desktop->menuChoice = 0;
        trayMessage(0x204);
        QCOMPARE(desktop->log, (QStringList{"foreground frmTray", "menu 顯示字典|離開",
                                            "topmost frmMain on", "sound", "shown frmMain"}));
        QCOMPARE(form->focusWidget(), form->Text_Input);
    }

    void hidingAndShowingKeepsOneIcon() {
        // The tray window's own button, never on screen, hides as the minimise button does.
        for (int round = 0; round < 4; ++round) {
            if (round % 2 == 0)
                QTest::mouseClick(form->Command_Min, Qt::LeftButton);
            else
                trayForm->command_tray->click();
            QVERIFY(!form->isVisible());
            trayMessage(0x203);
            QVERIFY(form->isVisible());
        }
        QCOMPARE(count("tray add"), 1);
        QCOMPARE(count("tray delete"), 0);
        QCOMPARE(trayForm->TrayID, 1);
        QCOMPARE(tray->TrayIconCount(), 1);
    }

    void quitAnsweredNoChangesNothing() {
        QTest::mouseClick(form->Command_Min, Qt::LeftButton);
        desktop->log.clear();
        desktop->answers = {platform::kAnswerNo};
        desktop->menuChoice = 1;
        trayMessage(0x204);
        QCOMPARE(desktop->log,
                 (QStringList{"foreground frmTray", "menu 顯示字典|離開", "message 36", "sound"}));
        QVERIFY(shared->isLoaded(form) && shared->isLoaded(trayForm));
        QVERIFY(!form->isVisible());
        QCOMPARE(trayForm->TrayID, 1);
        QCOMPARE(h->programEnded, 0);
    }

    void quitAnsweredYesRemovesTheIconAndEnds() {
        desktop->answers = {platform::kAnswerYes};
        trayForm->menu_quit_Click();
        QCOMPARE(desktop->log.mid(5),
                 (QStringList{"message 36", "sound", "hidden frmMain", "tray delete"}));
        QVERIFY(!shared->isLoaded(form) && !shared->isLoaded(trayForm));
        QVERIFY(!form->isVisible());
        QCOMPARE(h->programEnded, 1);
    }

    void anotherOpenWindowKeepsTheProgramRunning() {
        auto* about = new QWidget;
        shared->load(about);
        desktop->answers = {platform::kAnswerYes};
        QTest::mouseClick(form->Command_Close, Qt::LeftButton);
        QVERIFY(!shared->isLoaded(form) && !shared->isLoaded(trayForm));
        QVERIFY(!form->isVisible());
        QCOMPARE(count("tray delete"), 1);
        QCOMPARE(h->programEnded, 0);
        shared->unload(about);
        QCOMPARE(h->programEnded, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void withoutANotificationAreaHidingMinimisesInstead() {
        desktop->trayAvailable = false;
        desktop->log.clear();
        QTest::mouseClick(form->Command_Min, Qt::LeftButton);
        QCOMPARE(desktop->log.mid(0, 3),
                 (QStringList{"sound", "hidden frmMain", "minimize frmMain"}));
        QVERIFY(form->isMinimized());
        QCOMPARE(trayForm->TrayID, 1);  // the icon is still asked for, for when an area appears

        // An area appears; each way back from it brings the window back whole, every time.
        desktop->trayAvailable = true;
        desktop->menuChoice = 0;
        for (std::uint32_t way : {0x203u, 0x204u, 0x203u}) {
            trayMessage(way);
            QVERIFY(form->isVisible());
            QVERIFY(!form->isMinimized());
            QCOMPARE(form->focusWidget(), form->Text_Input);
            desktop->log.clear();
            QTest::mouseClick(form->Command_Min, Qt::LeftButton);
            QCOMPARE(desktop->log, (QStringList{"sound", "hidden frmMain"}));
            QVERIFY(!form->isMinimized());
        }
    }
};

QTEST_MAIN(FrmTrayTest)
#include "frmTrayTest.moc"
