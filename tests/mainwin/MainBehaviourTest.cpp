#include <gtest/gtest.h>

#include <functional>

#include "LibraryFixture.h"
#include "RecordingDesktop.h"
#include "common/KeyCodes.h"
#include "mainwin/MainBehaviour.h"

using namespace qb;
using Log = std::vector<std::string>;

namespace {

class RecordingMainView final : public test::RecordingWindow<MainView> {
  public:
    using RecordingWindow::RecordingWindow;

    std::u16string inputText() override { return input; }
    void setInputText(std::u16string_view text) override { input = text; }
    void setOutputText(std::u16string_view text) override {
        output = text;
        log.push_back("output " + toUtf8(text));
    }
    void fitToSkin() override { log.push_back("fit"); }
    void showWindow() override { log.push_back("show"); }
    void focusInput() override { log.push_back("focus input"); }
    void comeForward() override { log.push_back("come forward"); }
    bool notificationAreaExists() override { return areaExists; }
    void minimizeToTaskbar() override { log.push_back("taskbar"); }
    void beginMove(int Button) override { log.push_back("move " + std::to_string(Button)); }
    void announceTrayHandOver() override { log.push_back("tray hand-over"); }
    void announceHideToTray() override { log.push_back("hide to tray"); }
    void announceQuit() override { log.push_back("quit"); }
    void announceAbout() override { log.push_back("about"); }
    void announceHelp() override { log.push_back("help"); }

    std::u16string input;
    std::u16string output;
    bool areaExists = true;
};

class RecordingSpeech final : public platform::SpeechEngine {
  public:
    explicit RecordingSpeech(Log& sharedLog) : log(sharedLog) {}
    bool stop() override {
        log.push_back("speech stop");
        return voice;
    }
    bool say(const std::u16string& text) override {
        log.push_back("speech say [" + toUtf8(text) + "]");
        return voice;
    }
    bool hasVoice() override {
        log.push_back("voice search");
        return voice;
    }

    Log& log;
    bool voice = true;
};

// The main window on a small library of its own.
struct MainWindow {
    Log log;
    test::TempLibrary lib;
    RecordingMainView view{log};
    test::RecordingProgram program{log};
    RecordingSpeech speech{log};
    std::unique_ptr<MainBehaviour> behaviour;

    MainWindow() {
        lib.writeLines("a.lib", {"apple=蘋果", "apple pie=蘋果派=甜點"});
        lib.writeLines("z.lib", {"zz=蘋果=蘋果樹"});
        lib.fillMissingWithEmptyFiles();
        behaviour = std::make_unique<MainBehaviour>(view, program, speech, Library(lib.folder()));
    }
    void lookUp(std::u16string typed) {
        view.input = std::move(typed);
        behaviour->Text_Input_KeyPress(kCharacterCarriageReturn);
    }
};

const std::string kHint = "Sorry! 找不到任何相符字串\r\n\r\n請使用「所有查詢」";
const std::string kNotFound = "Sorry! 找不到任何相符字串";

}  // namespace

TEST(MainBehaviour, EachButtonDoesItsStepsInOrder) {
    struct Case {
        const char* name;
        std::function<void(MainBehaviour&)> press;
        bool quitAnswer;
        bool areaExists;
        Log log;
    };
    const Case cases[] = {
        {"start-up",
         &MainBehaviour::Form_Load,
         false,
         true,
         {"topmost on", "sound", "fit", "tray hand-over", "show", "focus input"}},
        {"close, No",
         &MainBehaviour::Command_Close_Click,
         false,
         true,
         {"topmost off", "quit question", "sound"}},
        {"close, Yes",
         &MainBehaviour::Command_Close_Click,
         true,
         true,
         {"topmost off", "quit question", "sound", "quit"}},
        {"minimise into the area",
         &MainBehaviour::Command_Min_Click,
         false,
         true,
         {"sound", "hide to tray"}},
        // The area is asked before the window hides: the hiding must not change the answer.
        {"minimise, no area",
         &MainBehaviour::Command_Min_Click,
         false,
         false,
         {"sound", "hide to tray", "taskbar"}},
        {"About", &MainBehaviour::Cmd_About_Click, false, true, {"about"}},
        {"Help", &MainBehaviour::Cmd_Help_Click, false, true, {"sound", "help"}},
        {"left press on the face",
         [](MainBehaviour& b) { b.Face_MouseDown(1); },
         false,
         true,
         {"move 1"}},
        {"right press on the face",
         [](MainBehaviour& b) { b.Face_MouseDown(2); },
         false,
         true,
         {"move 2"}},
        {"middle press on the face",
         [](MainBehaviour& b) { b.Face_MouseDown(4); },
         false,
         true,
         {"move 4"}},
    };
    for (const Case& c : cases) {
        MainWindow w;
        w.program.quitAnswer = c.quitAnswer;
        w.view.areaExists = c.areaExists;
        c.press(*w.behaviour);
        EXPECT_EQ(w.log, c.log) << c.name;
    }
}

