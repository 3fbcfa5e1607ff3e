#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "lookup/Library.h"
#include "lookup/Utf8.h"
#include "platform/ProgramFolder.h"
#include "platform/windows/SapiSpeechEngine.h"
#include "platform/windows/ShellNotificationArea.h"
#include "platform/windows/Win32Desktop.h"
#include "platform/windows/Win32SoundPlayer.h"
#include "tray/Tray.h"
#include "win32/AboutWindow.h"
#include "win32/HelpWindow.h"
#include "win32/MainWindow.h"
#include "win32/OneCopy.h"
#include "win32/Pictures.h"
#include "win32/ProgramLife.h"
#include "win32/SelectionHotkey.h"
#include "win32/TrayWindow.h"
#include "win32/Win32Program.h"

namespace {

using namespace qb;
using namespace qb::win32;

// The program's windows and the services they stand on, wired to each other: no window knows
// another, what one announces is answered here.
int runProgram() {
    PictureDecoder decoder;
    const std::string folder = platform::programFolder();
    platform::Win32SoundPlayer sound;
    platform::SapiSpeechEngine speech;
    platform::ShellNotificationArea area;
    platform::Win32ProgramStarter programs;
    platform::Win32AddressOpener addresses;
    platform::Win32FileTests files;
    platform::Win32Registry registry;
    const platform::Desktop desktop{programs, addresses, files, registry};
    Win32Program program(sound, fromUtf8(folder));
    Tray icons(area);
    ProgramLife life;
    // Made at their first button press; each loads again after it was closed.
    AboutWindow about(life, desktop);
    HelpWindow help(life, desktop, fromUtf8(folder));

    MainWindow main(life, program, speech, area, Library::besideProgram(folder));
    program.setMainWindow(main.handle());
    std::unique_ptr<TrayWindow> tray;
    // Yes to the quit question, from either window: the main window, then the tray window.
    const auto quit = [&main, &tray] {
        main.unload();
        if (tray) tray->unload();
    };
    const auto trayWindow = [&]() -> TrayWindow& {
        if (!tray) {
            tray = std::make_unique<TrayWindow>(life, program, icons, area);
            tray->setAnnouncements({.showMain = [&main] { main.showRestored(); },
                                    .hideMain = [&main] { main.hide(); },
                                    .focusMainInput = [&main] { main.focusInput(); },
                                    .quit = quit});
        }
        return *tray;
    };
    main.setAnnouncements({
        .trayHandOver = [&trayWindow] { trayWindow().behaviour().command_tray_Click(); },
        .hideToTray = [&trayWindow] { trayWindow().behaviour().command_tray_Click(); },
        .quit = quit,
        .about = [&about] { about.show(); },
        .help = [&help] { help.show(); },
        .shown = [&program] { program.mainWindowShown(); },
    });
    main.behaviour().Form_Load();
    // Taken once the book is loaded, so that a box saying another program holds the key
    // opens over it; the key goes with the book's window.
    SelectionHotkey selectionKey(main.handle(), [&main](std::u16string_view selected) {
        main.behaviour().LookUpSelection(selected);
    });
    return life.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const OneCopy oneCopy;
    if (oneCopy.handedOver()) return 0;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const int code = runProgram();
    CoUninitialize();
    return code;
}
