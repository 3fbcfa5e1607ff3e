#pragma once

#include <string>

#include "common/WindowView.h"
#include "platform/Desktop.h"

namespace qb {

// What the Help window does, whoever draws it: it starts the two speech installers that ship
// beside the program, and an open Help window keeps the program running.
class HelpBehaviour final {
  public:
    HelpBehaviour(WindowView& view, platform::Desktop desktop, std::u16string programFolder)
        : view_(view), desktop_(desktop), programFolder_(std::move(programFolder)) {}

    void Command1_Click();
    void Command2_Click();
    // Its close box unloads it, so that a closed Help window no longer keeps the program
    // running.
    void closeBox_Click();

  private:
    void startInstaller(std::u16string_view name);

    WindowView& view_;
    platform::Desktop desktop_;
    std::u16string programFolder_;
};

}  // namespace qb
