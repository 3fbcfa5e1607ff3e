#include "gifmod.h"

#include <QPainter>

namespace gifmod {

std::vector<QRect> BuildPictureRegion(const QImage& picture) {
    std::vector<QRect> runs;
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return runs;
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const QRgb key = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int runStart = -1;
        for (int x = 0; x < width; ++x) {
            const bool cut = row[x] == key;
            if (cut && runStart >= 0) {
                runs.emplace_back(runStart, y, x - runStart, 1);
                runStart = -1;
            } else if (!cut && runStart < 0) {
                runStart = x;
            }
        }
        if (runStart >= 0) runs.emplace_back(runStart, y, width - runStart, 1);
    }
    return runs;
}

QRegion regionOf(const std::vector<QRect>& rectangles) {
    QRegion region;
    // One call with every strip; uniting them one at a time is quadratic.
    region.setRects(rectangles.data(), static_cast<int>(rectangles.size()));
    return region;
}

QImage drawnOnBackground(const QImage& picture, QColor background) {
    QImage drawn(picture.size(), QImage::Format_ARGB32);
    drawn.fill(background);
    QPainter painter(&drawn);
    painter.drawImage(0, 0, picture);
    return drawn;
}

}  // namespace gifmod
