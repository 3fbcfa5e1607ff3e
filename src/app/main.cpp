#include <QApplication>

#include "app/Windows.h"
#include "common/AppShared.h"
#include "platform/ProgramFolder.h"
#include "platform/linux/QtServices.h"
#include "platform/linux/QtSingleInstance.h"
#include "tray/Tray.h"

int main(int argc, char** argv) {
    // Staying on top, the book-shaped outline and moving by the face need X11; on a Wayland
    // session the program runs through XWayland.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(qb::kApplicationTitle);
    // The program ends when its last loaded window is unloaded, hidden ones included.
    QApplication::setQuitOnLastWindowClosed(false);
    // A copy already running on this display brings its book forward instead of a second
    // book and a second icon.
    const auto oneCopy = qb::platform::singleInstanceOnThisDisplay();
    if (oneCopy->handOverToRunningCopy(qb::platform::StartRequest::BringForward)) return 0;

    qb::platform::QtServices desktop;
    const std::string folder = qb::platform::programFolder();
    qb::AppShared shared(desktop.services(), QString::fromStdString(folder));
    qb::Tray tray(desktop.tray);
    qb::Windows windows(shared, qb::Library::besideProgram(folder), tray);
    oneCopy->serve(
        [&windows](qb::platform::StartRequest) { return windows.showMainFromAnywhere(); });
    windows.start();
    return app.exec();
}