TEST(MainBehaviour, EachLookupPathLeavesTheBoxesAndCallsAsDocumented) {
    // The page is cleared before the click, and filled once the scan is over.
    const Log kLookedUp{"topmost off", "topmost on", "output ", "sound"};
    struct Case {
        std::u16string typed;
        bool allButton;
        std::string output;
        Log log;
    };
    const auto refused = Log{"topmost off", "message 0 請先輸入字串", "topmost on"};
    auto missing = [&](const std::string& message) {
        Log log = kLookedUp;
        log.insert(log.end(), {"output ", "topmost off", "message 0 " + message, "topmost on"});
        return log;
    };
    auto found = [&](const std::string& output) {
        Log log = kLookedUp;
        log.insert(log.end(), {"output " + output, "topmost off", "topmost on"});
        return log;
    };
    const std::string apples =
        "\r\napple\r\n蘋果\r\n\r\napple pie\r\n蘋果派\r\n\r\nzz\r\n蘋果\r\n\r\nzz\r\n蘋果\r\n";
    const Case cases[] = {
        {u"", false, "before", refused},
        {u"", true, "before", refused},
        {u"zebra", false, "", missing(kHint)},
        {u"zebra", true, "", missing(kNotFound)},
        {u"pie", true, "", missing(kNotFound)},  // only the file of p is read
        {u"apple p", true, "\r\napple pie\r\n蘋果派\r\n", found("\r\napple pie\r\n蘋果派\r\n")},
        // The first exact match ends the lookup at once, the band as it was.
        {u"Apple",
         false,
         "\r\napple\r\n蘋果\r\n",
         {"topmost off", "topmost on", "output ", "sound", "output \r\napple\r\n蘋果\r\n"}},
        {u"蘋果", false, apples, found(apples)},
    };
    for (const Case& c : cases) {
        MainWindow w;
        w.view.output = u"before";
        w.view.input = c.typed;
        if (c.allButton)
            w.behaviour->Command_AdvanSubmit_Click();
        else
            w.behaviour->Command_Submit_Click();
        const std::string name = toUtf8(c.typed);
        EXPECT_EQ(toUtf8(w.view.output), c.output) << name;
        EXPECT_EQ(w.log, c.log) << name;
        EXPECT_EQ(w.view.input, u"") << name;
        EXPECT_FALSE(w.behaviour->AdvSubmit()) << name;
        EXPECT_EQ(w.behaviour->lastkey(), c.typed.empty() ? u"" : c.typed) << name;
    }
}

TEST(MainBehaviour, UpBringsBackTheLastLookedUpTextAndEnterLooksUp) {
    MainWindow w;
    w.view.input = u"x";
    w.behaviour->Text_Input_KeyDown(kVirtualKeyUp);
    EXPECT_EQ(w.view.input, u"");  // nothing looked up yet

    w.lookUp(u"apple");
    w.lookUp(u"");  // refused: does not replace what Up brings back
    w.view.input = u"half-typed";
    w.behaviour->Text_Input_KeyDown(kVirtualKeyUp);
    EXPECT_EQ(w.view.input, u"apple");

    w.view.output.clear();
    w.behaviour->Text_Input_KeyPress(kCharacterCarriageReturn);  // Enter after Up repeats it
    EXPECT_EQ(w.view.output, u"\r\napple\r\n蘋果\r\n");

    // No other key, and no carriage return as a key going down, does anything.
    w.view.input = u"apple";
    w.log.clear();
    for (int key : {kVirtualKeyEscape, kVirtualKeyReturn, 40, 9})
        w.behaviour->Text_Input_KeyDown(key);
    for (int character : {10, 27, 97}) w.behaviour->Text_Input_KeyPress(character);
    EXPECT_EQ(w.log, Log{});
    EXPECT_EQ(w.view.input, u"apple");
}

