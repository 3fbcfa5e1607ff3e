#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "platform/linux/QtServices.h"
#include "speech/Pronunciation.h"

using namespace qb;

namespace {

QList<frmHelp*> helpWindows() {
    QList<frmHelp*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<frmHelp*>(w)) found << help;
    return found;
}

}  // namespace

// The speak button, and the Help window with its installer buttons.
class SpeechWindowsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::MainWindowHarness> h;

    frmHelp* clickHelp() {
        QTest::mouseClick(h->form->Cmd_Help, Qt::LeftButton);
        const QList<frmHelp*> windows = helpWindows();
        return windows.size() == 1 ? windows.first() : nullptr;
    }

  private slots:
    void init() {
        h = std::make_unique<test::MainWindowHarness>([](test::TempLibrary&) {});
        h->start();
        h->desktop->log.clear();
    }
    void cleanup() { h.reset(); }

    void speaksTheInputAsItIs() {
        const QStringList refused{"topmost frmMain off", "message 0", "topmost frmMain on"};
        auto spoken = [](const QString& text, int times) {
            QStringList log;
            for (int i = 0; i < times; ++i)
                log << "topmost frmMain off"
                    << "topmost frmMain on"
                    << "speech stop"
                    << "speech say " + text;
            return log;
        };
        struct Case {
            const char* name;
            QString typed;
            int clicks;
            bool voice;
            QStringList log;
        };
        const QList<Case> cases{
            {"empty", "", 1, true, refused},
            {"blanks only", "   ", 1, true, spoken("   ", 1)},
            {"mixed case", "DiCtionary", 1, true, spoken("DiCtionary", 1)},
            {"several words", " ice  cream cone ", 1, true, spoken(" ice  cream cone ", 1)},
            {"Chinese", "字典 dictionary", 1, true, spoken("字典 dictionary", 1)},
            {"two clicks", "apple", 2, true, spoken("apple", 2)},
            {"every call fails", "apple", 1, false, spoken("apple", 1)},
            {"empty, no voice", "", 1, false, refused},
        };
        for (const Case& c : cases) {
            test::FakeDesktop& desktop = *h->desktop;
            desktop.log.clear();
            desktop.messages.clear();
            desktop.voice = c.voice;
            h->form->Text_Input->setText(c.typed);
            for (int i = 0; i < c.clicks; ++i)
                QTest::mouseClick(h->form->Cmd_Voice, Qt::LeftButton);
            QVERIFY2(desktop.log == c.log,
                     qPrintable(QString(c.name) + ": " + desktop.log.join(" | ")));
            QCOMPARE(desktop.messages, c.typed.isEmpty()
                                           ? QStringList{QStringView(kNothingToSpeak).toString()}
                                           : QStringList{});
            QCOMPARE(h->form->Text_Input->text(), c.typed);
        }
        QCOMPARE(h->desktop->titles, (QStringList{"Quillbook", "Quillbook"}));
    }

    void theTipSaysWhyTheButtonIsSilent() {
        for (bool voice : {false, true}) {
            h->desktop->voice = voice;
            QHelpEvent event(QEvent::ToolTip, {5, 5},
                             h->form->Cmd_Voice->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(h->form->Cmd_Voice, &event);
            const QString tip = h->form->Cmd_Voice->toolTip();
            QCOMPARE(tip.isEmpty(), voice);
            if (!voice) {
                QVERIFY(!tip.contains('\n'));
                for (const char* package : {"speech-dispatcher-espeak-ng", "flite"})
                    QVERIFY2(tip.contains(package), qPrintable(tip));
            }
        }
    }
    void theHelpButtonShowsTheOneWindowAfterTheClickSound() {
        QStringList seen;
        connect(h->form, &frmMain::helpRequested, this, [&] {
            seen << QStringLiteral("help asked for after %1").arg(h->desktop->log.join(','));
        });
        frmHelp* help = clickHelp();
        QVERIFY(help != nullptr);
        QCOMPARE(seen, QStringList{"help asked for after sound"});
        QVERIFY(help->isVisible());
        QCOMPARE(help->parentWidget(), nullptr);
        QVERIFY(h->form->isVisible());

        // Again, and again after its close box: the same window, shown.
        QCOMPARE(clickHelp(), help);
        help->close();
        QVERIFY(!help->isVisible());
        QCOMPARE(clickHelp(), help);
        QVERIFY(help->isVisible());
        QCOMPARE(h->desktop->log, (QStringList{"sound", "sound", "sound"}));
    }

    void anOpenHelpWindowKeepsTheProgramRunning() {
        frmHelp* help = clickHelp();
        emit h->form->quitConfirmed();
        QCOMPARE(h->programEnded, 0);
        help->close();
        QCOMPARE(h->programEnded, 1);
    }

    void thePicturedButtonsDoNothing() {
        frmHelp* help = clickHelp();
        h->form->Text_Input->setText(QStringLiteral("apple"));
        h->desktop->log.clear();
        for (QToolButton* b : {help->Command_Submit, help->Command_AdvanSubmit, help->Cmd_Voice})
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(h->desktop->log, QStringList{});
        QCOMPARE(h->form->Text_Input->text(), QStringLiteral("apple"));
        QVERIFY(help->isVisible());
    }

    void theInstallerButtonsStartTheirFiles() {
        // A script beside the program stands in for each installer and notes that it ran.
        QTemporaryDir folder;
        auto writeInstaller = [&](const QString& name) {
            QFile script(folder.filePath(name));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\necho \"$0\" >> \"$(dirname \"$0\")/ran.txt\"\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        auto ran = [&] {
            QFile notes(folder.filePath("ran.txt"));
            return notes.open(QIODevice::ReadOnly) ? QString::fromUtf8(notes.readAll()) : QString();
        };
        test::FakeDesktop& d = *h->desktop;
        platform::QtProgramStarter starter;
        AppShared shared({d, d, d, d, d, d, d, d.handles, starter, d, d, d.registry, d},
                         folder.path());
        frmHelp help(shared);
        help.show();

        struct Case {
            QPushButton* button;
            QString present;  // the installer that exists, if any
            int clicks;
            QString ran;
            int key;  // pressed on the focused button instead of a click, if any
        };
        const QString one = folder.path() + "/spchapi.exe\n";
        const QString two = folder.path() + "/msttsl.exe\n";
        const QList<Case> cases{
            {help.Command1, "", 1, "", 0},
            {help.Command2, "", 1, "", 0},
            {help.Command1, "spchapi.exe", 2, one + one, 0},
            {help.Command2, "msttsl.exe", 1, one + one + two, 0},
            {help.Command2, "", 1, one + one + two + two, Qt::Key_Return},
            {help.Command1, "", 1, one + one + two + two + one, Qt::Key_Enter},
            {help.Command1, "", 1, one + one + two + two + one + one, Qt::Key_Space},
        };
        for (const Case& c : cases) {
            if (!c.present.isEmpty()) writeInstaller(c.present);
            c.button->setFocus();
            for (int i = 0; i < c.clicks; ++i) {
                if (c.key != 0)
                    QTest::keyClick(c.button, static_cast<Qt::Key>(c.key));
                else
                    QTest::mouseClick(c.button, Qt::LeftButton);
            }
            QTRY_COMPARE(ran(), c.ran);
            QVERIFY(help.isVisible());
            QCOMPARE(d.log, QStringList{});  // no sound, no message, no placement
        }
    }

    void layoutIsAsDesigned() {
        frmHelp* help = clickHelp();
        QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
        QCOMPARE(help->size(), QSize(313, 375));
        QCOMPARE(help->minimumSize(), help->maximumSize());
        const Qt::WindowFlags flags = help->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!help->windowIcon().isNull());

        struct Place {
            QWidget* control;
            QRect geometry;
            QString text;
        };
        auto label = [&](int i) { return help->Label1.at(i); };
        const QList<Place> places{
            {help->Command_Submit, {16, 8, 41, 49}, "準確"},
            {label(0),
             {72, 16, 225, 41},
             "單字精確查詢模式，最適合搜尋英文單字，搜尋時間快，預設鍵為Enter，按上鍵可找上回所輸入"
             "字串"},
            {help->Command_AdvanSubmit, {16, 72, 41, 49}, "所有"},
            {label(1),
             {72, 80, 225, 57},
             "所有字串查詢模式，最適合搜尋所有有關字串，很適用於漢譯英，但搜尋時間久，按上鍵可找上"
             "回所輸入字串"},
            {help->Cmd_Voice, {16, 136, 41, 49}, "發音"},
            {label(2),
             {72, 144, 225, 33},
             "英語發音模式，能發出標準英語口音，最適合不懂併音的朋友。"},
            {label(3),
             {72, 176, 225, 33},
             "請先下載及安裝好以下2個Mircosoft發音引擎才能啟動本功能："},
            {help->Command1, {72, 208, 105, 17}, "spchapi.exe"},
            {help->Command2, {184, 208, 105, 17}, "msttsl.exe"},
            {label(4), {80, 248, 89, 17}, "[x] 離開程式"},
            {label(5), {80, 264, 153, 17}, "[-] 將程式縮小到常駐圖示"},
            {label(6), {160, 304, 137, 49}, "在常駐圖示，雙按後會顯示回字典，或按右鍵出現菜單選擇"},
            {help->Image1, {16, 248, 51, 33}, ""},
            {help->Image2, {16, 288, 135, 64}, ""},
        };
        QStringList tabOrder;
        for (const Place& p : places) {
            QCOMPARE(p.control->geometry(), p.geometry);
            QVERIFY(p.control->isVisible());
            if (auto* l = qobject_cast<QLabel*>(p.control); l && !p.text.isEmpty()) {
                QCOMPARE(l->text(), p.text);
                // Every character shows: the wrapped text fits inside the label.
                const QRect needed = l->fontMetrics().boundingRect(
                    QRect(QPoint(), l->size()), Qt::TextWordWrap | Qt::AlignLeft, l->text());
                QVERIFY2(
                    QRect(QPoint(), l->size()).contains(needed),
                    qPrintable(l->objectName() + " needs " + QString::number(needed.height())));
            } else if (auto* b = qobject_cast<QAbstractButton*>(p.control)) {
                QCOMPARE(b->text(), p.text);
            }
            if (qobject_cast<QAbstractButton*>(p.control)) tabOrder << p.control->objectName();
        }
        for (const char* picture : {"Command_Submit", "Command_AdvanSubmit", "Cmd_Voice"}) {
            auto* copy = help->findChild<QToolButton*>(picture);
            auto* original = h->form->findChild<QToolButton*>(picture);
            QCOMPARE(copy->icon().pixmap(copy->iconSize()).toImage(),
                     original->icon().pixmap(original->iconSize()).toImage());
            QCOMPARE(copy->palette().color(QPalette::Button), QColor(230, 222, 172));
        }
        QVERIFY(!help->Image1->pixmap().isNull());
        QVERIFY(!help->Image2->pixmap().isNull());
        QList<int> lines;
        for (QFrame* line : help->Line1) {
            QCOMPARE(line->x(), 16);
            QCOMPARE(line->width(), 273);
            lines << line->y();
        }
        QCOMPARE(lines, (QList<int>{240, 64, 128, 360}));

        // The tab order, from Command_Submit through the focus chain.
        QStringList chain{help->Command_Submit->objectName()};
        for (QWidget* w = help->Command_Submit->nextInFocusChain(); chain.size() < tabOrder.size();
             w = w->nextInFocusChain())
            if (qobject_cast<QAbstractButton*>(w)) chain << w->objectName();
        QCOMPARE(chain, tabOrder);
    }
};

QTEST_MAIN(SpeechWindowsTest)
#include "SpeechWindowsTest.moc"
