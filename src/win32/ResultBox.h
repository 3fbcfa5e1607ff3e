#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qb::win32 {

// A read-only, multi-line text box for texts of any length. It keeps the text as given, with
// its CR LF line breaks, and lays out only the lines in view: the system's edit box lays out
// the whole text when it is set, which for a result of 88,000 entries took seconds. Long lines
// wrap at the box's width; the scroll bar moves by lines. Ctrl+A selects the text (so does a
// double-click), Ctrl+C copies it; the text is also the window's text (WM_GETTEXT). A screen
// reader finds it as read-only text named `name` whose value is the whole text, and hears of
// each new text once, when the program is next idle. UI Automation (Narrator) reads it through
// its MSAA proxy as a read-only value: the whole text, not yet line by line with a caret, which
// would take a text provider of its own.
class ResultBox final {
  public:
    ResultBox() = default;
    ResultBox(const ResultBox&) = delete;
    ResultBox& operator=(const ResultBox&) = delete;

    HWND create(HWND parent, int id, std::u16string_view name);
    HWND handle() const { return box_; }

    // Replaces the text, shown from its top.
    void setText(std::u16string_view textWithCrLf);
    void setFont(HFONT font);
    void setColours(COLORREF text, COLORREF background);
    // A mouse button pressed on the box (1 left, 2 right, 4 middle).
    std::function<void(int button)> pressed;

    // The first line in view and the number of lines, for the scroll bar's place.
    int firstLineInView() const { return top_; }
    int lineCount() const { return static_cast<int>(lineStarts_.size()); }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void scrollTo(int line);
    int linesPerPage() const;
    void updateScrollBar();
    std::wstring_view line(int index) const;
    void selectAll();
    void copy() const;
    void announceText();

    HWND box_ = nullptr;
    std::wstring text_;
    std::vector<std::size_t> lineStarts_;
    int top_ = 0;
    bool selected_ = false;
    bool announcing_ = false;  // a change of text is waiting to be told
    HFONT font_ = nullptr;
    int lineHeight_ = 16;
    COLORREF textColour_ = RGB(0, 0, 0), background_ = RGB(255, 255, 255);
};

}  // namespace qb::win32
