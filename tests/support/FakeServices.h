#pragma once

#include <QMenu>
#include <QStringList>
#include <QWidget>
#include <deque>

#include "FakeRegistry.h"
#include "platform/Services.h"

namespace qb::test {

// Desktop services that record every call, in order, into one log, and answer message boxes
// from a script.
class FakeDesktop final : public platform::WindowPlacement,
                          public platform::WindowShape,
                          public platform::WindowMove,
                          public platform::SoundPlayer,
                          public platform::MessageBoxes,
                          public platform::NotificationArea,
                          public platform::PopupMenus,
                          public platform::ProgramStarter,
                          public platform::AddressOpener,
                          public platform::FileTests,
                          public platform::SpeechEngine {
  public:
    platform::Services services() {
        return {*this,   *this, *this, *this, *this,    *this, *this,
                handles, *this, *this, *this, registry, *this};
    }

    void setTopmost(QWidget& window, bool on) override {
        log << QStringLiteral("topmost %1 %2").arg(window.objectName(), on ? "on" : "off");
    }
    void setForeground(QWidget& window) override {
        log << QStringLiteral("foreground %1").arg(window.objectName());
    }
    // The window's own state follows, so a test sees a window left minimised.
    void minimizeToTaskbar(QWidget& window) override {
        log << QStringLiteral("minimize %1").arg(window.objectName());
        window.showMinimized();
    }
    void showRestored(QWidget& window) override {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
    }
    void showInTaskbar(QWidget& window, bool shown) override {
        if (shown)
            offTaskbar.removeAll(window.objectName());
        else if (!offTaskbar.contains(window.objectName()))
            offTaskbar << window.objectName();
    }
    void notifyIcon(platform::TrayCommand command, const platform::IconRecord& record,
                    std::u16string_view tip) override {
        log << QStringLiteral("tray %1").arg(command == platform::TrayCommand::Add ? "add"
                                                                                   : "delete");
        records.push_back({command, record});
        tips << QString::fromStdU16String(std::u16string(tip));
    }
    bool isAvailable() override { return trayAvailable; }
    void popupMenu(QMenu& menu) override {
        QStringList entries;
        for (QAction* a : menu.actions()) entries << a->text();
        log << QStringLiteral("menu %1").arg(entries.join('|'));
        if (menuChoice >= 0) menu.actions().at(menuChoice)->trigger();
    }

    void setShape(QWidget& window, const QRegion& region) override {
        log << QStringLiteral("shape %1").arg(window.objectName());
        shape = region;
    }
    void beginMove(QWidget& window, QPoint, Qt::MouseButton button) override {
        log << QStringLiteral("move %1").arg(window.objectName());
        moveButtons << button;
    }
    void prepare(const QString& path) override { preparedSound = path; }
    void playAsync(const QString& path) override {
        log << QStringLiteral("sound");
        soundPath = path;
    }
    int messageBox(QWidget* owner, const QString& text, int style, const QString& title) override {
        log << QStringLiteral("message %1").arg(style);
        owners << (owner != nullptr ? owner->objectName() : QString());
        messages << text;
        titles << title;
        if (answers.empty())
            return style == platform::kYesNoQuestion ? platform::kAnswerNo : platform::kAnswerOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    bool stop() override {
        log << QStringLiteral("speech stop");
        return voice;
    }
    bool say(const std::u16string& text) override {
        log << QStringLiteral("speech say %1").arg(QString::fromStdU16String(text));
        return voice;
    }
    bool hasVoice() override { return voice; }
    bool startProgram(std::u16string_view path) override {
        log << QStringLiteral("start %1").arg(QStringView(path));
        return startable.contains(QStringView(path));
    }
    void openAddress(std::u16string_view url) override {
        log << QStringLiteral("open %1").arg(QStringView(url));
    }
    bool isOrdinaryFile(std::u16string_view path) override {
        log << QStringLiteral("exists %1").arg(QStringView(path));
        return existingFiles.contains(QStringView(path));
    }

    QStringList log;
    QStringList messages;
    QStringList offTaskbar;  // the windows kept off the taskbar, by name
    QStringList titles;
    QStringList owners;  // the window each message box opened over, by name; empty for none
    std::deque<int> answers;
    QRegion shape;
    std::vector<std::pair<platform::TrayCommand, platform::IconRecord>> records;
    QStringList tips;  // as the desktop was given them, one per record
    platform::Handles handles;
    bool trayAvailable = true;
    int menuChoice = -1;  // the entry chosen when a menu pops up; -1 dismisses it
    QString soundPath;
    QString preparedSound;
    QList<Qt::MouseButton> moveButtons;
    QStringList startable;      // the programs that start; any other path fails
    QStringList existingFiles;  // the ordinary files there are
    FakeRegistry registry;
    bool voice = true;  // false: the speech calls fail and there is no voice
};

}  // namespace qb::test
