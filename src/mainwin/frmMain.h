#pragma once

#include <QLineEdit>
#include <QPoint>
#include <QToolButton>
#include <QWidget>

#include "common/AppShared.h"
#include "common/PictureControls.h"
#include "mainwin/MainBehaviour.h"
#include "mainwin/TextBox.h"

class QMouseEvent;

namespace qb {

// The book-shaped main window: the left page holds the title, the input box and the buttons,
// the right page the results. It draws; what it does is MainBehaviour's.
class frmMain final : public QWidget, private MainView {
    Q_OBJECT
  public:
    frmMain(AppShared& shared, Library library);
    ~frmMain() override;

    MainBehaviour& behaviour() { return behaviour_; }
    // Gives the keyboard focus to the input box, the window with it.
    void focusInput() override;

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
    void createControls();
    void setTabOrder();
    void pressedOnFace(QMouseEvent* event);

    // MainView
    int MsgBox(std::u16string_view text, int style) override;
    void unload() override;
    std::u16string inputText() override;
    void setInputText(std::u16string_view text) override;
    void setOutputText(std::u16string_view text) override;
    void fitToSkin() override;
    void showWindow() override;
    void comeForward() override;
    bool notificationAreaExists() override;
    void minimizeToTaskbar() override;
    void beginMove(int Button) override;
    void announceTrayHandOver() override { emit trayHandOver(); }
    void announceHideToTray() override { emit hideToTray(); }
    void announceQuit() override { emit quitConfirmed(); }
    void announceAbout() override { emit aboutRequested(); }
    void announceHelp() override { emit helpRequested(); }

    AppShared& shared_;
    MainBehaviour behaviour_;
    QPoint pressedAt_;  // where the press that starts a move was, on the screen
};

}  // namespace qb
