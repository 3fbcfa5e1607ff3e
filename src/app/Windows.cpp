#include "Windows.h"

namespace qb {

Windows::Windows(AppShared& shared, Library library, Tray& tray)
    : shared_(shared), trayIcons_(tray), main_(new frmMain(shared, std::move(library))) {
    connect(main_, &frmMain::trayHandOver, this, [this] {
        frmTray& window = this->tray();
        window.show();
        window.hide();
        window.command_tray_Click();
    });
    connect(main_, &frmMain::hideToTray, this, [this] { this->tray().command_tray_Click(); });
    connect(main_, &frmMain::quitConfirmed, this, &Windows::quit);
    connect(main_, &frmMain::helpRequested, this, [this] {
        // Modeless and without an owner: the topmost main window stays in front of it.
        frmHelp& window = help();
        window.show();
        window.raise();
        window.activateWindow();
    });
}

// The program ends only once every window is unloaded, and the others are deleted by then;
// the Help window may still be here when the windows end without the program (tests).
Windows::~Windows() { delete help_.data(); }

frmHelp& Windows::help() {
    if (!help_)
        help_ = new frmHelp(shared_);
    else
        shared_.load(help_);
    return *help_;
}

frmTray& Windows::tray() {
    if (tray_) return *tray_;
    tray_ = new frmTray(shared_, trayIcons_);
    connect(tray_, &frmTray::showMainWindow, this, [this] {
        if (main_) main_->show();
    });
    connect(tray_, &frmTray::hideMainWindow, this, [this] {
        if (main_) main_->hide();
    });
    connect(tray_, &frmTray::focusMainInput, this, [this] {
        if (main_) main_->focusInput();
    });
    connect(tray_, &frmTray::quitConfirmed, this, &Windows::quit);
    return *tray_;
}

void Windows::quit() {
    const QPointer<frmTray> tray = tray_;
    if (main_) shared_.unload(main_);
    if (tray) shared_.unload(tray);
}

}  // namespace qb
