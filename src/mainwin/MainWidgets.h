#pragma once

#include <QLabel>
#include <QPixmap>

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

}  // namespace qb
