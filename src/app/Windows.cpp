#include "app/Windows.h"

namespace qb {

Windows::Windows(AppShared& shared, Library library, Tray& tray)
    : shared_(shared), trayIcons_(tray), main_(new frmMain(shared, std::move(library))) {
    // The book is reached through its tray icon, Help and About through the book.
    placement().showInTaskbar(*main_, false);
    connect(main_, &frmMain::trayHandOver, this, [this] {
        frmTray& window = this->tray();
        window.show();
        window.hide();
        window.command_tray_Click();
    });
    connect(main_, &frmMain::hideToTray, this, [this] { this->tray().command_tray_Click(); });
    connect(main_, &frmMain::quitConfirmed, this, &Windows::quit);
    // Both shown modeless and without an owner, so the topmost main window stays in front of
    // them; an open one is brought forward, not doubled.
    connect(main_, &frmMain::aboutRequested, this, [this] { bringForward(about()); });
    connect(main_, &frmMain::helpRequested, this, [this] { bringForward(help()); });
}

// The program ends only once every window is unloaded, and the others are deleted by then;
// Help and About may still be here when the windows end without the program (tests).
Windows::~Windows() {
    delete help_.data();
    delete about_.data();
}

// Un-minimised too: the window may have been minimised by its frame's button, which some
// window managers draw although the window asks for none, or by "minimise all".
void Windows::bringForward(QWidget& window) {
    placement().showRestored(window);
    window.activateWindow();
}

frmHelp& Windows::help() {
    if (!help_) {
        help_ = new frmHelp(shared_);
        placement().showInTaskbar(*help_, false);
    } else {
        shared_.load(help_);
    }
    return *help_;
}

frmTray& Windows::tray() {
    if (tray_) return *tray_;
    tray_ = new frmTray(shared_, trayIcons_);
    // Back from the tray whole, however it left: a window that went to the taskbar for want
    // of a tray comes back un-minimised and without its taskbar button.
    connect(tray_, &frmTray::showMainWindow, this, [this] {
        if (main_) shared_.services().placement.showRestored(*main_);
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

bool Windows::showMainFromAnywhere() {
    if (!main_ || !shared_.isLoaded(main_)) return false;
    tray().menu_show_Click();
    return true;
}

frmAbout& Windows::about() {
    if (about_ && shared_.isLoaded(about_)) return *about_;
    // The one that Exit unloaded is finished with; its click is long over.
    delete about_.data();
    about_ = new frmAbout(shared_);
    placement().showInTaskbar(*about_, false);
    return *about_;
}

void Windows::quit() {
    const QPointer<frmTray> tray = tray_;
    if (main_) shared_.unload(main_);
    if (tray) shared_.unload(tray);
    // Help or About left open keeps the program running, and with the book gone nothing
    // else leads to them: each comes back on screen if it was minimised, and from now on
    // has a taskbar button of its own.
    const std::initializer_list<QWidget*> leftOpen{help_.data(), about_.data()};
    for (QWidget* window : leftOpen) {
        if (window == nullptr || !shared_.isLoaded(window)) continue;
        placement().showInTaskbar(*window, true);
        if (window->isMinimized()) placement().showRestored(*window);
    }
}

}  // namespace qb
