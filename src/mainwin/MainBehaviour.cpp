#include "mainwin/MainBehaviour.h"

#include "common/KeyCodes.h"
#include "lookup/EntryLine.h"
#include "lookup/SelectedText.h"
#include "platform/Desktop.h"
#include "speech/Pronunciation.h"

namespace qb {

void MainBehaviour::Form_Load() {
    program_.SetTopmost(true);
    program_.PlayClickSound();
    view_.fitToSkin();
    // The tray window adds the icon, which stays for the whole run; it also hides this
    // window, which the start-up then shows again.
    view_.announceTrayHandOver();
    view_.showWindow();
    view_.focusInput();
}

void MainBehaviour::Command_Close_Click() {
    program_.SetTopmost(false);
    if (program_.confirmQuit()) view_.announceQuit();
}

void MainBehaviour::Command_Min_Click() {
    program_.PlayClickSound();
    const bool areaExists = view_.notificationAreaExists();
    view_.announceHideToTray();
    // Hidden into a notification area that does not exist, the window could never be
    // brought back: it goes to the taskbar instead. Its icon waits for an area to appear.
    if (!areaExists) view_.minimizeToTaskbar();
}

// No click sound and no change of the placement band.
void MainBehaviour::Cmd_About_Click() {
    view_.announceAbout();
}

void MainBehaviour::Cmd_Help_Click() {
    program_.PlayClickSound();
    view_.announceHelp();
}

void MainBehaviour::Command_Submit_Click() {
    lookup_.Command_Submit_Click(*this, state_);
}

void MainBehaviour::Command_AdvanSubmit_Click() {
    state_.AdvSubmit = true;
    Command_Submit_Click();
}

void MainBehaviour::LookUpSelection(std::u16string_view selected) {
    program_.SetTopmost(true);
    view_.comeForward();
    const std::u16string text = trimSelection(selected);
    if (text.empty()) return;
    // The forms are tried quietly; only the lookup that shows something, or says that
    // nothing was found, is the user's.
    const std::u16string form = lookup_.wordOrBaseForm(text);
    view_.setInputText(form);
    state_.AdvSubmit = false;
    Command_Submit_Click();
    // The lookup empties the box; the looked-up text stays in view, as the user did not
    // type it.
    view_.setInputText(form);
}

void MainBehaviour::Text_Input_KeyDown(int KeyCode) {
    if (KeyCode == kVirtualKeyUp) view_.setInputText(state_.lastkey);
}

void MainBehaviour::Text_Input_KeyPress(int KeyAscii) {
    if (KeyAscii == kCharacterCarriageReturn) Command_Submit_Click();
}

void MainBehaviour::Cmd_Voice_Click() {
    speakInput(program_, view_, speech_, view_.inputText());
}

void MainBehaviour::Cmd_Voice_MouseEnter() {
    speech_.hasVoice();
}

std::u16string MainBehaviour::Cmd_Voice_ToolTip() {
    return silentVoiceTip(speech_);
}

void MainBehaviour::Face_MouseDown(int Button) {
    view_.beginMove(Button);
}

void MainBehaviour::showMessage(std::u16string_view text) {
    view_.MsgBox(text, platform::kOkOnly);
}

void MainBehaviour::clearOutput() {
    output_.clear();
    view_.setOutputText({});
}

// The lookup never yields while it scans, so the box is filled once, when the scan is over:
// the user sees the same text, in time that grows with its length alone.
void MainBehaviour::printResult(std::u16string_view line) {
    appendDisplayForm(line, output_);
}

}  // namespace qb
