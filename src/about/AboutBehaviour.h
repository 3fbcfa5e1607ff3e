#pragma once

#include <string_view>

#include "common/WindowView.h"
#include "platform/Desktop.h"

namespace qb {

// What the About window shows beyond every window's part.
class AboutView : public WindowView {
  public:
    // The window's own title, the program's title inside it, and the disclaimer.
    virtual void setCaption(std::u16string_view text) = 0;
    virtual void setTitle(std::u16string_view text) = 0;
    virtual void setDisclaimer(std::u16string_view text) = 0;
    // The border that marks the link as the pointer's.
    virtual void showLinkBorder(bool shown) = 0;
};

// What the About window does, whoever draws it: its start, its keys, the link and the two
// buttons.
class AboutBehaviour final {
  public:
    AboutBehaviour(AboutView& view, platform::Desktop desktop) : view_(view), desktop_(desktop) {}

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // The pointer over the bare window surface, and over the link.
    void Form_MouseMove();
    void Label3_MouseMove();
    void Label3_Click();
    // A key going down anywhere in the window (common/KeyCodes.h); true when the window has
    // answered it, false when it is left to the focused control.
    bool Form_KeyDown(int KeyCode, int Shift);

  private:
    AboutView& view_;
    platform::Desktop desktop_;
};

}  // namespace qb
