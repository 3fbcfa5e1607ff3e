#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <functional>

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

// A read-only text box that keeps CR LF line breaks in the text it is given, shows the arrow
// pointer, and reports mouse presses so the window can be dragged by it.
class ReadOnlyTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ReadOnlyTextBox(QWidget* parent);
    // The whole text, lines separated by CR LF as the program writes them.
    void setText(const QString& textWithCrLf);
    QString text() const;

signals:
    void pressed(QMouseEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString text_;
    QPoint pressedAt_;
    bool pressing_ = false;
};

}  // namespace qb
