#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "common/AppShared.h"
#include "common/PictureControls.h"
#include "lookup/Lookup.h"
#include "mainwin/TextBox.h"

class QMouseEvent;

namespace qb {

// The book-shaped main window: the left page holds the title, the input box and the buttons,
// the right page the results. What it asks of the other windows it announces; the program
// wires the answer.
class frmMain final : public QWidget {
    Q_OBJECT
  public:
    frmMain(AppShared& shared, Library library);
    ~frmMain() override;

    // Start-up and closing.
    void Form_Load();
    void Command_Close_Click();
    void Command_Min_Click();
    void Cmd_About_Click();
    // Gives the keyboard focus to the input box, the window with it.
    void focusInput();

    // Looking up.
    void Command_Submit_Click();
    void Command_AdvanSubmit_Click();
    bool AdvSubmit() const { return state_.AdvSubmit; }
    QString lastkey() const { return QString::fromStdU16String(state_.lastkey); }

    // Keys of the input box: the virtual-key code of a key going down, the character code of
    // a keystroke, by the numbers the program has always used.
    static constexpr int kVirtualKeyUp = 38;
    static constexpr int kCarriageReturn = 13;
    void Text_Input_KeyDown(int KeyCode);
    void Text_Input_KeyPress(int KeyAscii);

    // Speaking the typed text; opening the Help window.
    void Cmd_Voice_Click();
    void Cmd_Help_Click();

    // Dragging the window by its face.
    void pic1_MouseDown(QMouseEvent* event);
    void Text_Output_MouseDown(QMouseEvent* event);
    void Text1_MouseDown(QMouseEvent* event);

    // The controls, named as the program has always named them.
    PictureBox* pic1 = nullptr;
    TextBox* Text1 = nullptr;
    PictureBox* Command_Min = nullptr;
    PictureBox* Command_Close = nullptr;
    PictureBox* Cmd_About = nullptr;
    PictureBox* Cmd_Help = nullptr;
    QToolButton* Command_Submit = nullptr;
    QToolButton* Command_AdvanSubmit = nullptr;
    QToolButton* Cmd_Voice = nullptr;
    TextBox* Text_Output = nullptr;
    QLineEdit* Text_Input = nullptr;
    QWidget* DirectSS1 = nullptr;

  signals:
    // Start-up: the tray window is to be loaded and to add its icon (which hides this window
    // until the start-up shows it again).
    void trayHandOver();
    // The minimise button: the tray window is to hide this window.
    void hideToTray();
    // The user answered Yes to the quit question.
    void quitConfirmed();
    // The About button: the About window is to be shown.
    void aboutRequested();
    // The help button: the Help window is to be shown.
    void helpRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class LookupWidgets;
    void createControls();
    void setTabOrder();
    void beginMove(QMouseEvent* event);

    AppShared& shared_;
    Lookup lookup_;
    LookupState state_;
    std::unique_ptr<LookupWidgets> view_;
    std::u16string output_;  // the output box's text while a lookup fills it
};

}  // namespace qb
