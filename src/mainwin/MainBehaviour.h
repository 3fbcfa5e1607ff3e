#pragma once

#include <string>
#include <string_view>

#include "common/ProgramCalls.h"
#include "common/WindowView.h"
#include "lookup/Lookup.h"
#include "platform/SpeechEngine.h"

namespace qb {

// The title page's text, which nothing changes.
inline constexpr std::u16string_view kTitlePageText = u"\r\n 羽筆字典\r\n Quillbook\r\n";

// What the main window asks of the window that draws it. What it asks of the other windows
// it announces; the program wires the answer.
class MainView : public WindowView {
  public:
    virtual std::u16string inputText() = 0;
    virtual void setInputText(std::u16string_view text) = 0;
    // Replaces the results page's text, shown from its top.
    virtual void setOutputText(std::u16string_view text) = 0;

    // Fits the window to the skin's picture and cuts its outline from it.
    virtual void fitToSkin() = 0;
    // Shows the window with all its controls.
    virtual void showWindow() = 0;
    // Gives the keyboard focus to the input box, the window with it.
    virtual void focusInput() = 0;
    // Brings the window back on screen from wherever it is (hidden in the tray, minimised to
    // the taskbar, behind other windows), in front and with the focus in the input box.
    virtual void comeForward() = 0;
    // Whether the desktop has a notification area to hide the window into.
    virtual bool notificationAreaExists() = 0;
    virtual void minimizeToTaskbar() = 0;
    // Lets the user move the window with the pointer, until the button (1 left, 2 right,
    // 4 middle) that was pressed is released.
    virtual void beginMove(int Button) = 0;

    // The tray window is to be loaded and to add its icon (which hides this window until the
    // start-up shows it again).
    virtual void announceTrayHandOver() = 0;
    // The tray window is to hide this window.
    virtual void announceHideToTray() = 0;
    // The user answered Yes to the quit question.
    virtual void announceQuit() = 0;
    virtual void announceAbout() = 0;
    virtual void announceHelp() = 0;
};

// What the main window does, whoever draws it: the start-up, the close question, hiding to
// the tray, the lookup and its keys, pronunciation, and moving the window by its face.
class MainBehaviour final : private LookupView {
  public:
    MainBehaviour(MainView& view, ProgramCalls& program, platform::SpeechEngine& speech,
                  Library library)
        : view_(view), program_(program), speech_(speech), lookup_(std::move(library)) {}

    void Form_Load();
    void Command_Close_Click();
    void Command_Min_Click();
    void Cmd_About_Click();
    void Cmd_Help_Click();

    void Command_Submit_Click();
    void Command_AdvanSubmit_Click();
    // Text selected in another program, brought by the desktop's key: the book comes forward
    // on top and, unless nothing is left of the text once trimmed (SelectedText.h), looks it
    // up as if it had been typed and Enter pressed. One English word that finds nothing is
    // looked up by its first base form that finds entries; the input box and `lastkey` then
    // hold that form, for Up and the speak button.
    void LookUpSelection(std::u16string_view selected);
    bool AdvSubmit() const { return state_.AdvSubmit; }
    const std::u16string& lastkey() const { return state_.lastkey; }

    // Keys of the input box (common/KeyCodes.h): the virtual-key code of a key going down,
    // the character code of a keystroke.
    void Text_Input_KeyDown(int KeyCode);
    void Text_Input_KeyPress(int KeyAscii);

    void Cmd_Voice_Click();
    // The pointer reaches the speak button: the voices take seconds to find, so the search
    // starts here.
    void Cmd_Voice_MouseEnter();
    // The speak button's tooltip, asked when it is due, so that it follows voices installed
    // while the program runs.
    std::u16string Cmd_Voice_ToolTip();

    // A button pressed on the window's face: the skin, the title or the results page.
    void Face_MouseDown(int Button);

  private:
    // LookupView
    void setTopmost(bool on) override { program_.SetTopmost(on); }
    void playClickSound() override { program_.PlayClickSound(); }
    void showMessage(std::u16string_view text) override;
    std::u16string inputText() override { return view_.inputText(); }
    void clearInput() override { view_.setInputText({}); }
    void clearOutput() override;
    void printResult(std::u16string_view line) override;
    void resultsComplete() override { view_.setOutputText(output_); }
    bool outputIsEmpty() override { return output_.empty(); }

    MainView& view_;
    ProgramCalls& program_;
    platform::SpeechEngine& speech_;
    Lookup lookup_;
    LookupState state_;
    std::u16string output_;  // the output box's text while a lookup fills it
};

}  // namespace qb
