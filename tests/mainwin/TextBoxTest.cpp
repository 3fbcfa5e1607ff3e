#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QtTest>

#include "mainwin/TextBox.h"

using namespace qb;

namespace {

constexpr int kMargin = 3;  // the box's inner margin around the text
const QString kUntouched = QStringLiteral("(clipboard untouched)");

// One thing the user does. Clicks aim at a screen row and at the last character of `before`,
// on its left quarter (the caret lands before it) or its right quarter (after it).
struct Act {
    enum Kind { Key, DoubleClick, Scroll, NewText, Press, Move, Release } kind;
    int key = 0;  // Key: key; Scroll: value; DoubleClick: screen row; Move: distance
    Qt::KeyboardModifiers mods = {};
    QString before = {};  // DoubleClick: text to the left of the point, ending in its character
    bool after = false;
    Qt::MouseButton button = Qt::LeftButton;
};
const auto key = [](int k, Qt::KeyboardModifiers m = {}) { return Act{Act::Key, k, m}; };
const auto shift = [](int k) { return key(k, Qt::ShiftModifier); };
const auto dclick = [](int row, const QString& on) { return Act{Act::DoubleClick, row, {}, on}; };
const auto dclickAfter = [](int row, const QString& on) {
    return Act{Act::DoubleClick, row, {}, on, true};
};
const auto scrollTo = [](int v) { return Act{Act::Scroll, v}; };
const auto newText = [](const QString& t) { return Act{Act::NewText, 0, {}, t}; };
const auto press = [](Qt::MouseButton b) { return Act{Act::Press, 0, {}, {}, false, b}; };
const auto moveBy = [](int d) { return Act{Act::Move, d}; };
const auto release = [](Qt::MouseButton b) { return Act{Act::Release, 0, {}, {}, false, b}; };

QString lines(const QStringList& ls) {
    return ls.join(QStringLiteral("\r\n"));
}
QString numbered(int n) {
    QStringList ls;
    for (int i = 0; i < n; ++i) ls << QStringLiteral("line%1").arg(i);
    return lines(ls);
}
const QString kLong = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa");
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

}  // namespace

Q_DECLARE_METATYPE(QList<Act>)

class TextBoxTest : public QObject {
    Q_OBJECT

  private:
    static QString manyLines(int count) {
        QString text;
        for (int i = 0; i < count; ++i) text += QStringLiteral("line %1 蘋果\r\n").arg(i);
        return text;
    }

    struct Scroll {
        int maximum, pageStep, valueAfterEnd;
    };

    static Scroll scrollOf(TextBox& box) {
        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
        return {box.verticalScrollBar()->maximum(), box.verticalScrollBar()->pageStep(),
                box.verticalScrollBar()->value()};
    }

  private slots:
    void userActions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("rows");     // the viewport's height, in rows of text
        QTest::addColumn<QString>("wrapAt");  // a long line wraps after this; empty: a wide box
        QTest::addColumn<QList<Act>>("acts");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("scroll");     // -1: not checked
        QTest::addColumn<int>("scrollMax");  // -1: not checked
        QTest::addColumn<int>("drags");
        // Selecting and copying in a tall, wide box.
        auto sel = [](const char* name, const QString& text, QList<Act> acts, const QString& s,
                      const QString& clip = kUntouched, int scroll = -1) {
            QTest::newRow(name) << text << 4.5 << QString() << acts << s << clip << scroll << -1
                                << 0;
        };
        // Where the box scrolls to, in a box `rows` high that wraps after `wrapAt`.
        auto view = [](const char* name, const QString& text, double rows, const QString& wrapAt,
                       QList<Act> acts, int scroll, int max, const QString& s = {}) {
            QTest::newRow(name) << text << rows << wrapAt << acts << s << kUntouched << scroll
                                << max << 0;
        };
        auto drag = [](const char* name, QList<Act> acts, int drags, const QString& s = {}) {
            QTest::newRow(name) << QString("hello") << 4.5 << QString() << acts << s << kUntouched
                                << -1 << -1 << drags;
        };
        const QString ab = lines({"ab", "cd"}), abc = lines({"a", "b", "c"});
        const Act right = key(Qt::Key_Right), down = key(Qt::Key_Down),
                  ctrlC = key(Qt::Key_C, kCtrl);

