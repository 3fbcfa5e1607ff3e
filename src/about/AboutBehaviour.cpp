#include "about/AboutBehaviour.h"

#include <string>

#include "about/SysInfo.h"
#include "common/KeyCodes.h"

namespace qb {
namespace {

constexpr std::u16string_view kHomePage = u"https://quillbook.example.org/";
constexpr std::u16string_view kDisclaimer =
    u"Quillbook comes with no warranty of any kind; use it at your own risk. "
    u"Its entries come from CC-CEDICT and are used under the CC BY-SA 4.0 licence.";

}  // namespace

void AboutBehaviour::Form_Load() {
    view_.setCaption(u"About " + std::u16string(kProgramTitle));
    view_.setTitle(kProgramTitle);
    view_.setDisclaimer(kDisclaimer);
}

void AboutBehaviour::cmdOK_Click() {
    view_.unload();
}

// The message belongs to this window: over it, and Esc closes this window again after OK.
void AboutBehaviour::cmdSysInfo_Click() {
    StartSysInfo(desktop_, view_);
}

void AboutBehaviour::Form_MouseMove() {
    view_.showLinkBorder(false);
}

void AboutBehaviour::Label3_MouseMove() {
    view_.showLinkBorder(true);
}

void AboutBehaviour::Label3_Click() {
    desktop_.addresses.openAddress(kHomePage);
}

bool AboutBehaviour::Form_KeyDown(int KeyCode, int Shift) {
    // Exit is the cancel button: Esc presses it whichever button has the focus.
    if (KeyCode != kVirtualKeyEscape || Shift != 0) return false;
    cmdOK_Click();
    return true;
}

}  // namespace qb
