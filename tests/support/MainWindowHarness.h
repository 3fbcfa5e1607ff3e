#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <memory>

#include "FakeServices.h"
#include "LibraryFixture.h"
#include "app/Windows.h"
#include "tray/Tray.h"

namespace qb::test {

// The main window on a library of the test's own, started up against recording fakes. The
// program's end is counted instead of quitting the test.
struct MainWindowHarness {
    std::unique_ptr<TempLibrary> lib = std::make_unique<TempLibrary>();
    std::unique_ptr<FakeDesktop> desktop = std::make_unique<FakeDesktop>();
    std::unique_ptr<AppShared> shared =
        std::make_unique<AppShared>(desktop->services(), QStringLiteral("/opt/qb"));
    std::unique_ptr<Tray> tray = std::make_unique<Tray>(*desktop);
    std::unique_ptr<Windows> windows;
    QPointer<frmMain> form;
    QPointer<frmTray> trayForm;
    int programEnded = 0;

    // Writes the library with `writeFiles(*lib)` and starts the window up.
    template <typename WriteFiles>
    explicit MainWindowHarness(WriteFiles&& writeFiles) {
        writeFiles(*lib);
        lib->fillMissingWithEmptyFiles();
        shared->setWhenLastWindowUnloaded([this] { ++programEnded; });
        windows = std::make_unique<Windows>(*shared, Library(lib->folder()), *tray);
        form = &windows->main();
    }
    void start() {
        windows->start();
        trayForm = &windows->tray();
    }
    ~MainWindowHarness() {
        windows.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace qb::test
