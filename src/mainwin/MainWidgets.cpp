#include "MainWidgets.h"

#include <QMouseEvent>

namespace qb {

PictureBox::PictureBox(QWidget* parent, const QPixmap& picture, QColor background)
    : QLabel(parent) {
    setPixmap(picture);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background);
    setPalette(pal);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event);
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

}  // namespace qb
