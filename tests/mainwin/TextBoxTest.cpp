#include <QScrollBar>
#include <QtTest>

#include "TextBox.h"

using namespace qb;

// A box filled before its window first shows leaves measuring its lines until it is seen;
// once seen it must scroll exactly as a box filled while on screen.
class TextBoxTest : public QObject {
    Q_OBJECT

private:
    static QString lines(int count) {
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
        early.setText(lines(count));
        for (TextBox* box : {&early, &late}) {
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box));
        }
        late.setText(lines(count));
        const Scroll a = scrollOf(early), b = scrollOf(late);
        QCOMPARE(a.maximum, b.maximum);
        QCOMPARE(a.pageStep, b.pageStep);
        QCOMPARE(a.valueAfterEnd, b.valueAfterEnd);
        QCOMPARE(a.maximum > 0, scrolls);
    }
};

QTEST_MAIN(TextBoxTest)
#include "TextBoxTest.moc"