        sel("shift+right steps over a line break at once", ab,
            {key(Qt::Key_End), shift(Qt::Key_Right), shift(Qt::Key_Right)}, "\nc");
        sel("shift+left steps back over a line break", ab,
            {down, shift(Qt::Key_Left), shift(Qt::Key_Left)}, "b\n");
        sel("shift+down keeps the column, clamped to a shorter line",
            lines({"hello", "hi", "world"}), {right, right, right, right, shift(Qt::Key_Down)},
            "o\nhi");
        sel("shift+up selects back to the same column", lines({"hello", "world"}),
            {down, right, shift(Qt::Key_Up)}, "ello\nw");
        sel("shift+end then shift+home turns the selection around", lines({"one two", "three"}),
            {right, right, right, right, shift(Qt::Key_End), shift(Qt::Key_Home)}, "one ");
        sel("ctrl+shift+end selects to the end of the text", abc,
            {right, key(Qt::Key_End, kCtrlShift)}, "\nb\nc");
        sel("ctrl+shift+home selects back to the start", abc,
            {key(Qt::Key_End, kCtrl), key(Qt::Key_Home, kCtrlShift)}, "a\nb\nc");
        sel("a move without shift drops the selection", ab, {key(Qt::Key_A, kCtrl), right}, "");
        sel("right stops at the end of the text", "ab", {right, right, right, shift(Qt::Key_Left)},
            "b");
        sel("shift+page down selects a page of lines", numbered(10), {shift(Qt::Key_PageDown)},
            "line0\nline1\nline2\nline3\n");
        sel("shift+page up undoes shift+page down", numbered(10),
            {shift(Qt::Key_PageDown), shift(Qt::Key_PageUp)}, "");
        sel("ctrl+a ctrl+c copies with line feeds", lines({"first", "second", ""}),
            {key(Qt::Key_A, kCtrl), ctrlC}, "first\nsecond\n", "first\nsecond\n");
        sel("ctrl+c with nothing selected keeps the clipboard", ab, {right, ctrlC}, "");
        sel("double-click inside a word", "hello world", {dclick(0, "he")}, "hello");
        sel("double-click on a word's first letter", "hello world", {dclick(0, "hello w")},
            "world");
        sel("double-click on the right of a word's last letter", "hello world",
            {dclickAfter(0, "hello")}, "hello");
        sel("double-click on the right of a line's last letter", lines({"one two", "three"}),
            {dclickAfter(0, "one two")}, "two");
        sel("double-click on the second line", lines({"first line", "second line"}),
            {dclick(1, "sec")}, "second");
        sel("double-click, shift+end, ctrl+c", "hello big world",
            {dclick(0, "hello b"), shift(Qt::Key_End), ctrlC}, "big world", "big world");
        sel("double-click in a scrolled box", numbered(8), {scrollTo(3), dclick(0, "l")}, "line3",
            kUntouched, 3);

        view("double-click on a wrapped row", kLong, 4.5, "alpha beta ", {dclick(1, "g")}, -1, -1,
             "gamma");
        view("short text: nothing to scroll", numbered(3), 4.5, {}, {}, 0, 0);
        view("the last page starts at line count minus rows", numbered(10), 4.5, {}, {}, 0, 6);
        view("a long last line's rows fill the last page", lines({"a", "b", "c", "d", "e", kLong}),
             3.5, "alpha ", {}, 0, 5);
        view("a long first line's rows are not on the last page",
             lines({kLong, "a", "b", "c", "d", "e"}), 3.5, "alpha ", {}, 0, 3);
        view("ctrl+end shows the whole last line", numbered(10), 3.15, {},
             {key(Qt::Key_End, kCtrl)}, 8, 8);
        view("down below the view scrolls by a line", numbered(10), 3.15, {}, {down, down, down}, 2,
             8);
        view("a key brings the caret back into view", numbered(10), 4.5, {},
             {scrollTo(5), key(Qt::Key_Up)}, 0, 6);
        view("a new text shows from the top", numbered(10), 4.5, {},
             {scrollTo(5), newText(numbered(20))}, 0, 16);
        view("a new text drops the selection and caret", numbered(10), 4.5, {},
             {key(Qt::Key_End, kCtrlShift), newText(numbered(10)), shift(Qt::Key_Right)}, 0, 6,
             "l");

