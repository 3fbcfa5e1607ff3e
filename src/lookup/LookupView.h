#pragma once

#include <string>
#include <string_view>

namespace qb {

// What a lookup does to the world around it. The main window implements it with its widgets
// and the desktop; the command-line lookup with standard output and standard error.
class LookupView {
  public:
    virtual ~LookupView() = default;

    virtual void setTopmost(bool on) = 0;
    virtual void playClickSound() = 0;
    // A modal message box with an OK button; returns when it has been closed.
    virtual void showMessage(std::u16string_view text) = 0;

    virtual std::u16string inputText() = 0;
    virtual void clearInput() = 0;

    virtual void clearOutput() = 0;
    // Appends the display form of one entry line to the output box.
    virtual void printResult(std::u16string_view line) = 0;
    // The scan is over: nothing more is appended in this lookup.
    virtual void resultsComplete() {}
    virtual bool outputIsEmpty() = 0;
};

// The main window's state that outlives a single lookup.
struct LookupState {
    bool AdvSubmit = false;  // all-entries request; false between lookups
    std::u16string lastkey;  // typed text of the last lookup past the empty-input check
};

}  // namespace qb
