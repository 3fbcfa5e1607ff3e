#include "mainwin/TextBoxAccessible.h"

#include <QScrollBar>
#include <algorithm>

#include "mainwin/TextBox.h"

namespace qb {
namespace {

// One line's text, for Qt's own reading of characters, words and sentences: a box of half a
// million lines is never copied whole to find the word under the caret.
class LineText final : public QAccessibleTextInterface {
  public:
    explicit LineText(QString text) : text_(std::move(text)) {}
    QString text(int startOffset, int endOffset) const override {
        return text_.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(text_.size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int*, int*) const override { return {}; }

  private:
    QString text_;
};

}  // namespace

TextBoxAccessible::TextBoxAccessible(TextBox* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

QAccessibleInterface* TextBoxAccessible::create(const QString&, QObject* object) {
    auto* box = qobject_cast<TextBox*>(object);
    return box != nullptr ? new TextBoxAccessible(box) : nullptr;
}

TextBox& TextBoxAccessible::box() const {
    return *static_cast<TextBox*>(widget());
}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

const std::vector<int>& TextBoxAccessible::lineOffsets() const {
    const TextBox& b = box();
    if (revision_ == b.revision_) return lineOffsets_;
    lineOffsets_.resize(b.lineStarts_.size());
    int offset = 0;
    for (int line = 0; line < b.lineCount(); ++line) {
        lineOffsets_[line] = offset;
        offset += b.lineEnd(line) - b.lineStart(line) + 1;  // one line feed for CR LF or LF
    }
    revision_ = b.revision_;
    return lineOffsets_;
}

int TextBoxAccessible::characterCount() const {
    const TextBox& b = box();
    const int last = b.lineCount() - 1;
    return lineOffsets()[last] + static_cast<int>(b.text_.size()) - b.lineStart(last);
}

int TextBoxAccessible::lineAtOffset(int offset) const {
    const std::vector<int>& starts = lineOffsets();
    offset = std::clamp(offset, 0, characterCount());
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) -
                            starts.begin()) -
           1;
}

int TextBoxAccessible::lineEndOffset(int line) const {
    return line + 1 < box().lineCount() ? lineOffsets()[line + 1] : characterCount();
}

int TextBoxAccessible::offsetOf(int position) const {
    const TextBox& b = box();
    const int line = b.lineOf(position);
    return lineOffsets()[line] + std::min(position, b.lineEnd(line)) - b.lineStart(line);
}

int TextBoxAccessible::positionOf(int offset) const {
    const int line = lineAtOffset(offset);
    offset = std::clamp(offset, 0, characterCount());
    return box().lineStart(line) + offset - lineOffsets()[line];
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
    if (endOffset == -1) endOffset = characterCount();
    if (endOffset <= startOffset) return {};
    return box().plain(positionOf(startOffset), positionOf(endOffset));
}

int TextBoxAccessible::cursorPosition() const {
    return offsetOf(box().cursor_);
}

void TextBoxAccessible::setCursorPosition(int position) {
    box().moveCursor(positionOf(position), false);
}

int TextBoxAccessible::selectionCount() const {
    return box().anchor_ != box().cursor_ ? 1 : 0;
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0) return;
    *startOffset = offsetOf(std::min(box().anchor_, box().cursor_));
    *endOffset = offsetOf(std::max(box().anchor_, box().cursor_));
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) box().moveCursor(box().cursor_, false);
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) return;
    box().select(positionOf(startOffset), positionOf(endOffset));
}

QString TextBoxAccessible::boundedText(int offset, QAccessible::TextBoundaryType boundaryType,
                                       Side side, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = -1;
    const int count = characterCount();
    if (offset == -1) offset = count;
    if (offset < 0 || offset > count) return {};
    if (boundaryType == QAccessible::NoBoundary) {
        if (side != Side::At) return {};
        *startOffset = 0;
        *endOffset = count;
        return text(0, count);
    }
    int line = lineAtOffset(offset);
    const bool byLine =
        boundaryType == QAccessible::LineBoundary || boundaryType == QAccessible::ParagraphBoundary;
    if (byLine) {
        line += side == Side::Before ? -1 : side == Side::After ? 1 : 0;
        if (line < 0 || line >= box().lineCount()) return {};
        *startOffset = lineOffsets()[line];
        *endOffset = lineEndOffset(line);
        return text(*startOffset, *endOffset);
    }
    // Characters, words and sentences: read within the line, its line feed included; what
    // lies before a line's start or after its end is in the line beside it.
    auto within = [&](int inLine, int at, Side from) {
        const int start = lineOffsets()[inLine];
        const LineText local(text(start, lineEndOffset(inLine)));
        QString found =
            from == Side::Before
                ? local.textBeforeOffset(at - start, boundaryType, startOffset, endOffset)
            : from == Side::After
                ? local.textAfterOffset(at - start, boundaryType, startOffset, endOffset)
                : local.textAtOffset(at - start, boundaryType, startOffset, endOffset);
        if (*startOffset >= 0) {
            *startOffset += start;
            *endOffset += start;
        }
        return found;
    };
    QString found = within(line, offset, side);
    if (!found.isEmpty()) return found;
    if (side == Side::Before && line > 0) return within(line - 1, lineOffsets()[line], side);
    if (side == Side::After && line + 1 < box().lineCount())
        return within(line + 1, lineOffsets()[line + 1], Side::At);
    return found;
}

QString TextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                            int* startOffset, int* endOffset) const {
    return boundedText(offset, type, Side::Before, startOffset, endOffset);
}

QString TextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                           int* startOffset, int* endOffset) const {
    return boundedText(offset, type, Side::After, startOffset, endOffset);
}

QString TextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type,
                                        int* startOffset, int* endOffset) const {
    return boundedText(offset, type, Side::At, startOffset, endOffset);
}

QRect TextBoxAccessible::characterRect(int offset) const {
    const QRect inViewport = box().characterRect(positionOf(offset));
    if (inViewport.isNull()) return {};
    return QRect(box().viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint inViewport = box().viewport()->mapFromGlobal(point);
    if (!box().viewport()->rect().contains(inViewport)) return -1;
    return offsetOf(box().positionAt(inViewport));
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int) {
    box().verticalScrollBar()->setValue(box().lineOf(positionOf(startIndex)));
}

QString TextBoxAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

}  // namespace qb
