#pragma once

#include <memory>

#include "QtNotificationArea.h"
#include "QtSpeechEngine.h"
#include "Services.h"

class QSoundEffect;

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

class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void playAsync(const QString& wavPath) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
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
    bool startProgram(const QString& path) override;
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
    QtSpeechEngine speech;
    QtProgramStarter programs;
    Services services() {
        return {placement, shape, move, sound, messages, tray, menus, handles, speech, programs};
    }
};

}  // namespace qb::platform
