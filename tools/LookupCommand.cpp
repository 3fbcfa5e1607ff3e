// The command-line lookup: runs the window's lookup procedure through a view that prints, so
// scripts, tests and benchmarks exercise exactly what the window runs.

#include "LookupCommand.h"

#include <memory>
#include <optional>
#include <string>

#include "lookup/EntryLine.h"
#include "lookup/Lookup.h"
#include "lookup/SelectedText.h"
#include "lookup/Utf8.h"
#include "platform/ProgramFolder.h"
#include "platform/StandardStreams.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillbook-lookup [--all | --base-form] [--lib DIR] [--] TEXT\n"
    "\n"
    "Looks TEXT up in the dictionary library as the Quillbook window does.\n"
    "TEXT is one UTF-8 argument and is used exactly as typed (nothing is trimmed,\n"
    "unless --base-form is given).\n"
    "\n"
    "  (default)   as Enter or the exact-lookup button: for text that begins with a\n"
    "              letter, the first entry with a field equal to TEXT, letter case\n"
    "              ignored, from that letter's file; for any other text, every entry\n"
    "              that contains TEXT, from all 26 files\n"
    "  --all       as the all-entries button: every entry with a field that equals\n"
    "              TEXT (case ignored) or contains it (case counting)\n"
    "  --base-form as the desktop's key for selected text: TEXT is first trimmed of\n"
    "              the white space, quotes, brackets and punctuation a selection\n"
    "              drags along (inner white space becomes one space), then looked up\n"
    "              as Enter does; one English word that finds nothing is looked up by\n"
    "              the first of its base forms that finds entries (\"went\" as \"go\",\n"
    "              \"apples\" as \"apple\"), irregular forms first, then the regular\n"
    "              endings; when none does, by the trimmed word, which finds nothing\n"
    "  --lib DIR   the folder of a.lib ... z.lib (default: the lib folder beside this\n"
    "              program)\n"
    "  --          ends the options, for TEXT that begins with '-'\n"
    "  --help      shows this text\n"
    "\n"
    "Standard output: exactly the text the result box holds when the lookup has ended,\n"
    "UTF-8 with CR LF line breaks. Standard error: the text of each message box the\n"
    "lookup shows, in order, each followed by one line feed.\n"
    "Exit status: 0 when results were shown, 1 when the result box is empty, 2 for a\n"
    "usage error, 3 when the result could not be written.\n";

// Standard output through one buffer that is written whenever it fills: the result goes out
// as the scan finds it and is never held whole, so memory follows the longest line, not the
// result. The buffer goes to the system as it is (platform/StandardStreams.h).
class OutputWriter {
  public:
    ~OutputWriter() { flush(); }

    void put(std::u16string_view text) {
        if (text.size() * qb::kMostUtf8PerUnit <= kSize - used_) {  // nearly always
            used_ = static_cast<size_t>(qb::writeUtf8(text, buffer_.get() + used_) - buffer_.get());
            return;
        }
        while (!text.empty()) {
            // Room for two units at least, so a surrogate pair is never cut.
            if ((kSize - used_) / qb::kMostUtf8PerUnit < 2) flush();
            const size_t n = qb::utf8SliceEnd(text, (kSize - used_) / qb::kMostUtf8PerUnit);
            used_ = static_cast<size_t>(qb::writeUtf8(text.substr(0, n), buffer_.get() + used_) -
                                        buffer_.get());
            text.remove_prefix(n);
        }
    }

    // The display form of one entry line (see forEachDisplayPiece), written in one pass when
    // the buffer has room for all of it, as it nearly always has: each of the first two
    // fields is found and written at once.
    void putEntry(std::u16string_view line) {
        if (line.size() * qb::kMostUtf8PerUnit + 3 * qb::kLineBreak.size() > kSize - used_) {
            qb::forEachDisplayPiece(line, [&](std::u16string_view piece) { put(piece); });
            return;
        }
        char* out = buffer_.get() + used_;
        // An empty line has no fields; the line break that closes the entry comes still.
        for (size_t at = 0, shown = 0; !line.empty() && shown < 2; ++shown) {
            *out++ = '\r', *out++ = '\n';
            at += qb::writeUtf8UpTo(line.substr(at), u'=', out);
            if (at == line.size()) break;
            ++at;  // past the "=" that ended the field
        }
        *out++ = '\r', *out++ = '\n';
        used_ = static_cast<size_t>(out - buffer_.get());
    }

    // Writes what the buffer holds straight to standard output, whole. After a failed write
    // nothing more is written, and the failure is kept for the exit status.
    void flush() {
        if (used_ > 0 && writeError_.empty())
            writeError_ = qb::platform::writeStandardOutput(std::string_view(buffer_.get(), used_));
        used_ = 0;
    }

    // Why the write failed, or empty.
    const std::string& writeError() const { return writeError_; }

  private:
    static constexpr size_t kSize = 64 << 10;
    std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kSize);
    size_t used_ = 0;
    std::string writeError_;
};

class PrintingView final : public qb::LookupView {
  public:
    explicit PrintingView(std::u16string input) : input_(std::move(input)) {}

    void setTopmost(bool) override {}
    void playClickSound() override {}
    void showMessage(std::u16string_view text) override {
        qb::platform::writeStandardError(qb::toUtf8(text) + '\n');
    }
    std::u16string inputText() override { return input_; }
    void clearInput() override { input_.clear(); }
    // The procedure clears the box before it shows anything, so nothing written is taken back.
    void clearOutput() override { shown_ = false; }
    void printResult(std::u16string_view line) override {
        shown_ = true;
        out_.putEntry(line);
    }
    void resultsComplete() override { out_.flush(); }
    bool outputIsEmpty() override { return !shown_; }
    const std::string& writeError() const { return out_.writeError(); }

  private:
    std::u16string input_;
    OutputWriter out_;
    bool shown_ = false;
};

int usageError(const std::string& why) {
    qb::platform::writeStandardError("quillbook-lookup: " + why + "\n\n" + kUsage);
    return 2;
}

}  // namespace

int runLookupCommand(const std::vector<std::string>& args) {
    bool all = false;
    bool baseForm = false;
    std::optional<std::string> libDir;
    std::optional<std::string> text;
    bool optionsEnded = false;
    const size_t argc = args.size();
    for (size_t i = 0; i < argc; ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            qb::platform::writeStandardOutput(kUsage);
            return 0;
        } else if (!optionsEnded && arg == "--all") {
            all = true;
        } else if (!optionsEnded && arg == "--base-form") {
            baseForm = true;
        } else if (!optionsEnded && arg == "--lib") {
            if (++i == argc) return usageError("--lib needs a folder");
            libDir = args[i];
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (text) {
            return usageError("give exactly one TEXT (quote a text with spaces)");
        } else {
            text = arg;
        }
    }
    if (!text) return usageError("no TEXT given");
    if (all && baseForm) return usageError("--base-form looks up as Enter does, not with --all");

    qb::Lookup lookup(libDir ? qb::Library(*libDir)
                             : qb::Library::besideProgram(qb::platform::programFolder()));
    std::u16string typed = qb::fromUtf8(*text);
    if (baseForm) typed = lookup.wordOrBaseForm(qb::trimSelection(typed));
    PrintingView view(std::move(typed));
    qb::LookupState state;
    state.AdvSubmit = all;
    lookup.Command_Submit_Click(view, state);

    if (const std::string& error = view.writeError(); !error.empty()) {
        qb::platform::writeStandardError("quillbook-lookup: cannot write the result: " + error +
                                         "\n");
        return 3;
    }
    return view.outputIsEmpty() ? 1 : 0;
}
