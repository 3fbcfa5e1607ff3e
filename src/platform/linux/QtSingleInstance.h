#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <memory>

#include "platform/SingleInstance.h"

namespace qb::platform {

// The part of the names below that tells one display from another, so that a copy on
// another display (another session of the same user, a test's own X server) is left alone:
// the display's name without its screen number, as letters, digits and '_'.
QString displayKey(const QByteArray& displayName);

// On a session bus, the running copy is the owner of a well-known name: the bus gives it to
// one connection at a time and takes it back when that connection ends, crash or not.
class BusSingleInstance final : public QObject, public SingleInstance {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillbook.Quillbook")
  public:
    BusSingleInstance(QDBusConnection bus, QString serviceName,
                      std::chrono::milliseconds timeLimit = kHandOverTimeLimit);
    ~BusSingleInstance() override;
    bool handOverToRunningCopy(StartRequest request) override;
    void serve(std::function<bool(StartRequest)> answer) override;

  public slots:
    // What a later start calls, a plain one and one to look up the selection; the answer
    // is as serve's.
    bool Activate();
    bool LookUpSelection();

  private:
    QDBusConnection bus_;
    QString serviceName_;
    std::chrono::milliseconds timeLimit_;
    bool owner_ = false;
    std::function<bool(StartRequest)> answer_;

    bool answerStart(StartRequest request);
};

// The session bus's way where there is a session bus, else a local socket in the user's
// runtime folder; both named for the user's display.
std::unique_ptr<SingleInstance> singleInstanceOnThisDisplay();

}  // namespace qb::platform
