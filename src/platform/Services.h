#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>

#include "platform/Handles.h"
#include "platform/NotificationArea.h"
#include "platform/Registry.h"
#include "platform/SpeechEngine.h"

class QMenu;
class QWidget;

namespace qb::platform {

// Everything the windows do to the desktop goes through these, so window tests can put
// recording fakes in their place.

class WindowPlacement {
  public:
    virtual ~WindowPlacement() = default;
    // Puts the window into the band of windows that stay above all others, or takes it out.
    // Never moves or resizes it.
    virtual void setTopmost(QWidget& window, bool on) = 0;
    // Brings the window's program to the foreground so a pop-up menu of it closes when the
    // user clicks elsewhere.
    virtual void setForeground(QWidget& window) = 0;
    // Minimises the window to the taskbar, giving it a taskbar button if it had none.
    virtual void minimizeToTaskbar(QWidget& window) = 0;
    // Shows the window un-minimised and in front. A window that minimising gave a taskbar
    // button loses it again.
    virtual void showRestored(QWidget& window) = 0;
    // Whether the window has a button on the taskbar, each time it is shown from now on and
    // at once if it is on screen. Without one it must be reachable some other way.
    virtual void showInTaskbar(QWidget& window, bool shown) = 0;
};

class WindowShape {
  public:
    virtual ~WindowShape() = default;
    // The window's outline becomes the region; an empty region leaves the full rectangle.
    virtual void setShape(QWidget& window, const QRegion& region) = 0;
};

class WindowMove {
  public:
    virtual ~WindowMove() = default;
    // Moves the window with the pointer from a press of `button` until that button is
    // released: the window manager's move loop where it can run one (it is driven by the
    // left button), else the window follows the pointer itself.
    virtual void beginMove(QWidget& window, QPoint globalPressPosition, Qt::MouseButton button) = 0;
};

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Loads a WAV file ahead of its first play, so that the first play is heard in full.
    virtual void prepare(const QString& wavPath) = 0;
    // Plays a WAV file without waiting; a missing or unplayable file is silent, and a new
    // sound cuts off the one still playing.
    virtual void playAsync(const QString& wavPath) = 0;
};

// Message box styles and answers, by the numbers the program has always used.
enum MessageStyle { kOkOnly = 0, kYesNoQuestion = 36 };
enum MessageAnswer { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // A modal box with the application title; returns the answer.
    virtual int messageBox(QWidget* owner, const QString& text, int style,
                           const QString& title) = 0;
};

class PopupMenus {
  public:
    virtual ~PopupMenus() = default;
    // Pops the menu up at the mouse pointer and returns when it has been dismissed, after
    // the chosen entry, if any, has run.
    virtual void popupMenu(QMenu& menu) = 0;
};

class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // Starts the program file in a normal window that gets the focus and returns at once;
    // false when it cannot be started. Never through a shell.
    virtual bool startProgram(const QString& path) = 0;
};

class AddressOpener {
  public:
    virtual ~AddressOpener() = default;
    // Opens a web address in the desktop's default browser, maximised where the desktop lets
    // the program ask for it.
    virtual void openAddress(QWidget* owner, const QString& url) = 0;
};

class FileTests {
  public:
    virtual ~FileTests() = default;
    // Whether an ordinary file of that name exists: not a folder, not a hidden file.
    virtual bool isOrdinaryFile(const QString& path) = 0;
};

struct Services {
    WindowPlacement& placement;
    WindowShape& shape;
    WindowMove& move;
    SoundPlayer& sound;
    MessageBoxes& messages;
    NotificationArea& tray;
    PopupMenus& menus;
    // The handles that records passed to these services carry.
    Handles& handles;
    ProgramStarter& programs;
    AddressOpener& addresses;
    FileTests& files;
    Registry& registry;
    SpeechEngine& speech;
};

}  // namespace qb::platform
