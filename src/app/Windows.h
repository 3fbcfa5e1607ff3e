#pragma once

#include <QObject>
#include <memory>
#include <string_view>

#include "about/frmAbout.h"
#include "common/AppShared.h"
#include "lookup/Library.h"
#include "mainwin/frmMain.h"
#include "speech/frmHelp.h"
#include "tray/Tray.h"
#include "tray/frmTray.h"

namespace qb {

// Creates the program's windows when they are first needed, owns them, and wires what each
// announces to the window that answers it. No window knows another; this is where they meet.
class Windows final : public QObject {
  public:
    Windows(AppShared& shared, Library library, Tray& tray);
    ~Windows() override;

    frmMain& main() { return *main_; }
    // The tray window, loaded on first use.
    frmTray& tray();
    // The About window, loaded on first use and again after its Exit has unloaded it.
    frmAbout& about();
    // The Help window, loaded on first use and again after it was closed: always the same one.
    frmHelp& help();

    // Runs the main window's start-up.
    void start() { main_->behaviour().Form_Load(); }
    // Another start of the program brings the main window forward from wherever it is, as
    // the tray menu's "show" does. False when there is none left to show: the program is
    // ending.
    bool showMainFromAnywhere();
    // Text selected elsewhere on the desktop, looked up in the main window, which comes
    // forward for it from wherever it is; nothing selected only brings it forward. False as
    // showMainFromAnywhere.
    bool lookUpSelection(std::u16string_view selected);

  private:
    // Yes to the quit question, from either window: the main window, then the tray window.
    void quit();
    // Shows a window, in front and focused.
    void bringForward(QWidget& window);
    platform::WindowPlacement& placement() { return shared_.services().placement; }

    AppShared& shared_;
    Tray& trayIcons_;
    // The four windows are made here and deleted here, never elsewhere: when the program's
    // windows end, and an About that Exit unloaded when the next one is opened. Unloading
    // only closes a window, often from inside its own menu or message box.
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmTray> tray_;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<frmHelp> help_;
};

}  // namespace qb
