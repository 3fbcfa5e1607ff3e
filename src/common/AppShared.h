#pragma once

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "common/ProgramCalls.h"
#include "common/WindowView.h"
#include "platform/Services.h"

namespace qb {

inline const QString kApplicationTitle = QStringView(kProgramTitle).toString();
inline const QString kQuitQuestion = QStringView(kQuitQuestionText).toString();

// A PNG picture of the program's resources: one of the start-up's, decoded when the program
// was built, or read by Qt's own PNG reader alone. Otherwise Qt first loads every image
// format plugin (GIF, ICO, JPEG with libjpeg) to ask it about the file, before the main
// window can be mapped.
QImage pngImage(const QString& resourcePath);
QPixmap pngPicture(const QString& resourcePath);

// The program's icon, for every window and the notification area: the 16- and 32-pixel
// pictures of app.ico, read from their PNG copies, as Qt needs a plugin to read an .ico.
QIcon programIcon();

// What every window of the program shares: the desktop services, the program folder, the
// click sound, the main window's placement band, message boxes, and the list of loaded
// windows whose end ends the program.
class AppShared final : public ProgramCalls {
  public:
    AppShared(platform::Services services, QString programFolder);
    ~AppShared() override;
    AppShared(const AppShared&) = delete;
    AppShared& operator=(const AppShared&) = delete;

    platform::Services& services() { return services_; }
    const QString& programFolder() const { return programFolder_; }

    // The window that SetTopmost acts on, whoever calls it.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    void PlayClickSound() override;
    void SetTopmost(bool on) override;
    // A modal box with the application title; style and answer as platform::MessageStyle
    // and platform::MessageAnswer. It opens over `over`, by default over the main window
    // while that is on screen, and gives the focus back to it when it closes.
    int MsgBox(const QString& text, int style, QWidget* over = nullptr);
    bool confirmQuit() override;

    // A window counts as loaded from load() until unload(), which closes it; the program ends
    // when the last loaded window has been unloaded. An unloaded window is not deleted here:
    // an unload often runs inside a menu or message box of the very window, and the windows'
    // owner deletes them once that is over.
    void load(QWidget* window);
    void unload(QWidget* window);
    bool isLoaded(const QWidget* window) const;
    void setWhenLastWindowUnloaded(std::function<void()> action) {
        lastUnloaded_ = std::move(action);
    }

  private:
    platform::Services services_;
    QString programFolder_;
    QPointer<QWidget> mainWindow_;
    QList<QPointer<QWidget>> loaded_;
    std::function<void()> lastUnloaded_;
};

}  // namespace qb
