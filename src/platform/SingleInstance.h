#pragma once

#include <chrono>
#include <functional>

namespace qb::platform {

// A copy that takes longer than this to answer a later start is taken for hung: the later
// start then runs as if none were running. Long enough for a copy busy with a lookup of
// every file, short enough that a user who started the program is not left waiting.
inline constexpr std::chrono::milliseconds kHandOverTimeLimit{1000};

// What a later start asks of the running copy.
enum class StartRequest {
    BringForward,     // a plain start: the window comes forward
    LookUpSelection,  // the window comes forward and looks up the desktop's selection
};

// One copy of the program for each user on each display: a second start hands over to the
// copy already running, which brings its window forward, and ends.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    // True when a running copy took this start over: this start should end at once. False
    // when it should go on: none was running (this copy is then the one that later starts
    // reach), the running one is ending, or it did not answer within the time limit.
    // The running copy is asked to do what `request` says.
    virtual bool handOverToRunningCopy(StartRequest request) = 0;
    // From now on a later start runs `answer` with its request, which answers whether it
    // brought a window forward. A copy that answers no is ending: it stops being the one
    // later starts reach, and the start that asked goes on in its place. Until this is
    // called, a later start is told yes: the window it would bring forward is on its way
    // (and a request to look up is lost).
    virtual void serve(std::function<bool(StartRequest)> answer) = 0;
};

}  // namespace qb::platform
