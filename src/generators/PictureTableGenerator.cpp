// Writes the pictures that the start-up shows before the main window is on screen (the skin
// and the program icon) as C++ arrays, decoded from their PNG files when the program is
// built: at every start, decoding them took the better part of a millisecond before the
// window could be mapped.
//
//   qb_picture_generator OUTPUT.cpp NAME=FILE.png ...
//
// Each picture is kept exactly as Qt's PNG reader gives it (format, colour table, rows), so
// that the program makes the same picture from the arrays as from the file.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTextStream>
#include <cstdio>

namespace {

bool writePicture(QTextStream& out, int index, const QString& name, const QString& file) {
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "qb_picture_generator: cannot read %s: %s\n", qPrintable(file),
                     qPrintable(reader.errorString()));
        return false;
    }
    out << "const unsigned char kBits" << index << "[] = {";
    const auto* bits = image.constBits();
    for (qsizetype i = 0; i < image.sizeInBytes(); ++i)
        out << (i % 24 == 0 ? "\n   " : "") << ' ' << int(bits[i]) << ',';
    out << "\n};\n";
    out << "const QRgb kColours" << index << "[] = {";
    const QList<QRgb> colours = image.colorTable();
    for (qsizetype i = 0; i < colours.size(); ++i)
        out << (i % 6 == 0 ? "\n   " : "") << " 0x" << Qt::hex << colours[i] << "u," << Qt::dec;
    out << (colours.isEmpty() ? " 0" : "") << "\n};\n";
    out << "const Picture kPicture" << index << "{u\"" << name << "\", " << image.width() << ", "
        << image.height() << ", " << image.bytesPerLine() << ", " << int(image.format())
        << ", kBits" << index << ", kColours" << index << ", " << colours.size() << "};\n\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: qb_picture_generator OUTPUT.cpp NAME=FILE.png ...\n");
        return 2;
    }
    QString text;
    QTextStream out(&text);
    out << "// Written by qb_picture_generator from the program's PNG files; do not edit.\n"
        << "#include \"common/BuiltPictures.h\"\n\nnamespace qb::builtpictures {\nnamespace {\n\n";
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const qsizetype eq = arg.indexOf(u'=');
        if (eq <= 0 || !writePicture(out, i - 2, arg.left(eq), arg.mid(eq + 1))) return 1;
    }
    out << "}  // namespace\n\nconst Picture* const kPictures[] = {";
    for (int i = 2; i < argc; ++i) out << "&kPicture" << i - 2 << ", ";
    out << "nullptr};\n\n}  // namespace qb::builtpictures\n";
    out.flush();
    const QByteArray bytes = text.toUtf8();
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "qb_picture_generator: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
