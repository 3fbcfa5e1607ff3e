#include "mainwin/TextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>

#include "mainwin/TextBoxAccessible.h"

namespace qb {
namespace {
constexpr int kMargin = 3;
}

TextBox::TextBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::NoContextMenu);  // every button drags the window
    viewport()->setCursor(Qt::ArrowCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    lineStarts_ = {0};
    static const bool readable = (QAccessible::installFactory(TextBoxAccessible::create), true);
    (void)readable;
}

void TextBox::setText(const QString& textWithCrLf) {
    // A screen reader hears of each new text once: a lookup clears the box and then fills
    // it, which is one removal and one insertion, never an event per line.
    const bool told = QAccessible::isActive() && !(text_.isEmpty() && textWithCrLf.isEmpty());
    const QString was = told ? toPlainText() : QString();
    text_ = textWithCrLf;
    ++revision_;
    lineStarts_.assign(1, 0);
    const QChar* data = text_.constData();
    const int size = static_cast<int>(text_.size());
    for (int i = 0; i < size; ++i)
        if (data[i] == u'\n') lineStarts_.push_back(i + 1);
    cursor_ = anchor_ = 0;
    // A box whose whole text is replaced shows it from the top.
    verticalScrollBar()->setValue(0);
    updateScrollBarWhenShown();
    viewport()->update();
    if (!told) return;
    const QString now = toPlainText();
    if (was.isEmpty()) {
        QAccessibleTextInsertEvent inserted(this, 0, now);
        QAccessible::updateAccessibility(&inserted);
    } else if (now.isEmpty()) {
        QAccessibleTextRemoveEvent removed(this, 0, was);
        QAccessible::updateAccessibility(&removed);
    } else {
        QAccessibleTextUpdateEvent replaced(this, 0, was, now);
        QAccessible::updateAccessibility(&replaced);
    }
}

// The scroll range needs the font, and the font database is read the first time a font is
// measured: a box filled before its window first appears (the greeting) leaves that to its
// first paint, after the window is on screen.
void TextBox::updateScrollBarWhenShown() {
    scrollBarStale_ = !isVisible();
    if (!scrollBarStale_) updateScrollBar();
}

int TextBox::lineEnd(int line) const {
    int end = line + 1 < lineCount() ? lineStarts_[line + 1] - 1 : static_cast<int>(text_.size());
    if (end > lineStarts_[line] && text_.at(end - 1) == u'\r' && line + 1 < lineCount()) --end;
    return end;
}

int TextBox::lineOf(int position) const {
    auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    return static_cast<int>(it - lineStarts_.begin()) - 1;
}

QString TextBox::plain(int from, int to) const {
    QString out = text_.mid(from, to - from);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

QString TextBox::toPlainText() const {
    return plain(0, static_cast<int>(text_.size()));
}

void TextBox::selectAll() {
    select(0, static_cast<int>(text_.size()));
}

void TextBox::select(int from, int to) {
    anchor_ = std::clamp(from, 0, static_cast<int>(text_.size()));
    cursor_ = std::clamp(to, 0, static_cast<int>(text_.size()));
    viewport()->update();
    announceCaret();
}

void TextBox::announceCaret() {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(this);
    QAccessibleTextInterface* text = readable != nullptr ? readable->textInterface() : nullptr;
    if (text == nullptr) return;
    if (anchor_ != cursor_) {
        int from = 0, to = 0;
        text->selection(0, &from, &to);
        QAccessibleTextSelectionEvent selected(this, from, to);
        selected.setCursorPosition(text->cursorPosition());
        QAccessible::updateAccessibility(&selected);
    } else {
        QAccessibleTextCursorEvent moved(this, text->cursorPosition());
        QAccessible::updateAccessibility(&moved);
    }
}

QString TextBox::selectedText() const {
    return plain(std::min(anchor_, cursor_), std::max(anchor_, cursor_));
}

void TextBox::copy() const {
    if (anchor_ != cursor_) QApplication::clipboard()->setText(selectedText());
}

void TextBox::layOut(QTextLayout& layout, int line) const {
    layout.setText(text_.mid(lineStart(line), lineEnd(line) - lineStart(line)));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const qreal width = viewport()->width() - 2 * kMargin;
    layout.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine row = layout.createLine();
        if (!row.isValid()) break;
        row.setLineWidth(width);
        row.setPosition(QPointF(0, y));
        y += row.height();
    }
    layout.endLayout();
}

