#pragma once

#include <QLabel>
#include <QPixmap>
#include <QToolButton>

// The kinds of control the main window is made of, beyond Qt's own.

namespace qb {

// A picture shown unscaled at its top-left corner on a plain background; with no caption and
// no pressed look it answers only a click (button released over it).
class PictureBox : public QLabel {
    Q_OBJECT
  public:
    PictureBox(QWidget* parent, const QPixmap& picture, QColor background);

  signals:
    void clicked();
    void pressed(QMouseEvent* event);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The face of the picture buttons, here and on the Help window's copies of them.
inline const QColor kButtonFace(230, 222, 172);

// A graphical push button: the picture (through QIcon, so the @2x drawing serves dense
// screens) centred above the caption, on the button face.
QToolButton* pictureButton(QWidget* parent, const QString& caption, const QString& pictureName,
                           QSize pictureSize, const QRect& where);

}  // namespace qb