TEST(MainBehaviour, TheSpeakButtonSaysExactlyTheTypedText) {
    const Log kRefused{"topmost off", "message 0 請先輸入字串才能發音", "topmost on"};
    auto spoken = [](const std::string& text) {
        return Log{"topmost off", "topmost on", "speech stop", "speech say [" + text + "]"};
    };
    struct Case {
        std::u16string typed;
        bool voice;
        Log log;
    };
    const Case cases[] = {
        {u"", true, kRefused},
        {u"", false, kRefused},
        {u"   ", true, spoken("   ")},
        {u"DiCtionary", true, spoken("DiCtionary")},
        {u" ice  cream cone ", true, spoken(" ice  cream cone ")},
        {u"字典 dictionary", true, spoken("字典 dictionary")},
        {u"apple", false, spoken("apple")},  // the failing calls stay silent
    };
    for (const Case& c : cases) {
        MainWindow w;
        w.speech.voice = c.voice;
        w.view.input = c.typed;
        w.behaviour->Cmd_Voice_Click();
        EXPECT_EQ(w.log, c.log) << toUtf8(c.typed);
        EXPECT_EQ(w.view.input, c.typed);  // the text stays for another try
    }
}

TEST(MainBehaviour, TheSpeakButtonsTipSaysWhyItIsSilent) {
    for (bool voice : {false, true}) {
        MainWindow w;
        w.speech.voice = voice;
        w.behaviour->Cmd_Voice_MouseEnter();  // starts the search for a voice
        EXPECT_EQ(w.log, Log{"voice search"});
        const std::string tip = toUtf8(w.behaviour->Cmd_Voice_ToolTip());
        EXPECT_EQ(tip.empty(), voice);
        if (!voice) {
            EXPECT_EQ(tip.find('\n'), std::string::npos);
            for (const char* package : {"speech-dispatcher-espeak-ng", "flite"})
                EXPECT_NE(tip.find(package), std::string::npos) << package;
        }
    }
}

TEST(MainBehaviour, ASelectionComesForwardAndIsLookedUpByTheFormThatFindsEntries) {
    const Log kForward{"topmost on", "come forward"};
    auto lookedUp = [&](const std::string& output, Log end) {
        Log log = kForward;
        log.insert(log.end(),
                   {"topmost off", "topmost on", "output ", "sound", "output " + output});
        log.insert(log.end(), end.begin(), end.end());
        return log;
    };
    const Log kFoundAtOnce{};  // the exact match ends the lookup, the band as it was
    const Log kFoundInAll{"topmost off", "topmost on"};
    struct Case {
        std::u16string selected;
        std::u16string input;  // the box after the lookup, and `lastkey`
        std::string output;
        Log log;
    };
    const std::string go = "\r\ngo\r\n去\r\n";
    const std::string child = "\r\nchild\r\n孩子\r\n";
    const std::string inAll = "\r\napple\r\n蘋果\r\n\r\nzz\r\n蘋果\r\n\r\nzz\r\n蘋果\r\n";
    const Case cases[] = {
        {u" “Apples,” \n", u"apple", "\r\napple\r\n蘋果\r\n",
         lookedUp("\r\napple\r\n蘋果\r\n", kFoundAtOnce)},
        {u"went", u"go", go, lookedUp(go, kFoundAtOnce)},
        {u"WENT.", u"go", go, lookedUp(go, kFoundAtOnce)},
        {u"children's", u"child", child, lookedUp(child, kFoundAtOnce)},
        // Found as itself, although "new" is in the library too.
        {u"news", u"news", "\r\nnews\r\n新聞\r\n", lookedUp("\r\nnews\r\n新聞\r\n", kFoundAtOnce)},
        {u"(give\r\n up)", u"give up", "\r\ngive up\r\n放棄\r\n",
         lookedUp("\r\ngive up\r\n放棄\r\n", kFoundAtOnce)},
        // Nothing found by any form: the word itself, with the usual message.
        {u"goesx", u"goesx", "", lookedUp("", {"topmost off", "message 0 " + kHint, "topmost on"})},
        // Not an English word: searched in all files, as typed.
        {u"「蘋果」", u"蘋果", inAll, lookedUp(inAll, kFoundInAll)},
        // Nothing left to look up: the book only comes forward.
        {u" 「」。，", u"typed", "before", kForward},
        {u"", u"typed", "before", kForward},
    };
    for (const Case& c : cases) {
        MainWindow w;
        w.lib.writeLines("a.lib", {"apple=蘋果"});
        w.lib.writeLines("c.lib", {"child=孩子"});
        w.lib.writeLines("g.lib", {"give up=放棄", "go=去"});
        w.lib.writeLines("n.lib", {"new=新", "news=新聞"});
        w.view.input = u"typed";
        w.view.output = u"before";
        w.behaviour->LookUpSelection(c.selected);
        const std::string name = toUtf8(c.selected);
        EXPECT_EQ(w.view.input, c.input) << name;
        EXPECT_EQ(toUtf8(w.view.output), c.output) << name;
        EXPECT_EQ(w.log, c.log) << name;
        EXPECT_EQ(w.behaviour->lastkey(), c.input == u"typed" ? u"" : c.input) << name;
        EXPECT_FALSE(w.behaviour->AdvSubmit()) << name;
    }
}
