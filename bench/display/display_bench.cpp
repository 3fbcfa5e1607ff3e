// Measures, in one run, how the main window's result box takes a large search result: the
// time to scan for N entries against the time to show them, for N and 10 N entries.
//
//   QT_QPA_PLATFORM=offscreen build/bin/display_bench [N]     (default N = 50000)
//
// The scan is the engine's lookup through a view that only collects the text; the display is
// the same lookup through the real main window, minus that scan.

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/Windows.h"
#include "codepage/CodePage950.h"
#include "lookup/Big5Codec.h"
#include "lookup/EntryLine.h"
#include "lookup/Lookup.h"
#include "lookup/Utf8.h"
#include "tray/Tray.h"

namespace {

// A library whose file for 'a' holds `entries` lines that a search for "ab" finds.
std::string makeLibrary(int entries) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quillbook-display-" + std::to_string(entries));
    std::filesystem::create_directories(dir);
    qb::CodePage950 codePage;
    const std::string definition = codePage.encode(u"蘋果；大蘋果；紅蘋果；青蘋果");
    std::ofstream out(dir / "a.lib", std::ios::binary);
    for (int i = 0; i < entries; ++i) out << "ab" << i << " word=" << definition << "\r\n";
    for (char c = 'b'; c <= 'z'; ++c) std::ofstream(dir / (std::string(1, c) + ".lib"));
    return dir.string();
}

class CollectingView final : public qb::LookupView {
  public:
    void setTopmost(bool) override {}
    void playClickSound() override {}
    void showMessage(std::u16string_view) override {}
    std::u16string inputText() override { return u"ab"; }
    void clearInput() override {}
    void clearOutput() override { text.clear(); }
    void printResult(std::u16string_view line) override { qb::appendDisplayForm(line, text); }
    bool outputIsEmpty() override { return text.empty(); }
    std::u16string text;
};

struct NullDesktop final : qb::platform::WindowPlacement,
                           qb::platform::WindowShape,
                           qb::platform::WindowMove,
                           qb::platform::SoundPlayer,
                           qb::platform::MessageBoxes,
                           qb::platform::NotificationArea,
                           qb::platform::PopupMenus,
                           qb::platform::ProgramStarter,
                           qb::platform::AddressOpener,
                           qb::platform::FileTests,
                           qb::platform::Registry,
                           qb::platform::SpeechEngine {
    void setTopmost(QWidget&, bool) override {}
    void setForeground(QWidget&) override {}
    void minimizeToTaskbar(QWidget&) override {}
    void showRestored(QWidget&) override {}
    void showInTaskbar(QWidget&, bool) override {}
    void setShape(QWidget&, const QRegion&) override {}
    void beginMove(QWidget&, QPoint, Qt::MouseButton) override {}
    void prepare(const QString&) override {}
    void playAsync(const QString&) override {}
    int messageBox(QWidget*, const QString&, int, const QString&) override { return 1; }
    void notifyIcon(qb::platform::TrayCommand, const qb::platform::IconRecord&,
                    std::u16string_view) override {}
    bool isAvailable() override { return true; }
    void popupMenu(QMenu&) override {}
    bool startProgram(std::u16string_view) override { return false; }
    void openAddress(std::u16string_view) override {}
    bool isOrdinaryFile(std::u16string_view) override { return false; }
    long openKey(std::uint32_t, const std::string&, std::uint32_t, std::uint32_t,
                 std::uint32_t&) override {
        return qb::platform::kRegistryNotFound;
    }
    long queryValue(std::uint32_t, const std::string&, std::uint32_t&, std::uint8_t*,
                    std::uint32_t&) override {
        return qb::platform::kRegistryNotFound;
    }
    long closeKey(std::uint32_t) override { return qb::platform::kRegistryInvalidHandle; }
    bool stop() override { return false; }
    bool say(const std::u16string&) override { return false; }
    bool hasVoice() override { return false; }
};

double bestOf(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

struct Figures {
    double scanMs, windowMs, displayMs;
    size_t chars;
};

Figures measure(int entries) {
    const std::string folder = makeLibrary(entries);
    qb::Lookup lookup{qb::Library(folder)};
    CollectingView collector;
    qb::LookupState state;
    const double scan = bestOf(3, [&] {
        state.AdvSubmit = true;
        lookup.Command_Submit_Click(collector, state);
    });

    NullDesktop desktop;
    qb::platform::Handles handles;
    qb::AppShared shared({desktop, desktop, desktop, desktop, desktop, desktop, desktop, handles,
                          desktop, desktop, desktop, desktop, desktop},
                         "");
    qb::Tray tray(desktop);
    qb::Windows windows(shared, qb::Library(folder), tray);
    windows.start();
    qb::frmMain* form = &windows.main();
    QApplication::processEvents();
    const double window = bestOf(3, [&] {
        form->Text_Input->setText(QStringLiteral("ab"));
        form->behaviour().Command_AdvanSubmit_Click();
        form->Text_Output->viewport()->repaint();  // the box as the user first sees it
        QApplication::processEvents();
    });
    if (form->Text_Output->text() != QString::fromStdU16String(collector.text))
        std::fprintf(stderr, "the window shows other text than the lookup found\n");
    delete &windows.tray();
    delete form;
    std::filesystem::remove_all(folder);
    return {scan, window, window - scan, collector.text.size()};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 50000;
    const Figures small = measure(n);
    const Figures large = measure(10 * n);
    for (const auto& [entries, f] : {std::pair{n, small}, std::pair{10 * n, large}})
        std::printf(
            "%7d entries (%9zu characters): scan %8.1f ms, display %8.1f ms (%.2f x the scan)\n",
            entries, f.chars, f.scanMs, f.displayMs, f.displayMs / f.scanMs);
    std::printf("display time for 10x the entries: %.1f x\n", large.displayMs / small.displayMs);
    return 0;
}
