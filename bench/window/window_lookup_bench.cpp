// From Enter to the result box painted, in the real main window on a real display, against
// the command-line lookup of the same text as a whole process with its output sent to a
// pipe; the two run in turn, and the medians and the median of the ratios pair by pair are
// printed.
//
//   window_lookup_bench --lib DIR --tool PATH [--runs N] TEXT ...
//
// Run it on an X display (bench/window_bench.sh starts Xvfb for it).

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Windows.h"
#include "common/AppShared.h"
#include "platform/linux/QtServices.h"
#include "tray/Tray.h"

extern char** environ;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Milliseconds for one whole run of the command-line lookup, its output read from a pipe.
double commandLineMs(const std::string& tool, const std::string& lib, const std::string& text) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args = {tool, "--lib", lib, "--", text};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t pid;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ) != 0) return -1;
    close(out[1]);
    char buffer[1 << 16];
    while (read(out[0], buffer, sizeof buffer) > 0) {
    }
    waitpid(pid, nullptr, 0);
    const double ms = timer.nsecsElapsed() / 1e6;
    close(out[0]);
    posix_spawn_file_actions_destroy(&actions);
    return ms;
}

// Counts the result box's paints, so the wait ends with the first paint after Enter.
class PaintWatch final : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string lib, tool;
    int runs = 21;
    std::vector<std::string> texts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lib" && i + 1 < argc)
            lib = argv[++i];
        else if (arg == "--tool" && i + 1 < argc)
            tool = argv[++i];
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else
            texts.push_back(arg);
    }
    if (lib.empty() || tool.empty() || texts.empty()) {
        std::fprintf(stderr,
                     "usage: window_lookup_bench --lib DIR --tool PATH [--runs N] TEXT ...\n");
        return 2;
    }

    qb::platform::QtServices desktop;
    qb::AppShared shared(desktop.services(), QString());
    qb::Tray tray(desktop.tray);
    qb::Windows windows(shared, qb::Library(lib), tray);
    windows.start();
    qb::frmMain& form = windows.main();
    form.show();
    PaintWatch watch;
    form.Text_Output->viewport()->installEventFilter(&watch);
    for (int i = 0; i < 20; ++i) QApplication::processEvents();

    std::printf("%-12s %8s %10s %10s %7s\n", "text", "entries", "window ms", "lookup ms", "ratio");
    for (const std::string& text : texts) {
        std::vector<double> window, command, ratio;
        size_t lines = 0;
        for (int r = -2; r < runs; ++r) {  // two warm-up pairs
            const double c = commandLineMs(tool, lib, text);
            form.Text_Input->setText(QString::fromStdString(text));
            form.Text_Input->setFocus();
            QApplication::processEvents();
            const int before = watch.paints;
            QElapsedTimer timer;
            timer.start();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(form.Text_Input, &press);
            while (watch.paints == before)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const double w = timer.nsecsElapsed() / 1e6;
            lines = static_cast<size_t>(form.Text_Output->text().count(QStringLiteral("\r\n")));
            if (r < 0) continue;
            window.push_back(w);
            command.push_back(c);
            ratio.push_back(w / c);
        }
        // An entry shows as three line breaks: before the headword, before the definition,
        // and after it.
        std::printf("%-12s %8zu %10.2f %10.2f %7.2f\n", text.c_str(), lines / 3, median(window),
                    median(command), median(ratio));
    }
    return 0;
}
