#include <QtTest>

#include "mainwin/gifmod.h"

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

// The same rows as a picture of 256 colours: '.' is transparent, 'h' half so, 'a' and 'b'
// are one colour under two indices, 'g' is the background the tests draw on. A table without
// 'h' holds only colours that are wholly there or not at all.
const QColor kBackground(236, 236, 236);

QImage indexedImageOf(const QStringList& rows) {
    QList<QRgb> colours(256, qRgb(1, 2, 3));
    const QString letters = QStringLiteral(".habg");
    colours[0] = qRgba(255, 255, 255, 0);
    if (rows.join(QString()).contains(QLatin1Char('h'))) colours[1] = qRgba(200, 10, 10, 128);
    colours[2] = colours[3] = qRgb(10, 200, 10);
    colours[4] = kBackground.rgb();
    QImage image(rows.first().size(), rows.size(), QImage::Format_Indexed8);
    image.setColorTable(colours);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, static_cast<uint>(letters.indexOf(rows[y][x])));
    return image;
}

}  // namespace

class GifmodTest : public QObject {
    Q_OBJECT
  private slots:
    void cutsEveryPixelOfTheCornerColour_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<QRect>>("runs");
        QTest::newRow("run touching the right edge")
            << QStringList{"..", ".a"} << QList<QRect>{{1, 1, 1, 1}};
        QTest::newRow("full row") << QStringList{"...", "aab", "..."} << QList<QRect>{{0, 1, 3, 1}};
        QTest::newRow("single pixel")
            << QStringList{"...", ".a.", "..."} << QList<QRect>{{1, 1, 1, 1}};
        QTest::newRow("two runs in a row")
            << QStringList{".aa.bb.", "......."} << QList<QRect>{{1, 0, 2, 1}, {4, 0, 2, 1}};
        QTest::newRow("runs do not carry over rows")
            << QStringList{"..a", "a.."} << QList<QRect>{{2, 0, 1, 1}, {0, 1, 1, 1}};
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

    // A picture of a colour table is drawn and cut through its table; it must come out as
    // the same picture drawn whole, pixel by pixel.
    void anIndexedPictureComesOutAsDrawnWhole_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QList<QRect>>("runs");
        QTest::newRow("transparent and half-transparent")
            << QStringList{".h.", "hhh"} << kBackground << QList<QRect>{{1, 0, 1, 1}, {0, 1, 3, 1}};
        QTest::newRow("on a translucent background")
            << QStringList{".a.", "bb."} << QColor(236, 236, 236, 100)
            << QList<QRect>{{1, 0, 1, 1}, {0, 1, 2, 1}};
        QTest::newRow("one colour under two indices, both kept")
            << QStringList{".ab.", "ba.."} << kBackground
            << QList<QRect>{{1, 0, 2, 1}, {0, 1, 2, 1}};
        QTest::newRow("one colour under two indices as the key")
            << QStringList{"aba", "bhb"} << kBackground << QList<QRect>{{1, 1, 1, 1}};
        QTest::newRow("the background's own colour is cut with the transparent")
            << QStringList{".ga", "g.a"} << kBackground << QList<QRect>{{2, 0, 1, 1}, {2, 1, 1, 1}};
    }
    void anIndexedPictureComesOutAsDrawnWhole() {
        QFETCH(QStringList, rows);
        QFETCH(QColor, background);
        QFETCH(QList<QRect>, runs);
        const QImage indexed = indexedImageOf(rows);
        const QImage drawn = gifmod::drawnOnBackground(indexed, background);
        QCOMPARE(drawn.format(), QImage::Format_Indexed8);
        const QImage drawnWhole =
            gifmod::drawnOnBackground(indexed.convertToFormat(QImage::Format_ARGB32), background);
        QCOMPARE(drawn.convertToFormat(QImage::Format_ARGB32), drawnWhole);
        const auto got = gifmod::BuildPictureRegion(drawn);
        QCOMPARE(QList<QRect>(got.begin(), got.end()), runs);
        const auto gotWhole = gifmod::BuildPictureRegion(drawnWhole);
        QCOMPARE(QList<QRect>(gotWhole.begin(), gotWhole.end()), runs);
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
