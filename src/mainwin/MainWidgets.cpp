#include "MainWidgets.h"

#include <QApplication>
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

ReadOnlyTextBox::ReadOnlyTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setContextMenuPolicy(Qt::NoContextMenu);  // every button drags the window
    viewport()->setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::ClickFocus);           // not a tab stop
    setUndoRedoEnabled(false);
}

void ReadOnlyTextBox::setText(const QString& textWithCrLf) {
    text_ = textWithCrLf;
    QString shown = textWithCrLf;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

QString ReadOnlyTextBox::text() const { return text_; }

// A press lets the box take the focus and place the caret, so a double-click still selects a
// word; once the pointer moves with the button held, the window is dragged instead.
void ReadOnlyTextBox::mousePressEvent(QMouseEvent* event) {
    pressing_ = true;
    pressedAt_ = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) QPlainTextEdit::mousePressEvent(event);
    event->accept();
}

void ReadOnlyTextBox::mouseMoveEvent(QMouseEvent* event) {
    if (pressing_ && (event->globalPosition().toPoint() - pressedAt_).manhattanLength() >=
                         QApplication::startDragDistance()) {
        pressing_ = false;
        emit pressed(event);
    }
    event->accept();
}

void ReadOnlyTextBox::mouseReleaseEvent(QMouseEvent* event) {
    pressing_ = false;
    QPlainTextEdit::mouseReleaseEvent(event);
}

}  // namespace qb
