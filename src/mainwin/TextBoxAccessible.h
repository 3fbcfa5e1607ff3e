#pragma once

#include <QAccessibleWidget>
#include <vector>

namespace qb {

class TextBox;

// A TextBox as a screen reader reads it: a read-only, multi-line text whose lines, caret and
// selection it can walk. The text is the box's as it shows it, one line feed between lines, so
// a reader never meets the carriage returns the box keeps.
class TextBoxAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TextBoxAccessible(TextBox* box);

    // The interface Qt asks for whenever a TextBox needs one.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text kind) const override { return QAccessibleWidget::text(kind); }
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    TextBox& box() const;
    // Where each line starts in the text a reader sees; worked out when first asked after
    // the box's text changed, so a box nobody reads costs nothing more.
    const std::vector<int>& lineOffsets() const;
    int lineAtOffset(int offset) const;
    int lineEndOffset(int line) const;  // after the line feed, or at the end of the text
    int offsetOf(int position) const;
    int positionOf(int offset) const;
    enum class Side { Before, At, After };
    QString boundedText(int offset, QAccessible::TextBoundaryType boundaryType, Side side,
                        int* startOffset, int* endOffset) const;

    mutable std::vector<int> lineOffsets_;
    mutable int revision_ = -1;
};

}  // namespace qb
