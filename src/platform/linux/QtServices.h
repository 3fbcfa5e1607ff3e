#pragma once

#include <memory>

#include "QtNotificationArea.h"
#include "Services.h"

#include <QObject>

namespace qb::platform {

class QtWindowPlacement final : public WindowPlacement {
public:
    void setTopmost(QWidget& window, bool on) override;
    void setForeground(QWidget& window) override;
    void minimizeToTaskbar(QWidget& window) override;
};

class QtWindowShape final : public WindowShape {
public:
    void setShape(QWidget& window, const QRegion& region) override;
};

class QtWindowMove final : public WindowMove {
public:
    void beginMove(QWidget& window, QPoint globalPressPosition) override;
};

// Loads the sound module (QtSoundEffect.cpp) once the event loop first has nothing to do,
// after the window is on screen, or at the first sound if that comes sooner. Without the
// module the program is silent.
class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void playAsync(const QString& wavPath) override;

private:
    void load();

    bool tried_ = false;
    std::unique_ptr<SoundPlayer> player_;
    QObject timerContext_;  // ends the pending load with this object
};

class QtMessageBoxes final : public MessageBoxes {
public:
    int messageBox(QWidget* owner, const QString& text, int style, const QString& title) override;
};

class QtPopupMenus final : public PopupMenus {
public:
    void popupMenu(QMenu& menu) override;
};

// The real services of this desktop, for the program's main().
struct QtServices {
    Handles handles;
    QtWindowPlacement placement;
    QtWindowShape shape;
    QtWindowMove move;
    QtSoundPlayer sound;
    QtMessageBoxes messages;
    QtNotificationArea tray{handles};
    QtPopupMenus menus;
    Services services() { return {placement, shape, move, sound, messages, tray, menus, handles}; }
};

}  // namespace qb::platform
