#include "platform/linux/SocketSingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

namespace qb::platform {
namespace {

bool addressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

constexpr char kBringForward = 'f';
constexpr char kLookUpSelection = 's';

// What the start on the other end of a new connection asks. It writes its byte as soon as it
// is connected; one that says nothing in time is taken for a plain start.
StartRequest requestFrom(int connection) {
    pollfd readable{connection, POLLIN, 0};
    int ready = 0;
    do ready = ::poll(&readable, 1, 200);
    while (ready < 0 && errno == EINTR);
    char byte = kBringForward;
    if (ready > 0 && ::read(connection, &byte, 1) != 1) byte = kBringForward;
    return byte == kLookUpSelection ? StartRequest::LookUpSelection : StartRequest::BringForward;
}

}  // namespace

SocketSingleInstance::SocketSingleInstance(std::string socketPath,
                                           std::chrono::milliseconds timeLimit)
    : socketPath_(std::move(socketPath)), timeLimit_(timeLimit) {}

SocketSingleInstance::~SocketSingleInstance() {
    waitingStarts_.reset();  // no event loop is left to delete it later
    stopServing();
}

bool SocketSingleInstance::handOverToRunningCopy(StartRequest request) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit_;
    for (;;) {
        switch (claim()) {
            case Claim::Ours:
            case Claim::Impossible:
                return false;
            case Claim::Taken:
                break;
        }
        switch (ask(request, deadline)) {
            case Answer::Yes:
                return true;
            case Answer::Late:
                return false;
            case Answer::No:  // it let the lock go: take it
                break;
            case Answer::None:
                // The holder of the lock is not listening yet, or no longer.
                if (std::chrono::steady_clock::now() >= deadline) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                break;
        }
    }
}

SocketSingleInstance::Claim SocketSingleInstance::claim() {
    sockaddr_un address;
    if (!addressOf(socketPath_, address)) return Claim::Impossible;
    if (lock_ < 0) {
        lock_ = ::open((socketPath_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock_ < 0) return Claim::Impossible;
    }
    if (::flock(lock_, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? Claim::Taken : Claim::Impossible;
    // Whatever socket is there was left by a copy that no longer holds the lock.
    ::unlink(socketPath_.c_str());
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0) {
        // Holding the lock without listening would make every later start wait out the
        // time limit.
        stopServing();
        return Claim::Impossible;
    }
    waitingStarts_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(waitingStarts_.get(), &QSocketNotifier::activated, waitingStarts_.get(),
                     [this] { answerWaitingStarts(); });
    return Claim::Ours;
}

SocketSingleInstance::Answer SocketSingleInstance::ask(
    StartRequest request, std::chrono::steady_clock::time_point deadline) const {
    sockaddr_un address;
    addressOf(socketPath_, address);
    // Not blocking: a hung copy's queue of waiting starts can be full, and connecting would
    // then wait for it.
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (connection < 0) return Answer::Late;
    Answer answer = Answer::None;
    const char asked = request == StartRequest::LookUpSelection ? kLookUpSelection : kBringForward;
    if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(connection, &asked, 1, MSG_NOSIGNAL) == 1) {
        answer = Answer::Late;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd readable{connection, POLLIN, 0};
            const int ready =
                ::poll(&readable, 1, static_cast<int>(std::max<long>(left.count(), 0)));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) break;
            char byte = 0;
            const ssize_t got = ::read(connection, &byte, 1);
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            answer = got == 1 && byte == '1' ? Answer::Yes : got == 1 ? Answer::No : Answer::None;
            break;
        }
    }
    ::close(connection);
    return answer;
}

void SocketSingleInstance::serve(std::function<bool(StartRequest)> answer) {
    answer_ = std::move(answer);
}

void SocketSingleInstance::answerWaitingStarts() {
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) return;
        const StartRequest request = requestFrom(connection);
        const bool broughtForward = !answer_ || answer_(request);
        // Given up before the answer goes out: the start that asked can take the lock at once.
        if (!broughtForward) stopServing();
        const char answer = broughtForward ? '1' : '0';
        ::send(connection, &answer, 1, MSG_NOSIGNAL);
        ::close(connection);
        if (!broughtForward) return;
    }
}

void SocketSingleInstance::stopServing() {
    if (waitingStarts_) {
        waitingStarts_->setEnabled(false);
        // It may be the one whose signal is running now.
        waitingStarts_.release()->deleteLater();
    }
    if (listener_ >= 0) {
        ::close(listener_);
        listener_ = -1;
        // Only while the lock is still ours: afterwards the socket there is the next copy's.
        ::unlink(socketPath_.c_str());
    }
    if (lock_ >= 0) {
        ::close(lock_);
        lock_ = -1;
    }
}

}  // namespace qb::platform
