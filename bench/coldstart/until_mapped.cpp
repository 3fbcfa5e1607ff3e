// Starts a program and ends it as soon as its first window is mapped on the X screen: run under
// a whole-process timer, it gives a program's cold start from exec to a window on screen. Also
// prints that span itself, in milliseconds, measured from just before the fork.
// Usage: until_mapped PROGRAM [ARG...]   (with DISPLAY set, best without a window manager, so
// the program's own window is what maps on the root window)
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>

static double now_ms() {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fputs("usage: until_mapped PROGRAM [ARG...]\n", stderr);
        return 2;
    }
    // Right after the previous run's program was killed the server can refuse a connection
    // for a moment; that is before the clock starts, so try again.
    Display* display = nullptr;
    for (int tries = 0; !display && tries < 100; ++tries) {
        display = XOpenDisplay(nullptr);
        if (!display) usleep(10000);
    }
    if (!display) {
        fputs("until_mapped: cannot open the display\n", stderr);
        return 2;
    }
    // Listening before the fork, so no map can slip past.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        perror("until_mapped: exec");
        _exit(127);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        // Tooltips and menus are override-redirect; the program's window is not.
        if (event.type == MapNotify && !event.xmap.override_redirect) break;
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            fputs("until_mapped: the program ended without mapping a window\n", stderr);
            return 1;
        }
    }
    const double mapped = now_ms();
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    printf("%.1f\n", mapped - start);
    return 0;
}
