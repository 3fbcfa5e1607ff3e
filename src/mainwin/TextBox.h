#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <vector>

class QTextLayout;

namespace qb {

// A read-only, multi-line text box for texts of any length. It keeps the text as given, with
// its CR LF line breaks, and lays out only the lines in view, so showing a result of half a
// million lines costs no more than splitting it into lines. Long lines wrap at the box's
// width; the scroll bar moves by lines. Text can be selected with the keyboard or a
// double-click and copied; a press with any button that moves the pointer drags the window.
class TextBox : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TextBox(QWidget* parent);

    void setText(const QString& textWithCrLf);
    QString text() const { return text_; }
    // The text as the box shows it: one line per line, separated by line feeds.
    QString toPlainText() const;

    void selectAll();
    QString selectedText() const;  // line breaks as line feeds
    void copy() const;

  signals:
    // A press that has turned into a drag: the window should follow the pointer.
    void pressed(QMouseEvent* event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    friend class TextBoxAccessible;

    int lineCount() const { return static_cast<int>(lineStarts_.size()); }
    int lineStart(int line) const { return lineStarts_[line]; }
    int lineEnd(int line) const;  // before the line break
    int lineOf(int position) const;
    void layOut(QTextLayout& layout, int line) const;
    int positionAt(QPoint viewportPoint) const;
    void moveCursor(int position, bool keepAnchor);
    void select(int from, int to);
    // Where the character at a position is drawn in the viewport; null when out of view.
    QRect characterRect(int position) const;
    // Tells a screen reader where the caret and the selection are now.
    void announceCaret();
    void ensureCursorVisible();
    void updateScrollBar();
    void updateScrollBarWhenShown();
    QString plain(int from, int to) const;

    QString text_;
    std::vector<int> lineStarts_;
    int cursor_ = 0;
    int anchor_ = 0;
    QPoint pressedAt_;
    bool pressing_ = false;
    bool scrollBarStale_ = false;
    int revision_ = 0;  // counts the texts the box has held
};

}  // namespace qb
