#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/linux/QtNotificationArea.h"
#include "platform/linux/SystemInfoRegistry.h"

namespace qb::platform {

class TaskbarState;

class QtWindowPlacement final : public WindowPlacement {
  public:
    void setTopmost(QWidget& window, bool on) override;
    void setForeground(QWidget& window) override;
    void minimizeToTaskbar(QWidget& window) override;
    void showRestored(QWidget& window) override;
    void showInTaskbar(QWidget& window, bool shown) override;

  private:
    // Tool windows that minimising turned into ordinary ones, to be turned back.
    QList<QPointer<QWidget>> madeOrdinary_;
    // The taskbar state of each window it was set for; each lives as long as its window.
    QList<QPointer<TaskbarState>> taskbarStates_;
};

class QtWindowShape final : public WindowShape {
  public:
    void setShape(QWidget& window, const QRegion& region) override;
};

class QtWindowMove final : public WindowMove {
  public:
    void beginMove(QWidget& window, QPoint globalPressPosition, Qt::MouseButton button) override;
};

// Loads the sound module (QtSoundModule.cpp, the player of QtSoundPlayer.h) once the event
// loop first has nothing to do, after the window is on screen, or at the first sound if that
// comes sooner; what was asked of it before then is handed on once it is there. Without the
// module the program is silent.
class DeferredSoundPlayer final : public SoundPlayer {
  public:
    DeferredSoundPlayer();
    ~DeferredSoundPlayer() override;
    void prepare(const QString& wavPath) override;
    void playAsync(const QString& wavPath) override;

  private:
    void load();

    bool tried_ = false;
    QString prepared_;
    std::unique_ptr<SoundPlayer> player_;
    QObject timerContext_;  // ends the pending load with this object
};

// Loads the speech module (QtSpeechModule.cpp, the engine of QtSpeechEngine.h) at the first
// call, and hands every call on to it. Without the module the program has no voice.
class DeferredSpeechEngine final : public SpeechEngine {
  public:
    DeferredSpeechEngine();
    ~DeferredSpeechEngine() override;
    bool stop() override;
    bool say(const std::u16string& text) override;
    bool hasVoice() override;

  private:
    SpeechEngine* engine();

    bool tried_ = false;
    std::unique_ptr<SpeechEngine> engine_;
};

// Hands the notification area's commands on once the event loop runs, after the window is
// on screen and after the start-up's click sound, in the order they came: making the first
// icon asks the session bus for a StatusNotifierWatcher (without a bus, libdbus first tries
// to start one) and sets up Qt's tray icon, none of which the window needs in order to
// appear. Commands after that go straight on.
class DeferredNotificationArea final : public NotificationArea {
  public:
    explicit DeferredNotificationArea(NotificationArea& area);
    void notifyIcon(TrayCommand command, const IconRecord& record,
                    std::u16string_view tip) override;
    bool isAvailable() override { return area_.isAvailable(); }

  private:
    struct Waiting {
        TrayCommand command;
        IconRecord record;
        std::u16string tip;  // the caller's text is gone by the time it is handed on
    };
    void handOn();

    NotificationArea& area_;
    bool started_ = false;
    std::vector<Waiting> waiting_;
    QObject timerContext_;  // ends the pending hand-over with this object
};

class QtMessageBoxes final : public MessageBoxes {
  public:
    int messageBox(QWidget* owner, const QString& text, int style, const QString& title) override;
};

class QtPopupMenus final : public PopupMenus {
  public:
    void popupMenu(QMenu& menu) override;
};

class QtProgramStarter final : public ProgramStarter {
  public:
    bool startProgram(std::u16string_view path) override;
};

class QtAddressOpener final : public AddressOpener {
  public:
    void openAddress(std::u16string_view url) override;
};

class QtFileTests final : public FileTests {
  public:
    bool isOrdinaryFile(std::u16string_view path) override;
};

// The real services of this desktop, for the program's main().
struct QtServices {
    Handles handles;
    QtWindowPlacement placement;
    QtWindowShape shape;
    QtWindowMove move;
    DeferredSoundPlayer sound;
    QtMessageBoxes messages;
    QtNotificationArea trayIcons{handles};
    DeferredNotificationArea tray{trayIcons};
    QtPopupMenus menus;
    QtProgramStarter programs;
    QtAddressOpener addresses;
    QtFileTests files;
    SystemInfoRegistry registry;
    DeferredSpeechEngine speech;
    Services services() {
        return {placement, shape,    move,      sound, messages, tray,  menus,
                handles,   programs, addresses, files, registry, speech};
    }
};

}  // namespace qb::platform
