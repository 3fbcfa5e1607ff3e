#include "common/PictureControls.h"

#include <QIcon>
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

QToolButton* pictureButton(QWidget* parent, const QString& caption, const QString& pictureName,
                           QSize pictureSize, const QRect& where) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setIcon(QIcon(QStringLiteral(":/") + pictureName));
    button->setIconSize(pictureSize);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoFillBackground(true);
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, kButtonFace);
    pal.setColor(QPalette::Window, kButtonFace);
    button->setPalette(pal);
    button->setGeometry(where);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace qb
