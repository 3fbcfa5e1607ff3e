#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "AppShared.h"
#include "Lookup.h"
#include "MainWidgets.h"
#include "TextBox.h"

class QMouseEvent;

namespace qb {
class Tray;
class frmTray;
}

namespace qb {

// The book-shaped main window: the left page holds the title, the input box and the buttons,
// the right page the results.
class frmMain final : public QWidget {
    Q_OBJECT
public:
    frmMain(AppShared& shared, Library library, Tray& tray);
    ~frmMain() override;

    // Start-up and closing.
    void Form_Load();
    void Command_Close_Click();
    void Command_Min_Click();
    // Gives the keyboard focus to the input box, the window with it.
    void focusInput();
    // The window that owns the tray icon; loaded on first use.
    frmTray& trayWindow();

    // Looking up.
    void Command_Submit_Click();
    void Command_AdvanSubmit_Click();
    void PrintResult(const QString& StringLine);
    bool AdvSubmit() const { return state_.AdvSubmit; }
    void setAdvSubmit(bool on) { state_.AdvSubmit = on; }
    QString lastkey() const { return QString::fromStdU16String(state_.lastkey); }

    // Keys of the input box: the virtual-key code of a key going down, the character code of
    // a keystroke.
    void Text_Input_KeyDown(int KeyCode);
    void Text_Input_KeyPress(int KeyAscii);

    // Dragging the window by its face.
    void pic1_MouseDown(QMouseEvent* event);
    void Text_Output_MouseDown(QMouseEvent* event);
    void Text1_MouseDown(QMouseEvent* event);

    // The controls, named as the program has always named them.
    PictureBox* pic1;
    TextBox* Text1;
    PictureBox* Command_Min;
    PictureBox* Command_Close;
    PictureBox* Cmd_About;
    PictureBox* Cmd_Help;
    QToolButton* Command_Submit;
    QToolButton* Command_AdvanSubmit;
    QToolButton* Cmd_Voice;
    TextBox* Text_Output;
    QLineEdit* Text_Input;
    QWidget* DirectSS1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class LookupWidgets;
    void createControls();
    void setTabOrder();
    void handOverToTray();
    void beginMove(QMouseEvent* event);

    AppShared& shared_;
    Tray& tray_;
    QPointer<frmTray> trayWindow_;
    Lookup lookup_;
    LookupState state_;
    std::unique_ptr<LookupWidgets> view_;
    std::u16string output_;  // the output box's text while a lookup fills it
};

}  // namespace qb
