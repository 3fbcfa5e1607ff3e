#pragma once

#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <cstdint>

#include "common/AppShared.h"
#include "tray/Tray.h"
#include "tray/TrayBehaviour.h"

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
// It draws; what it does is TrayBehaviour's.
class frmTray final : public QWidget, private TrayView {
    Q_OBJECT
  public:
    frmTray(AppShared& shared, Tray& tray);
    ~frmTray() override;

    TrayBehaviour& behaviour() { return behaviour_; }

    TrayPictureBox* picture_tray;
    QPushButton* command_tray;
    QMenu* menu;
    QAction* menu_show;
    QAction* menu_quit;

  signals:
    void showMainWindowRequested();
    void hideMainWindowRequested();
    // Keyboard focus into the main window's input box.
    void focusMainInputRequested();
    // The user answered Yes to the quit question.
    void quitWasConfirmed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // TrayView
    std::uint32_t iconOwnerHandle() override;
    std::uint32_t programIconHandle() override;
    void hideThisWindow() override { hide(); }
    void setForeground() override;
    void popUpMenu() override;
    void showMainWindow() override { emit showMainWindowRequested(); }
    void hideMainWindow() override { emit hideMainWindowRequested(); }
    void focusMainInput() override { emit focusMainInputRequested(); }
    void quitConfirmed() override { emit quitWasConfirmed(); }

    AppShared& shared_;
    TrayBehaviour behaviour_;
};

}  // namespace qb
