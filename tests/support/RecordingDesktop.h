#pragma once

#include <set>
#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "common/ProgramCalls.h"
#include "common/WindowView.h"
#include "lookup/Utf8.h"
#include "platform/Desktop.h"

namespace qb::test {

// The windowless desktop services for a behaviour's tests: every call recorded in order, in
// UTF-8, into one log.
class RecordingDesktop final : public platform::ProgramStarter,
                               public platform::AddressOpener,
                               public platform::FileTests {
  public:
    platform::Desktop desktop() { return {*this, *this, *this, registry}; }

    bool startProgram(std::u16string_view path) override {
        log.push_back("start " + toUtf8(path));
        return startable.contains(std::u16string(path));
    }
    void openAddress(std::u16string_view url) override { log.push_back("open " + toUtf8(url)); }
    bool isOrdinaryFile(std::u16string_view path) override {
        log.push_back("exists " + toUtf8(path));
        return existingFiles.contains(std::u16string(path));
    }

    std::vector<std::string>& log;
    std::set<std::u16string> startable;      // the programs that start; any other path fails
    std::set<std::u16string> existingFiles;  // the ordinary files there are
    FakeRegistry registry;

    explicit RecordingDesktop(std::vector<std::string>& sharedLog) : log(sharedLog) {}
};

// The part every window's view has, recorded into the same kind of log: message boxes
// answered from a script (No to a question, OK otherwise, when the script is empty). `View`
// is the window's own view, whose remaining calls the test records.
template <typename View>
class RecordingWindow : public View {
  public:
    explicit RecordingWindow(std::vector<std::string>& sharedLog) : log(sharedLog) {}

    int MsgBox(std::u16string_view text, int style) override {
        log.push_back("message " + std::to_string(style) + " " + toUtf8(text));
        if (answers.empty())
            return style == platform::kYesNoQuestion ? platform::kAnswerNo : platform::kAnswerOk;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void unload() override { log.push_back("unload"); }

    std::vector<std::string>& log;
    std::vector<int> answers;
};

// The program-wide calls, recorded into the same kind of log; the quit question is answered
// as the test says.
class RecordingProgram final : public ProgramCalls {
  public:
    explicit RecordingProgram(std::vector<std::string>& sharedLog) : log(sharedLog) {}

    void PlayClickSound() override { log.push_back("sound"); }
    void SetTopmost(bool on) override { log.push_back(on ? "topmost on" : "topmost off"); }
    bool confirmQuit() override {
        log.push_back("quit question");
        log.push_back("sound");
        return quitAnswer;
    }

    std::vector<std::string>& log;
    bool quitAnswer = false;
};

}  // namespace qb::test
