#pragma once

#include <QSocketNotifier>
#include <memory>
#include <string>

#include "platform/SingleInstance.h"

namespace qb::platform {

// Without a session bus: the running copy holds a lock on `socketPath`.lock and listens on
// `socketPath`, both in a folder of the user's own. The kernel lets the lock go when the
// copy ends, crash or not, so files a crash leaves behind never block a start: the next
// holder of the lock replaces the socket. A later start connects, writes its request as one
// byte ('f' to bring the window forward, 's' to look up the selection) and reads one byte
// back, '1' (done) or '0' (ending). An empty path leaves every start on its own.
class SocketSingleInstance final : public SingleInstance {
  public:
    explicit SocketSingleInstance(std::string socketPath,
                                  std::chrono::milliseconds timeLimit = kHandOverTimeLimit);
    ~SocketSingleInstance() override;
    SocketSingleInstance(const SocketSingleInstance&) = delete;
    SocketSingleInstance& operator=(const SocketSingleInstance&) = delete;

    bool handOverToRunningCopy(StartRequest request) override;
    void serve(std::function<bool(StartRequest)> answer) override;

  private:
    enum class Claim { Ours, Taken, Impossible };
    enum class Answer { Yes, No, None, Late };
    Claim claim();
    Answer ask(StartRequest request, std::chrono::steady_clock::time_point deadline) const;
    void answerWaitingStarts();
    void stopServing();

    std::string socketPath_;
    std::chrono::milliseconds timeLimit_;
    int lock_ = -1;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> waitingStarts_;
    std::function<bool(StartRequest)> answer_;
};

}  // namespace qb::platform
