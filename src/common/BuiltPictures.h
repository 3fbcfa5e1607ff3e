#pragma once

#include <QImage>
#include <QStringView>

// The pictures of the start-up, decoded when the program was built (PictureTableGenerator.cpp).
namespace qb::builtpictures {

struct Picture {
    const char16_t* name;  // the resource path, ":/skin.png"
    int width, height, bytesPerLine, format;
    const unsigned char* bits;
    const QRgb* colours;
    int colourCount;
};

// The list ends with nullptr.
extern const Picture* const kPictures[];

// The picture kept under `resourcePath`, as the PNG reader gives it; a null image when none
// is kept. The image shares the program's read-only arrays.
inline QImage find(QStringView resourcePath) {
    for (const Picture* const* p = kPictures; *p != nullptr; ++p) {
        const Picture& picture = **p;
        if (resourcePath != QStringView(picture.name)) continue;
        QImage image(picture.bits, picture.width, picture.height, picture.bytesPerLine,
                     static_cast<QImage::Format>(picture.format));
        if (picture.colourCount > 0)
            image.setColorTable(
                QList<QRgb>(picture.colours, picture.colours + picture.colourCount));
        return image;
    }
    return {};
}

}  // namespace qb::builtpictures