void TextBox::paintEvent(QPaintEvent*) {
    if (scrollBarStale_) updateScrollBar();
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int selFrom = std::min(anchor_, cursor_), selTo = std::max(anchor_, cursor_);
    qreal y = kMargin;
    for (int line = verticalScrollBar()->value(); line < lineCount() && y < viewport()->height();
         ++line) {
        QTextLayout layout;
        layOut(layout, line);
        QList<QTextLayout::FormatRange> selections;
        const int start = lineStart(line), end = lineEnd(line);
        if (selFrom < selTo && selFrom <= end && selTo > start) {
            QTextLayout::FormatRange range;
            range.start = std::max(selFrom, start) - start;
            range.length = std::min(selTo, end) - start - range.start;
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selections << range;
        }
        layout.draw(&painter, QPointF(kMargin, y), selections);
        if (hasFocus() && cursor_ >= start && cursor_ <= end)
            layout.drawCursor(&painter, QPointF(kMargin, y), cursor_ - start);
        y += layout.boundingRect().height();
    }
}

void TextBox::updateScrollBar() {
    scrollBarStale_ = false;
    // Only whole lines between the margins count, or a caret kept in view could sit half
    // below the bottom edge.
    const int rows = std::max(
        1, (viewport()->height() - 2 * kMargin) / std::max(1, fontMetrics().lineSpacing()));
    verticalScrollBar()->setPageStep(rows);
    // The last page starts at the first line from which the rest fits; only the lines of that
    // page are laid out to find it.
    const qreal room = viewport()->height() - 2 * kMargin;
    qreal filled = 0;
    int top = lineCount() - 1;
    for (; top >= 0; --top) {
        QTextLayout layout;
        layOut(layout, top);
        filled += layout.boundingRect().height();
        if (filled > room) break;
    }
    verticalScrollBar()->setRange(0, std::clamp(top + 1, 0, lineCount() - 1));
}

void TextBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBarWhenShown();
}

int TextBox::positionAt(QPoint point) const {
    qreal y = kMargin;
    for (int line = verticalScrollBar()->value(); line < lineCount(); ++line) {
        QTextLayout layout;
        layOut(layout, line);
        const qreal height = layout.boundingRect().height();
        if (point.y() < y + height || line + 1 == lineCount()) {
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine row = layout.lineAt(i);
                if (point.y() < y + row.y() + row.height() || i + 1 == layout.lineCount())
                    return lineStart(line) + row.xToCursor(point.x() - kMargin);
            }
        }
        y += height;
    }
    return static_cast<int>(text_.size());
}

void TextBox::moveCursor(int position, bool keepAnchor) {
    cursor_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    if (!keepAnchor) anchor_ = cursor_;
    ensureCursorVisible();
    viewport()->update();
    announceCaret();
}

QRect TextBox::characterRect(int position) const {
    const int line = lineOf(position);
    qreal y = kMargin;
    for (int shown = verticalScrollBar()->value(); shown < lineCount() && shown <= line; ++shown) {
        QTextLayout layout;
        layOut(layout, shown);
        if (shown == line) {
            const int column = std::min(position, lineEnd(line)) - lineStart(line);
            const QTextLine row = layout.lineForTextPosition(column);
            if (!row.isValid()) return {};
            const qreal left = row.cursorToX(column);
            const qreal right =
                column < layout.text().size() ? row.cursorToX(column + 1) : left + 1;
            return QRectF(kMargin + left, y + row.y(), std::max<qreal>(1, right - left),
                          row.height())
                .toAlignedRect();
        }
        y += layout.boundingRect().height();
        if (y >= viewport()->height()) break;
    }
    return {};
}

