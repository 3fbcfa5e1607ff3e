#include "app/Windows.h"

namespace qb {

Windows::Windows(AppShared& shared, Library library, Tray& tray)
    : shared_(shared),
      trayIcons_(tray),
      main_(std::make_unique<frmMain>(shared, std::move(library))) {
    // The book is reached through its tray icon, Help and About through the book.
    placement().showInTaskbar(*main_, false);
    connect(main_.get(), &frmMain::trayHandOver, this, [this] {
        frmTray& window = this->tray();
        window.show();
        window.hide();
        window.behaviour().command_tray_Click();
    });
    connect(main_.get(), &frmMain::hideToTray, this,
            [this] { this->tray().behaviour().command_tray_Click(); });
    connect(main_.get(), &frmMain::quitConfirmed, this, &Windows::quit);
    // Both shown modeless and without an owner, so the topmost main window stays in front of
    // them; an open one is brought forward, not doubled.
    connect(main_.get(), &frmMain::aboutRequested, this, [this] { bringForward(about()); });
    connect(main_.get(), &frmMain::helpRequested, this, [this] { bringForward(help()); });
}

// The windows that others announce to go first; the main window, which SetTopmost acts on,
// last.
Windows::~Windows() {
    help_.reset();
    about_.reset();
    tray_.reset();
    main_.reset();
}

// Un-minimised too: the window may have been minimised by its frame's button, which some
// window managers draw although the window asks for none, or by "minimise all".
void Windows::bringForward(QWidget& window) {
    placement().showRestored(window);
    window.activateWindow();
}

frmHelp& Windows::help() {
    if (!help_) {
        help_ = std::make_unique<frmHelp>(shared_);
        placement().showInTaskbar(*help_, false);
    } else {
        shared_.load(help_.get());
    }
    return *help_;
}

frmTray& Windows::tray() {
    if (tray_) return *tray_;
    tray_ = std::make_unique<frmTray>(shared_, trayIcons_);
    // Back from the tray whole, however it left: a window that went to the taskbar for want
    // of a tray comes back un-minimised and without its taskbar button.
    connect(tray_.get(), &frmTray::showMainWindowRequested, this,
            [this] { placement().showRestored(*main_); });
    connect(tray_.get(), &frmTray::hideMainWindowRequested, this, [this] { main_->hide(); });
    connect(tray_.get(), &frmTray::focusMainInputRequested, this, [this] { main_->focusInput(); });
    connect(tray_.get(), &frmTray::quitWasConfirmed, this, &Windows::quit);
    return *tray_;
}

bool Windows::showMainFromAnywhere() {
    if (!shared_.isLoaded(main_.get())) return false;
    tray().behaviour().menu_show_Click();
    return true;
}

bool Windows::lookUpSelection(std::u16string_view selected) {
    // Back from the tray the tray window's way first, so the icon's state follows the window.
    if (!showMainFromAnywhere()) return false;
    main_->behaviour().LookUpSelection(selected);
    return true;
}

frmAbout& Windows::about() {
    if (about_ && shared_.isLoaded(about_.get())) return *about_;
    // The one that Exit unloaded is finished with; its click is long over.
    about_ = std::make_unique<frmAbout>(shared_);
    placement().showInTaskbar(*about_, false);
    return *about_;
}

void Windows::quit() {
    frmTray* const tray = tray_.get();  // only a tray window there was before the quit
    shared_.unload(main_.get());
    if (tray) shared_.unload(tray);
    // Help or About left open keeps the program running, and with the book gone nothing
    // else leads to them: each comes back on screen if it was minimised, and from now on
    // has a taskbar button of its own.
    const std::initializer_list<QWidget*> leftOpen{help_.get(), about_.get()};
    for (QWidget* window : leftOpen) {
        if (window == nullptr || !shared_.isLoaded(window)) continue;
        placement().showInTaskbar(*window, true);
        if (window->isMinimized()) placement().showRestored(*window);
    }
}

}  // namespace qb
