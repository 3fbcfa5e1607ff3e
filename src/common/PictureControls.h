#pragma once

#include <QLabel>
#include <QPixmap>
#include <QToolButton>

#include "common/AccessibleNames.h"

// The kinds of control the main window is made of, beyond Qt's own.

namespace qb {

// A picture shown unscaled at its top-left corner on a plain background; with no caption and
// no pressed look it answers only a click (button released over it).
class PictureBox : public QLabel {
    Q_OBJECT
  public:
    PictureBox(QWidget* parent, const QPixmap& picture, QColor background);

    // A box that answers a click is a button to a screen reader, which can press it; any
    // other picture box is part of the drawing and says nothing.
    void actAsButton(const AccessibleText& text);
    bool actsAsButton() const { return button_; }

  signals:
    void clicked();
    void pressed(QMouseEvent* event);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool button_ = false;
};

// Gives a control the name and description a screen reader says for it.
void nameForScreenReaders(QWidget* control, const AccessibleText& text);
// Keeps a picture or a line that only decorates out of what a screen reader says.
void silenceForScreenReaders(QWidget* picture);

// The face of the picture buttons, here and on the Help window's copies of them.
inline const QColor kButtonFace(230, 222, 172);

// A graphical push button: the picture (through QIcon, so the @2x drawing serves dense
// screens) centred above the caption, on the button face.
QToolButton* pictureButton(QWidget* parent, const QString& caption, const QString& pictureName,
                           QSize pictureSize, const QRect& where);

}  // namespace qb
