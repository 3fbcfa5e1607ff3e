#include <QAccessible>
#include <QtTest>

#include "mainwin/TextBox.h"

using namespace qb;

namespace {

// "apple" CR LF "蘋果" CR LF "" CR LF "end": as a screen reader reads it, with line feeds,
//  apple\n  at 0..5,  蘋果\n  at 6..8,  \n  at 9,  end  at 10..12; 13 characters.
const QString kText = QStringLiteral("apple\r\n蘋果\r\n\r\nend");

// A question a screen reader asks: the text at an offset, or just before or after it.
enum class Side { Before, At, After };
constexpr auto kLine = QAccessible::LineBoundary;
constexpr auto kChar = QAccessible::CharBoundary;
constexpr auto kWord = QAccessible::WordBoundary;

QAccessibleTextInterface* readable(TextBox& box) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    return accessible != nullptr ? accessible->textInterface() : nullptr;
}

}  // namespace

Q_DECLARE_METATYPE(Side)
Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)

class TextBoxAccessibleTest : public QObject {
    Q_OBJECT

  private slots:
    void readsAsTextWithLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Side>("side");
        QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        auto row = [](const char* name, Side side, QAccessible::TextBoundaryType boundary,
                      int offset, const QString& answer, int start, int end,
                      const QString& text = kText) {
            QTest::newRow(name) << text << side << boundary << offset << answer << start << end;
        };
        row("first line, at its start", Side::At, kLine, 0, "apple\n", 0, 6);
        row("first line, on its line feed", Side::At, kLine, 5, "apple\n", 0, 6);
        row("middle line, at its start", Side::At, kLine, 6, "蘋果\n", 6, 9);
        row("middle line, at its end", Side::At, kLine, 8, "蘋果\n", 6, 9);
        row("empty line", Side::At, kLine, 9, "\n", 9, 10);
        row("last line, at its start", Side::At, kLine, 10, "end", 10, 13);
        row("last line, at the end of the text", Side::At, kLine, 13, "end", 10, 13);
        row("line before the middle one", Side::Before, kLine, 7, "apple\n", 0, 6);
        row("no line before the first", Side::Before, kLine, 3, "", -1, -1);
        row("line after the middle one", Side::After, kLine, 7, "\n", 9, 10);
        row("no line after the last", Side::After, kLine, 11, "", -1, -1);
        row("the line break is one character", Side::At, kChar, 5, "\n", 5, 6);
        row("character before a line's start", Side::Before, kChar, 6, "\n", 5, 6);
        row("character after a line break", Side::After, kChar, 5, "蘋", 6, 7);
        row("character at the end of a line", Side::At, kChar, 7, "果", 7, 8);
        row("word in the first line", Side::At, kWord, 2, "apple", 0, 5);
        row("word in the last line", Side::At, kWord, 11, "end", 10, 13);
        row("a text ending in a line break has an empty last line", Side::At, kLine, 4, "", 4, 4,
            "a\r\nb\r\n");
        row("lone line feeds break lines too", Side::At, kLine, 2, "b\n", 2, 4, "a\nb\r\nc");
    }

    void readsAsTextWithLines() {
        QFETCH(QString, text);
        QFETCH(Side, side);
        QFETCH(QAccessible::TextBoundaryType, boundary);
        QFETCH(int, offset);
        QFETCH(QString, answer);
        QFETCH(int, start);
        QFETCH(int, end);
        TextBox box(nullptr);
        box.setText(text);
        QAccessibleTextInterface* reader = readable(box);
        QVERIFY(reader != nullptr);
        int from = -2, to = -2;
        const QString got =
            side == Side::Before  ? reader->textBeforeOffset(offset, boundary, &from, &to)
            : side == Side::After ? reader->textAfterOffset(offset, boundary, &from, &to)
                                  : reader->textAtOffset(offset, boundary, &from, &to);
        QCOMPARE(got, answer);
        QCOMPARE(from, start);
        QCOMPARE(to, end);
    }

    void readsTextBetweenOffsets_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("answer");
        QTest::newRow("across a line break") << 3 << 8 << QStringLiteral("le\n蘋果");
        QTest::newRow("across an empty line") << 8 << 10 << QStringLiteral("\n\n");
        QTest::newRow("the whole text") << 0 << 13 << QStringLiteral("apple\n蘋果\n\nend");
        QTest::newRow("to the end, as -1 asks") << 10 << -1 << QStringLiteral("end");
        QTest::newRow("an end before the start is nothing") << 8 << 3 << QString();
    }

    void readsTextBetweenOffsets() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, answer);
        TextBox box(nullptr);
        box.setText(kText);
        QCOMPARE(readable(box)->text(start, end), answer);
    }

    void countsCharactersAsRead_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("CR LF breaks") << kText << 13;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("ending in a break") << QStringLiteral("a\r\nb\r\n") << 4;
        QTest::newRow("a carriage return alone stays") << QStringLiteral("a\rb") << 3;
    }

    void countsCharactersAsRead() {
        QFETCH(QString, text);
        QFETCH(int, count);
        TextBox box(nullptr);
        box.setText(text);
        QCOMPARE(readable(box)->characterCount(), count);
        QCOMPARE(readable(box)->text(0, count), box.toPlainText());
    }

    // The caret and the selection as the user moves them, and as a screen reader sets them.
    void followsTheCaret_data() {
        QTest::addColumn<int>("setCaret");  // -1: the caret stays at the start
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selectedFrom");  // -1: nothing selected
        QTest::addColumn<int>("selectedTo");
        using K = QList<QKeyCombination>;
        const QKeyCombination down(Qt::Key_Down), right(Qt::Key_Right), end(Qt::Key_End),
            shiftDown(Qt::ShiftModifier, Qt::Key_Down), shiftEnd(Qt::ShiftModifier, Qt::Key_End),
            ctrlEnd(Qt::ControlModifier, Qt::Key_End), left(Qt::Key_Left);
        QTest::newRow("down to the middle line") << -1 << K{down} << 6 << -1 << -1;
        QTest::newRow("end of the middle line") << -1 << K{down, end} << 8 << -1 << -1;
        QTest::newRow("down to the last line") << -1 << K{down, down, down} << 10 << -1 << -1;
        QTest::newRow("end of the text") << -1 << K{ctrlEnd} << 13 << -1 << -1;
        QTest::newRow("right over a line break")
            << -1 << K{right, right, right, right, right, right} << 6 << -1 << -1;
        QTest::newRow("left back over a line break") << 6 << K{left} << 5 << -1 << -1;
        QTest::newRow("a caret set by the reader moves on") << 8 << K{right} << 9 << -1 << -1;
        QTest::newRow("a caret set on the empty line, then right")
            << 9 << K{right} << 10 << -1 << -1;
        QTest::newRow("selecting a line") << -1 << K{shiftDown} << 6 << 0 << 6;
        QTest::newRow("selecting to a line's end") << 7 << K{shiftEnd} << 8 << 7 << 8;
    }

    void followsTheCaret() {
        QFETCH(int, setCaret);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(int, caret);
        QFETCH(int, selectedFrom);
        QFETCH(int, selectedTo);
        TextBox box(nullptr);
        box.resize(200, 200);
        box.setText(kText);
        QAccessibleTextInterface* reader = readable(box);
        if (setCaret >= 0) reader->setCursorPosition(setCaret);
        for (QKeyCombination key : keys) QTest::keyClick(&box, key.key(), key.keyboardModifiers());
        QCOMPARE(reader->cursorPosition(), caret);
        int from = -1, to = -1;
        if (reader->selectionCount() > 0) reader->selection(0, &from, &to);
        QCOMPARE(from, selectedFrom);
        QCOMPARE(to, selectedTo);
        // What the reader is told is selected is what the box copies.
        if (from >= 0) QCOMPARE(reader->text(from, to), box.selectedText());
    }

    void selectsWhatTheReaderAsks() {
        TextBox box(nullptr);
        box.setText(kText);
        readable(box)->setSelection(0, 3, 7);
        QCOMPARE(box.selectedText(), QStringLiteral("le\n蘋"));
        readable(box)->removeSelection(0);
        QCOMPARE(box.selectedText(), QString());
    }
};

QTEST_MAIN(TextBoxAccessibleTest)
#include "TextBoxAccessibleTest.moc"
