#include <QApplication>
#include <QClipboard>
#include <QImageReader>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

#include "WindowTest.h"
#include "common/BuiltPictures.h"

using namespace qb;

namespace {

const QString kHint = QStringLiteral("Sorry! 找不到任何相符字串\r\n\r\n請使用「所有查詢」");
const QString kNotFound = QStringLiteral("Sorry! 找不到任何相符字串");

}  // namespace

class FrmMainTest : public test::WindowTest {
    Q_OBJECT

  private:
    void typeAndPress(const QString& text, Qt::Key key = Qt::Key_Return) {
        form->Text_Input->setText(text);
        QTest::keyClick(form->Text_Input, key);
    }
    QString shownOutput() const { return form->Text_Output->toPlainText(); }

  private slots:
    void init() {
        startWindows([](test::TempLibrary& lib) {
            lib.writeLines("a.lib", {"apple=蘋果", "apple pie=蘋果派=甜點"});
            lib.writeLines("z.lib", {"zz=蘋果=蘋果樹"});
        });
        desktop->log.clear();
    }

    void cleanup() { h.reset(); }

    // The skin and the icon are decoded when the program is built: they must be what the PNG
    // files are, pixel for pixel, and the other pictures still come from their files.
    void startUpPicturesAreTheirPngFiles() {
        const QString kept[] = {QStringLiteral(":/skin.png"), QStringLiteral(":/app32.png"),
                                QStringLiteral(":/app16.png")};
        for (const QString& path : kept) {
            QImageReader reader(path, "png");
            const QImage fromFile = reader.read();
            QVERIFY2(!fromFile.isNull(), qPrintable(path));
            QCOMPARE(builtpictures::find(path), fromFile);
            QCOMPARE(pngPicture(path).toImage(), QPixmap::fromImage(fromFile).toImage());
        }
        QVERIFY(builtpictures::find(QStringLiteral(":/search.png")).isNull());
        QCOMPARE(pngPicture(QStringLiteral(":/search.png")).size(), QSize(28, 28));
    }

