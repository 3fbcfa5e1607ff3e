#include <QApplication>
#include <QTimer>

#include "app/Windows.h"
#include "common/AppShared.h"
#include "platform/DesktopSelection.h"
#include "platform/ProgramFolder.h"
#include "platform/linux/QtServices.h"
#include "platform/linux/QtSingleInstance.h"
#include "platform/linux/X11GlobalHotkey.h"
#include "tray/Tray.h"

namespace {

using qb::platform::StartRequest;

// Said once, at start-up, when another program already holds the key.
const QString kHotkeyTaken = QStringLiteral(
    "Ctrl+Alt+Z 已被其他程式佔用，無法用它查詢選取的文字。\r\n\r\n"
    "可在桌面的鍵盤設定中，為「quillbook --look-up-selection」另設一組按鍵。");

}  // namespace

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
    // For desktops where the key cannot be ours (a Wayland session): the user binds a key of
    // the desktop's own to this.
    const StartRequest request =
        QApplication::arguments().contains(QStringLiteral("--look-up-selection"))
            ? StartRequest::LookUpSelection
            : StartRequest::BringForward;
    // A copy already running on this display brings its book forward instead of a second
    // book and a second icon, and looks the selection up when that is what was asked.
    const auto oneCopy = qb::platform::singleInstanceOnThisDisplay();
    if (oneCopy->handOverToRunningCopy(request)) return 0;

    qb::platform::QtServices desktop;
    const std::string folder = qb::platform::programFolder();
    qb::AppShared shared(desktop.services(), QString::fromStdString(folder));
    qb::Tray tray(desktop.tray);
    qb::Windows windows(shared, qb::Library::besideProgram(folder), tray);
    const auto lookUpSelection = [&windows] {
        return windows.lookUpSelection(qb::platform::desktopSelection());
    };
    oneCopy->serve([&windows, &lookUpSelection](StartRequest asked) {
        return asked == StartRequest::LookUpSelection ? lookUpSelection()
                                                      : windows.showMainFromAnywhere();
    });
    windows.start();
    // The lookup this start was asked for comes before the box below, so the box sits over
    // its result.
    if (request == StartRequest::LookUpSelection)
        QTimer::singleShot(0, &windows, [&lookUpSelection] { lookUpSelection(); });
    qb::platform::X11GlobalHotkey hotkey;
    if (hotkey.grab(lookUpSelection) == qb::platform::HotkeyGrab::HeldByAnother)
        // Over the book once it is up; the program goes on without the key.
        QTimer::singleShot(0, &windows.main(), [&shared, &windows] {
            shared.MsgBox(kHotkeyTaken, qb::platform::kOkOnly, &windows.main());
            // The focus the box took goes back to the book, where start-up put it.
            if (windows.main().isVisible()) windows.main().focusInput();
        });
    return app.exec();
}
