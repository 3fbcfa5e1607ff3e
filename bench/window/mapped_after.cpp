// Starts a program and prints, in microseconds, how long after its start the first top-level
// window of the display was mapped; then ends the program.
//
//   mapped_after PROGRAM [ARG ...]      (DISPLAY must name a display with no other clients
//                                        mapping windows, such as a fresh Xvfb)

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mapped_after PROGRAM [ARG ...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapped_after: cannot open the display\n");
        return 2;
    }
    // Listening before the program starts, so no map can come before we hear of it.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    long long micros = -1;
    const auto deadline = started + std::chrono::seconds(20);
    while (micros < 0 && Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) {
                micros =
                    std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started)
                        .count();
                break;
            }
        }
        if (micros >= 0) break;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 100);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    if (micros < 0) {
        std::fprintf(stderr, "mapped_after: no window was mapped\n");
        return 1;
    }
    std::printf("%lld\n", micros);
    return 0;
}