    void startsTopmostWithTheSoundShapedAndFocused() {
        test::FakeDesktop fresh;
        AppShared other(fresh.services(), QStringLiteral("/opt/qb/"));
        Tray otherTray(fresh);
        Windows windows(other, Library(h->lib->folder()), otherTray);
        frmMain* second = &windows.main();
        windows.start();
        QCOMPARE(fresh.log,
                 (QStringList{"topmost frmMain on", "sound", "shape frmMain", "tray add"}));
        QCOMPARE(fresh.soundPath, QStringLiteral("/opt/qb//flip.wav"));  // passed on as joined
        QCOMPARE(second->size(), QSize(352, 226));
        QCOMPARE(second->pic1->geometry(), QRect(0, 0, 352, 226));
        QVERIFY(second->isVisible());
        QCOMPARE(second->focusWidget(), second->Text_Input);
        QVERIFY(!fresh.shape.isEmpty());
        QVERIFY(!fresh.shape.contains(QPoint(0, 0)));
        QVERIFY(fresh.shape.contains(QPoint(176, 113)));
        // The icon is app.ico's two pictures, pixel for pixel, whichever files it is read from.
        const QIcon ico(QStringLiteral(":/app.ico"));
        QCOMPARE(second->windowIcon().availableSizes(), ico.availableSizes());
        for (const QSize size : ico.availableSizes())
            QCOMPARE(
                second->windowIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                ico.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32));
    }

    void exactLookupByEnterShowsTheEntry() {
        typeAndPress(QStringLiteral("Apple"));
        QCOMPARE(shownOutput(), QStringLiteral("\napple\n蘋果\n"));
        QCOMPARE(form->Text_Output->text(), QStringLiteral("\r\napple\r\n蘋果\r\n"));
        QCOMPARE(form->Text_Input->text(), QString());
        QCOMPARE(QString::fromStdU16String(form->behaviour().lastkey()), QStringLiteral("Apple"));
        QCOMPARE(desktop->log, (QStringList{"topmost frmMain off", "topmost frmMain on", "sound"}));
        QVERIFY(!form->behaviour().AdvSubmit());
    }

    void eachPathLeavesTheBoxesAndCallsAsDocumented() {
        struct Path {
            QString typed;
            bool allButton;
            QString output;
            QStringList messages;
            QStringList log;
        };
        const QList<Path> paths{
            {"",
             false,
             "before",
             {"請先輸入字串"},
             {"topmost frmMain off", "message 0", "topmost frmMain on"}},
            {"",
             true,
             "before",
             {"請先輸入字串"},
             {"topmost frmMain off", "message 0", "topmost frmMain on"}},
            {"zebra",
             false,
             "",
             {kHint},
             {"topmost frmMain off", "topmost frmMain on", "sound", "topmost frmMain off",
              "message 0", "topmost frmMain on"}},
            {"zebra",
             true,
             "",
             {kNotFound},
             {"topmost frmMain off", "topmost frmMain on", "sound", "topmost frmMain off",
              "message 0", "topmost frmMain on"}},
            {"pie",
             true,
             "",
             {kNotFound},  // only the file of p is read
             {"topmost frmMain off", "topmost frmMain on", "sound", "topmost frmMain off",
              "message 0", "topmost frmMain on"}},
            {"apple p",
             true,
             "\r\napple pie\r\n蘋果派\r\n",
             {},
             {"topmost frmMain off", "topmost frmMain on", "sound", "topmost frmMain off",
              "topmost frmMain on"}},
            {"蘋果",
             false,
             "\r\napple\r\n蘋果\r\n\r\napple pie\r\n蘋果派\r\n\r\nzz\r\n蘋果\r\n\r\nzz\r\n蘋果\r\n",
             {},
             {"topmost frmMain off", "topmost frmMain on", "sound", "topmost frmMain off",
              "topmost frmMain on"}},
        };
        for (const Path& p : paths) {
            form->Text_Output->setText(QStringLiteral("before"));
            desktop->log.clear();
            desktop->messages.clear();
            form->Text_Input->setText(p.typed);
            QTest::mouseClick(p.allButton ? static_cast<QWidget*>(form->Command_AdvanSubmit)
                                          : form->Command_Submit,
                              Qt::LeftButton);
            QCOMPARE(form->Text_Output->text(), p.output);
            QCOMPARE(desktop->messages, p.messages);
            QCOMPARE(desktop->log, p.log);
            QCOMPARE(form->Text_Input->text(), QString());
            QVERIFY2(!form->behaviour().AdvSubmit(), qPrintable(p.typed));
        }
        QCOMPARE(desktop->titles.first(), QStringLiteral("Quillbook"));
    }

    void upBringsBackTheLastLookedUpText() {
        typeAndPress(QStringLiteral("x"), Qt::Key_Up);
        QCOMPARE(form->Text_Input->text(), QString());  // nothing looked up yet

        typeAndPress(QStringLiteral("apple"));
        typeAndPress(QString());  // refused: does not replace what Up brings back
        typeAndPress(QStringLiteral("half-typed"), Qt::Key_Up);
        QCOMPARE(form->Text_Input->text(), QStringLiteral("apple"));
        QTest::keyClick(form->Text_Input, Qt::Key_Up);
        QCOMPARE(form->Text_Input->text(), QStringLiteral("apple"));

        form->Text_Output->setText(QString());
        QTest::keyClick(form->Text_Input, Qt::Key_Return);  // Enter after Up repeats it
        QCOMPARE(form->Text_Output->text(), QStringLiteral("\r\napple\r\n蘋果\r\n"));
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Escape, Qt::Key_Tab}) {
            desktop->log.clear();
            QTest::keyClick(form->Text_Input, key);
            QVERIFY(desktop->log.isEmpty());
        }
    }

    void closeAsksAndEndsOnlyOnYes() {
        desktop->answers = {platform::kAnswerNo};
        QTest::mouseClick(form->Command_Close, Qt::LeftButton);
        QCOMPARE(desktop->log, (QStringList{"topmost frmMain off", "message 36", "sound"}));
        QCOMPARE(desktop->messages, QStringList{"是否不用字典?"});
        QVERIFY(shared->isLoaded(form));
        QVERIFY(form->isVisible());
        QCOMPARE(h->programEnded, 0);

        desktop->log.clear();
        desktop->answers = {platform::kAnswerYes};
        QTest::mouseClick(form->Command_Close, Qt::LeftButton);
        QCOMPARE(desktop->log,
                 (QStringList{"topmost frmMain off", "message 36", "sound", "tray delete"}));
        QVERIFY(!shared->isLoaded(form) && !form->isVisible());
        QCOMPARE(h->programEnded, 1);
    }

    void dragsFromTheFaceOnly() {
        QTest::mousePress(form->pic1, Qt::RightButton, {}, QPoint(176, 120));
        QTest::mouseRelease(form->pic1, Qt::RightButton, {}, QPoint(176, 120));
        QCOMPARE(desktop->log, QStringList{"move frmMain"});
        QCOMPARE(desktop->moveButtons, QList<Qt::MouseButton>{Qt::RightButton});

        desktop->log.clear();
        for (QWidget* w : QList<QWidget*>{form->Text_Input, form->Command_Submit, form->Cmd_Help,
                                          form->Command_Min}) {
            QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(5, 5));
        }
        QVERIFY(!desktop->log.contains("move frmMain"));

        for (TextBox* box : {form->Text_Output, form->Text1}) {
            desktop->log.clear();
            QWidget* surface = box->viewport();
            QTest::mousePress(surface, Qt::MiddleButton, {}, QPoint(10, 10));
            QMouseEvent moveEvent(QEvent::MouseMove, QPointF(40, 40),
                                  surface->mapToGlobal(QPointF(40, 40)), Qt::NoButton,
                                  Qt::MiddleButton, Qt::NoModifier);
            QApplication::sendEvent(surface, &moveEvent);
            QTest::mouseRelease(surface, Qt::MiddleButton, {}, QPoint(40, 40));
            QCOMPARE(desktop->log, QStringList{"move frmMain"});
            // The move is told which button to end on, although a move event names none.
            QCOMPARE(desktop->moveButtons.last(), Qt::MiddleButton);
        }
    }

    void onlyKeysThatTypeACarriageReturnLookUp() {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            bool looksUp;
        };
        for (const Key& k :
             {Key{Qt::Key_Return, {}, true}, Key{Qt::Key_Enter, Qt::KeypadModifier, true},
              Key{Qt::Key_Return, Qt::ShiftModifier, true},
              Key{Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier, true},
              Key{Qt::Key_Return, Qt::ControlModifier, false},
              Key{Qt::Key_Return, Qt::AltModifier, false},
              Key{Qt::Key_Enter, Qt::KeypadModifier | Qt::ControlModifier, false}}) {
            form->Text_Output->setText(QString());
            form->Text_Input->setText(QStringLiteral("apple"));
            QTest::keyClick(form->Text_Input, k.key, k.modifiers);
            QCOMPARE(form->Text_Output->text().isEmpty(), !k.looksUp);
            QCOMPARE(form->Text_Input->text().isEmpty(), k.looksUp);
        }
    }

    void aLongPasteIsKeptWholeAndLookedUp() {
        const QString pasted = QStringLiteral("apple") + QString(40000, QLatin1Char('x'));
        form->Text_Input->setText(pasted);
        QCOMPARE(form->Text_Input->text().size(), pasted.size());
        QTest::keyClick(form->Text_Input, Qt::Key_Return);
        QCOMPARE(QString::fromStdU16String(form->behaviour().lastkey()), pasted);
        QCOMPARE(desktop->messages, QStringList{kHint});
    }

    void aNewResultIsShownFromTheTop() {
        for (int i = 0; i < 200; ++i)
            form->Text_Output->setText(form->Text_Output->text() + "line\r\n");
        QScrollBar* bar = form->Text_Output->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        typeAndPress(QStringLiteral("蘋果"));
        QCOMPARE(bar->value(), 0);
    }

    void theTitleCanBeSelectedAndCopied() {
        QTest::mouseClick(form->Text1->viewport(), Qt::LeftButton, {}, QPoint(30, 20));
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(form->Text1));
        form->Text1->selectAll();
        QTest::keyClick(form->Text1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), form->Text1->toPlainText());
        // Tab from the input box still never lands on it.
        form->Text_Input->setFocus();
        QTest::keyClick(form->Text_Input, Qt::Key_Tab);
        QVERIFY(form->focusWidget() != form->Text1);
    }

    void theResultBoxIsReadOnlyAndSelectable() {
        typeAndPress(QStringLiteral("apple"));
        QTest::keyClicks(form->Text_Output, QStringLiteral("zz"));
        QCOMPARE(form->Text_Output->toPlainText(), QStringLiteral("\napple\n蘋果\n"));
        form->Text_Output->selectAll();
        QCOMPARE(form->Text_Output->selectedText(), QStringLiteral("\napple\n蘋果\n"));
        form->Text_Output->copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("\napple\n蘋果\n"));
        QCOMPARE(form->Text_Output->viewport()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(form->Text1->viewport()->cursor().shape(), Qt::ArrowCursor);
    }

    void layoutIsAsDesigned() {
        struct Place {
            QWidget* control;
            QWidget* container;
            QRect geometry;
        };
        const QList<Place> places{
            {form->Text_Input, form, {40, 56, 113, 25}},
            {form->Text_Output, form, {192, 9, 137, 197}},
            {form->DirectSS1, form, {496, 216, 25, 25}},
            {form->Cmd_Voice, form->pic1, {115, 96, 41, 49}},
            {form->Command_AdvanSubmit, form->pic1, {75, 96, 41, 49}},
            {form->Command_Submit, form->pic1, {35, 96, 41, 49}},
            {form->Cmd_Help, form->pic1, {80, 160, 33, 33}},
            {form->Cmd_About, form->pic1, {120, 160, 33, 33}},
            {form->Command_Close, form->pic1, {32, 184, 17, 17}},
            {form->Command_Min, form->pic1, {48, 184, 17, 17}},
            {form->Text1, form->pic1, {32, 8, 129, 195}},
        };
        for (const Place& p : places) {
            QCOMPARE(p.control->parentWidget(), p.container);
            QCOMPARE(p.control->geometry(), p.geometry);
            QVERIFY(p.control->isVisible());
        }
        // Front to back within each container.
        auto frontToBack = [](QWidget* container) {
            QStringList names;
            for (QObject* child : container->children())
                if (auto* w = qobject_cast<QWidget*>(child)) names.prepend(w->objectName());
            return names;
        };
        QCOMPARE(frontToBack(form),
                 (QStringList{"DirectSS1", "Text_Input", "Text_Output", "pic1"}));
        QCOMPARE(frontToBack(form->pic1),
                 (QStringList{"Cmd_Voice", "Command_AdvanSubmit", "Command_Submit", "Cmd_Help",
                              "Cmd_About", "Command_Close", "Command_Min", "Text1"}));
        // Tab never lands in the two read-only boxes.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->Text_Input->setFocus();
        QSet<QWidget*> visited;
        for (int i = 0; i < 24; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.insert(QApplication::focusWidget());
        }
        QVERIFY(visited.contains(form->Text_Input));
        QVERIFY(visited.contains(form->Command_Submit));
        QVERIFY(!visited.contains(form->Text_Output));
        QVERIFY(!visited.contains(form->Text1));
        QCOMPARE(form->Text1->toPlainText(), QStringLiteral("\n 羽筆字典\n Quillbook\n"));
        // The Chinese title stays on its one line.
        QVERIFY(QFontMetrics(form->Text1->font()).horizontalAdvance(QStringLiteral(" 羽筆字典")) <
                form->Text1->viewport()->width());
        QCOMPARE(form->Command_Submit->text(), QStringLiteral("準確"));
        QCOMPARE(form->Command_AdvanSubmit->text(), QStringLiteral("所有"));
        QCOMPARE(form->Cmd_Voice->text(), QStringLiteral("發音"));
        QCOMPARE(form->Text_Input->palette().color(QPalette::Base), QColor(230, 222, 172));
        QCOMPARE(form->Text_Output->palette().color(QPalette::Text), QColor(128, 64, 0));
        QCOMPARE(form->Text_Input->font().families().first(), QStringLiteral("Courier"));
        QCOMPARE(form->Text_Input->font().pointSizeF(), 9.75);
        QCOMPARE(form->Text_Output->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillbook"));
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmMainTest.moc"
