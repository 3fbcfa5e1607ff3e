#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "MainWindowHarness.h"

namespace qb::test {

// What every window test starts from: the main window started up against recording fakes,
// with short names for the parts a test looks at.
class WindowTest : public QObject {
  protected:
    template <typename WriteFiles>
    void startWindows(WriteFiles&& writeFiles) {
        h = std::make_unique<MainWindowHarness>(std::forward<WriteFiles>(writeFiles));
        desktop = h->desktop.get();
        shared = h->shared.get();
        tray = h->tray.get();
        form = h->form;
        beforeStart();
        h->start();
        trayForm = h->trayForm;
    }
    // Runs after the windows exist and before the start-up, for what must see the start-up.
    virtual void beforeStart() {}

    std::unique_ptr<MainWindowHarness> h;
    FakeDesktop* desktop = nullptr;
    AppShared* shared = nullptr;
    Tray* tray = nullptr;
    QPointer<frmMain> form;
    QPointer<frmTray> trayForm;
};

}  // namespace qb::test
