#pragma once

#include <QStringList>
#include <QWidget>
#include <deque>

#include "Services.h"

namespace qb::test {

// Desktop services that record every call, in order, into one log, and answer message boxes
// from a script.
class FakeDesktop final : public platform::WindowPlacement,
                          public platform::WindowShape,
                          public platform::WindowMove,
                          public platform::SoundPlayer,
                          public platform::MessageBoxes {
public:
    platform::Services services() { return {*this, *this, *this, *this, *this}; }

    void setTopmost(QWidget& window, bool on) override {
        log << QStringLiteral("topmost %1 %2").arg(window.objectName(), on ? "on" : "off");
    }
    void setShape(QWidget& window, const QRegion& region) override {
        log << QStringLiteral("shape %1").arg(window.objectName());
        shape = region;
    }
    void beginMove(QWidget& window, QPoint) override {
        log << QStringLiteral("move %1").arg(window.objectName());
    }
    void playAsync(const QString& path) override {
        log << QStringLiteral("sound");
        soundPath = path;
    }
    int messageBox(QWidget*, const QString& text, int style, const QString& title) override {
        log << QStringLiteral("message %1").arg(style);
        messages << text;
        titles << title;
        if (answers.empty()) return style == platform::kYesNoQuestion ? platform::kAnswerNo
                                                                      : platform::kAnswerOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList log;
    QStringList messages;
    QStringList titles;
    std::deque<int> answers;
    QRegion shape;
    QString soundPath;
};

}  // namespace qb::test
