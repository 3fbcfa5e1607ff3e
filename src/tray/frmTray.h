#pragma once

#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <cstdint>

#include "common/AppShared.h"
#include "tray/Tray.h"

namespace qb {

// Receives the tray icon's mouse activity as mouse moves whose X, in twips, carries the
// mouse message number; it is never on screen.
class TrayPictureBox final : public QWidget {
    Q_OBJECT
  public:
    explicit TrayPictureBox(QWidget* parent) : QWidget(parent) {}

  signals:
    void MouseMove(int Button, int Shift, float X, float Y);

  protected:
    bool event(QEvent* event) override;
};

// The window that owns the program's icon in the notification area and its menu. The user
// never sees it. What it does to the main window it announces; the program wires the answer.
class frmTray final : public QWidget {
    Q_OBJECT
  public:
    frmTray(AppShared& shared, Tray& tray);
    ~frmTray() override;

    // Adds the icon if it is not there yet, then hides this window and the main window.
    void command_tray_Click();
    void picture_tray_MouseMove(int Button, int Shift, float X, float Y);
    void menu_show_Click();
    void menu_quit_Click();
    void Form_Unload();

    std::int32_t TrayID = 0;
    int ScaleMode = 1;  // twips, as the window was designed; the tray decoding relies on it

    TrayPictureBox* picture_tray;
    QPushButton* command_tray;
    QMenu* menu;
    QAction* menu_show;
    QAction* menu_quit;

  signals:
    void showMainWindow();
    void hideMainWindow();
    // Keyboard focus into the main window's input box.
    void focusMainInput();
    // The user answered Yes to the quit question.
    void quitConfirmed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    AppShared& shared_;
    Tray& tray_;
};

}  // namespace qb
