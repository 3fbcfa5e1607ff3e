#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "QtNotificationArea.h"
#include "QtSoundPlayer.h"
#include "QtSpeechEngine.h"
#include "Services.h"
#include "SystemInfoRegistry.h"

namespace qb::platform {

class QtWindowPlacement final : public WindowPlacement {
public:
    void setTopmost(QWidget& window, bool on) override;
    void setForeground(QWidget& window) override;
    void minimizeToTaskbar(QWidget& window) override;
    void showRestored(QWidget& window) override;

private:
    // Tool windows that minimising turned into ordinary ones, to be turned back.
    QList<QPointer<QWidget>> madeOrdinary_;
};

class QtWindowShape final : public WindowShape {
public:
    void setShape(QWidget& window, const QRegion& region) override;
};

class QtWindowMove final : public WindowMove {
public:
    void beginMove(QWidget& window, QPoint globalPressPosition, Qt::MouseButton button) override;
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

class QtAddressOpener final : public AddressOpener {
public:
    void openAddress(QWidget* owner, const QString& url) override;
};

class QtFileTests final : public FileTests {
public:
    bool isOrdinaryFile(const QString& path) override;
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
    QtProgramStarter programs;
    QtAddressOpener addresses;
    QtFileTests files;
    SystemInfoRegistry registry;
    QtSpeechEngine speech;
    Services services() {
        return {placement, shape, move,     sound,     messages, tray,
                menus,     handles, programs, addresses, files,    registry, speech};
    }
};

}  // namespace qb::platform
