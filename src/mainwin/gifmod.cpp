#include "mainwin/gifmod.h"

#include <QPainter>
#include <algorithm>

#include "mainwin/PictureRegion.h"

namespace gifmod {

namespace {

// Each row's runs of kept pixels, one rectangle each; `cut(pixel)` tells which to cut.
template <typename Pixel, typename Cut>
void addRuns(const QImage& image, Cut cut, std::vector<QRect>& runs) {
    const auto rowAt = [&image](int y) {
        return reinterpret_cast<const Pixel*>(image.constScanLine(y));
    };
    for (const qb::PixelRun& run : qb::pictureRuns(image.width(), image.height(), rowAt, cut))
        runs.emplace_back(run.left, run.top, run.right - run.left, 1);
}

// A picture whose pixels are indices into a colour table that has a colour for every index,
// as the PNG reader gives one of 256 colours: it can be worked on through its table.
bool indexedThroughout(const QImage& picture) {
    return picture.format() == QImage::Format_Indexed8 && picture.colorCount() == 256;
}

}  // namespace

std::vector<QRect> BuildPictureRegion(const QImage& picture) {
    std::vector<QRect> runs;
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return runs;
    if (indexedThroughout(picture)) {
        // Compared by colour, not by index: two entries of the table may hold one colour.
        const QRgb key = picture.pixel(0, 0);
        const QList<QRgb> colours = picture.colorTable();
        bool cut[256];
        for (int i = 0; i < 256; ++i) cut[i] = colours[i] == key;
        addRuns<uchar>(
            picture, [&cut](uchar index) { return cut[index]; }, runs);
        return runs;
    }
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, 0);
    addRuns<QRgb>(
        image, [key](QRgb colour) { return colour == key; }, runs);
    return runs;
}

QRegion regionOf(const std::vector<QRect>& rectangles) {
    QRegion region;
    // One call with every strip; uniting them one at a time is quadratic.
    region.setRects(rectangles.data(), static_cast<int>(rectangles.size()));
    return region;
}

QImage drawnOnBackground(const QImage& picture, QColor background) {
    const auto drawn = [&background](const QImage& image) {
        QImage onBackground(image.size(), QImage::Format_ARGB32);
        onBackground.fill(background);
        QPainter painter(&onBackground);
        painter.drawImage(0, 0, image);
        return onBackground;
    };
    if (!indexedThroughout(picture)) return drawn(picture);
    // A picture of a colour table is drawn through its table, and keeps its pixels: the same
    // colours as drawing it whole, without a full-size copy to draw on.
    QList<QRgb> drawnColours = picture.colorTable();
    const bool wholeOrNothing = std::all_of(drawnColours.begin(), drawnColours.end(), [](QRgb c) {
        return qAlpha(c) == 0 || qAlpha(c) == 255;
    });
    if (wholeOrNothing) {
        // A colour that is wholly there is drawn as it is, and one that is not there at all
        // leaves the background: no painter needed.
        for (QRgb& colour : drawnColours)
            if (qAlpha(colour) == 0) colour = background.rgba();
    } else {
        // The painter draws a strip of the colours, a pixel each, the same way.
        QImage strip(picture.colorCount(), 1, QImage::Format_Indexed8);
        strip.setColorTable(drawnColours);
        for (int i = 0; i < strip.width(); ++i) strip.setPixel(i, 0, static_cast<uint>(i));
        const QImage drawnStrip = drawn(strip);
        for (int i = 0; i < strip.width(); ++i) drawnColours[i] = drawnStrip.pixel(i, 0);
    }
    QImage result = picture;
    result.setColorTable(drawnColours);
    return result;
}

}  // namespace gifmod