void TextBox::ensureCursorVisible() {
    if (scrollBarStale_) updateScrollBar();
    const int line = lineOf(cursor_);
    QScrollBar* bar = verticalScrollBar();
    if (line < bar->value())
        bar->setValue(line);
    else if (line >= bar->value() + bar->pageStep())
        bar->setValue(line - bar->pageStep() + 1);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    if (scrollBarStale_) updateScrollBar();
    if (event == QKeySequence::Copy) return copy();
    if (event == QKeySequence::SelectAll) return selectAll();
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const int line = lineOf(cursor_);
    const int column = cursor_ - lineStart(line);
    auto toLine = [&](int target) {
        target = std::clamp(target, 0, lineCount() - 1);
        moveCursor(std::min(lineStart(target) + column, lineEnd(target)), extend);
    };
    switch (event->key()) {
        case Qt::Key_Left:
            moveCursor(cursor_ > 0 && lineStart(line) == cursor_ && line > 0 ? lineEnd(line - 1)
                                                                             : cursor_ - 1,
                       extend);
            break;
        case Qt::Key_Right:
            moveCursor(cursor_ == lineEnd(line) && line + 1 < lineCount() ? lineStart(line + 1)
                                                                          : cursor_ + 1,
                       extend);
            break;
        case Qt::Key_Up:
            toLine(line - 1);
            break;
        case Qt::Key_Down:
            toLine(line + 1);
            break;
        case Qt::Key_PageUp:
            toLine(line - verticalScrollBar()->pageStep());
            break;
        case Qt::Key_PageDown:
            toLine(line + verticalScrollBar()->pageStep());
            break;
        case Qt::Key_Home:
            moveCursor(event->modifiers() & Qt::ControlModifier ? 0 : lineStart(line), extend);
            break;
        case Qt::Key_End:
            moveCursor(event->modifiers() & Qt::ControlModifier ? static_cast<int>(text_.size())
                                                                : lineEnd(line),
                       extend);
            break;
        default:
            event->ignore();
            return;  // typing changes nothing here
    }
}

// A press places the caret, so a double-click can still select a word; once the pointer
// moves with a button held, the window is dragged instead.
void TextBox::mousePressEvent(QMouseEvent* event) {
    pressing_ = true;
    pressedAt_ = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton)
        moveCursor(positionAt(event->position().toPoint()), false);
}

void TextBox::mouseMoveEvent(QMouseEvent* event) {
    if (pressing_ && (event->globalPosition().toPoint() - pressedAt_).manhattanLength() >=
                         QApplication::startDragDistance()) {
        pressing_ = false;
        emit pressed(event);
    }
}

void TextBox::mouseReleaseEvent(QMouseEvent*) {
    pressing_ = false;
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const int at = positionAt(event->position().toPoint());
    const int line = lineOf(at);
    const QString lineText = text_.mid(lineStart(line), lineEnd(line) - lineStart(line));
    const int column = at - lineStart(line);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, lineText);
    words.setPosition(column);
    const auto reasons =
        words.isAtBoundary() ? words.boundaryReasons() : QTextBoundaryFinder::BoundaryReasons();
    int from, to;
    if (reasons & QTextBoundaryFinder::EndOfItem && !(reasons & QTextBoundaryFinder::StartOfItem)) {
        // The pointer is on the right half of a word's last letter: that word, not what follows.
        to = column;
        from = words.toPreviousBoundary();
    } else {
        from = reasons & QTextBoundaryFinder::StartOfItem ? column : words.toPreviousBoundary();
        words.setPosition(column);
        to = words.toNextBoundary();
    }
    if (from < 0 || to < 0) return;
    select(lineStart(line) + from, lineStart(line) + to);
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace qb
