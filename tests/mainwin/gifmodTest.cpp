#include <QtTest>

#include "gifmod.h"

namespace {

// Builds an image from rows of characters: '.' is the colour of the top-left corner in the
// usual case, any other letter a colour of its own.
QImage imageOf(const QStringList& rows) {
    QImage image(rows.first().size(), rows.size(), QImage::Format_ARGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x) {
            const QChar c = rows[y][x];
            image.setPixel(x, y, c == '.' ? qRgb(255, 255, 255) : qRgb(c.unicode(), 0, 100));
        }
    return image;
}

}  // namespace

class GifmodTest : public QObject {
    Q_OBJECT
private slots:
    void cutsEveryPixelOfTheCornerColour_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<QRect>>("runs");
        QTest::newRow("run touching the right edge") << QStringList{"..", ".a"}
                                                     << QList<QRect>{{1, 1, 1, 1}};
        QTest::newRow("full row") << QStringList{"...", "aab", "..."}
                                  << QList<QRect>{{0, 1, 3, 1}};
        QTest::newRow("single pixel") << QStringList{"...", ".a.", "..."}
                                      << QList<QRect>{{1, 1, 1, 1}};
        QTest::newRow("two runs in a row") << QStringList{".aa.bb.", "......."}
                                           << QList<QRect>{{1, 0, 2, 1}, {4, 0, 2, 1}};
        QTest::newRow("runs do not carry over rows") << QStringList{"..a", "a.."}
                                                     << QList<QRect>{{2, 0, 1, 1}, {0, 1, 1, 1}};
        QTest::newRow("opaque top-left pixel is the key")
            << QStringList{"ab", "ba"} << QList<QRect>{{1, 0, 1, 1}, {0, 1, 1, 1}};
        QTest::newRow("all of the key colour") << QStringList{"aa", "aa"} << QList<QRect>{};
    }
    void cutsEveryPixelOfTheCornerColour() {
        QFETCH(QStringList, rows);
        QFETCH(QList<QRect>, runs);
        const auto got = gifmod::BuildPictureRegion(imageOf(rows));
        QCOMPARE(QList<QRect>(got.begin(), got.end()), runs);
    }

    void anEmptyPictureHasNoRegion() {
        QVERIFY(gifmod::BuildPictureRegion(QImage()).empty());
        QVERIFY(gifmod::regionOf({}).isEmpty());
    }

    void theSkinKeepsExactlyItsBook() {
        const QImage skin(QStringLiteral(":/skin.png"));
        QCOMPARE(skin.size(), QSize(352, 226));
        const QColor face(236, 236, 236);
        const QImage drawn = gifmod::drawnOnBackground(skin, face);
        const QRegion region = gifmod::regionOf(gifmod::BuildPictureRegion(drawn));
        int kept = 0;
        for (int y = 0; y < skin.height(); ++y)
            for (int x = 0; x < skin.width(); ++x) {
                const bool opaque = qAlpha(skin.pixel(x, y)) != 0;
                QCOMPARE(region.contains(QPoint(x, y)), opaque);
                kept += opaque;
            }
        QVERIFY(kept > 75000);
        for (int y : {0, 1, 224, 225}) QVERIFY(!region.contains(QPoint(100, y)));
        for (int x : {0, 349, 350, 351}) QVERIFY(!region.contains(QPoint(x, 100)));
    }
};

QTEST_MAIN(GifmodTest)
#include "gifmodTest.moc"