        drag("a press that moves drags once",
             {press(Qt::LeftButton), moveBy(20), moveBy(40), release(Qt::LeftButton)}, 1);
        drag("a right-button press that moves drags",
             {press(Qt::RightButton), moveBy(20), release(Qt::RightButton)}, 1);
        drag("a click does not drag", {press(Qt::LeftButton), release(Qt::LeftButton), moveBy(20)},
             0);
        drag("a press that barely moves does not drag",
             {press(Qt::LeftButton), moveBy(1), release(Qt::LeftButton)}, 0);
        drag("a double-click does not drag", {dclick(0, "h")}, 0, "hello");
    }

    void userActions() {
        QFETCH(QString, text);
        QFETCH(double, rows);
        QFETCH(QString, wrapAt);
        QFETCH(QList<Act>, acts);
        QFETCH(QString, selection);
        QFETCH(QString, clipboard);
        QFETCH(int, scroll);
        QFETCH(int, scrollMax);
        QFETCH(int, drags);

        TextBox box(nullptr);
        QFont font = box.font();
        font.setPixelSize(20);
        box.setFont(font);
        const QFontMetricsF fm(font);
        const qreal rowHeight = fm.height();
        const int width =
            wrapAt.isEmpty() ? 600 : int(2 * kMargin + fm.horizontalAdvance(wrapAt) + 2);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QSize viewSize(width, qRound(rows * rowHeight));
        box.resize(viewSize + box.size() - box.viewport()->size());
        QTRY_COMPARE(box.viewport()->size(), viewSize);
        box.setText(text);
        QApplication::clipboard()->setText(kUntouched);
        int dragged = 0;
        connect(&box, &TextBox::pressed, this, [&dragged] { ++dragged; });
        QWidget* view = box.viewport();
        QPoint pointer(10, 10);

        for (const Act& act : acts) {
            switch (act.kind) {
                case Act::Key:
                    QTest::keyClick(&box, Qt::Key(act.key), act.mods);
                    break;
                case Act::Scroll:
                    box.verticalScrollBar()->setValue(act.key);
                    break;
                case Act::NewText:
                    box.setText(act.before);
                    break;
                case Act::Press:
                    QTest::mousePress(view, act.button, {}, pointer);
                    break;
                case Act::Move:
                    QTest::mouseMove(view, pointer += QPoint(act.key, 0));
                    break;
                case Act::Release:
                    QTest::mouseRelease(view, act.button, {}, pointer);
                    break;
                case Act::DoubleClick: {
                    const qreal charWidth = fm.horizontalAdvance(act.before.right(1));
                    const qreal x = kMargin + fm.horizontalAdvance(act.before.chopped(1)) +
                                    charWidth * (act.after ? 0.75 : 0.25);
                    const QPoint at(qRound(x), qRound(kMargin + (act.key + 0.5) * rowHeight));
                    QTest::mouseClick(view, Qt::LeftButton, {}, at);
                    QTest::mouseDClick(view, Qt::LeftButton, {}, at);
                    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
                    break;
                }
            }
        }

        QCOMPARE(box.selectedText(), selection);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        if (scroll >= 0) QCOMPARE(box.verticalScrollBar()->value(), scroll);
        if (scrollMax >= 0) QCOMPARE(box.verticalScrollBar()->maximum(), scrollMax);
        QCOMPARE(dragged, drags);
    }

    // A box filled before its window first shows leaves measuring its lines until it is seen;
    // once seen it must scroll exactly as a box filled while on screen.
    void scrollsTheSameWhenFilledBeforeItIsShown_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("one line") << 1 << false;
        QTest::newRow("a few pages") << 40 << true;
        QTest::newRow("many pages") << 500 << true;
    }

    void scrollsTheSameWhenFilledBeforeItIsShown() {
        QFETCH(int, count);
        QFETCH(bool, scrolls);
        TextBox early(nullptr), late(nullptr);
        for (TextBox* box : {&early, &late}) box->resize(160, 200);
        early.setText(manyLines(count));
        for (TextBox* box : {&early, &late}) {
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box));
        }
        late.setText(manyLines(count));
        const Scroll a = scrollOf(early), b = scrollOf(late);
        QCOMPARE(a.maximum, b.maximum);
        QCOMPARE(a.pageStep, b.pageStep);
        QCOMPARE(a.valueAfterEnd, b.valueAfterEnd);
        QCOMPARE(a.maximum > 0, scrolls);
    }
};

QTEST_MAIN(TextBoxTest)
#include "TextBoxTest.moc"
