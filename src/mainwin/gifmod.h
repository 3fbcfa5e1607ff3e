#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

namespace gifmod {

// The window outline of a picture: every pixel of the top-left pixel's colour is cut away.
// Returns one rectangle, one pixel high, per run of other pixels in a row, top to bottom and
// left to right; none for an empty picture or one of a single colour.
std::vector<QRect> BuildPictureRegion(const QImage& picture);

// The union of the rectangles, in the same coordinates; empty when there are none.
QRegion regionOf(const std::vector<QRect>& rectangles);

// The picture as its box shows it: transparent pixels show the box's background colour.
QImage drawnOnBackground(const QImage& picture, QColor background);

}  // namespace gifmod
