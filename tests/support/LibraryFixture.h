#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "lookup/FileSystem.h"
#include "lookup/LookupView.h"

namespace qb::test {

// Big5 bytes of a UTF-8 text, for writing fixture libraries.
std::string big5(const std::string& utf8);

// A path in the temporary folder that no other test, process or run has used.
std::filesystem::path uniqueTempPath(const std::string& prefix);

// A library folder in a fresh temporary directory, removed again at the end of the test.
class TempLibrary {
  public:
    TempLibrary();
    ~TempLibrary();
    TempLibrary(const TempLibrary&) = delete;
    TempLibrary& operator=(const TempLibrary&) = delete;

    // Writes a file with exactly these bytes under exactly this name.
    void writeRaw(const std::string& name, const std::string& bytes);
    // Writes the lines, each ended by CR LF, in Big5.
    void writeLines(const std::string& name, const std::vector<std::string>& utf8Lines);
    // Creates every a.lib ... z.lib that does not exist yet, empty.
    void fillMissingWithEmptyFiles();

    std::string folder() const { return utf8Of(dir_); }  // UTF-8, as the engine takes it

  private:
    std::filesystem::path dir_;
};

// A view that records what the lookup does, in order, and keeps the two boxes' texts.
class RecordingView final : public LookupView {
  public:
    explicit RecordingView(std::u16string input = u"") : input(std::move(input)) {}

    void setTopmost(bool on) override { calls.push_back(on ? "topmost on" : "topmost off"); }
    void playClickSound() override { calls.push_back("sound"); }
    void showMessage(std::u16string_view text) override;
    std::u16string inputText() override { return input; }
    void clearInput() override;
    void clearOutput() override;
    void printResult(std::u16string_view line) override;
    bool outputIsEmpty() override { return output.empty(); }

    std::string outputUtf8() const;
    std::vector<std::string> messagesUtf8() const;

    std::u16string input;
    std::u16string output;
    std::vector<std::u16string> messages;
    std::vector<std::string> calls;  // "topmost on", "sound", "message", "print", ...
};

}  // namespace qb::test
