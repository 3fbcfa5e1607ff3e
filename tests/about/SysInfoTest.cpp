#include <gtest/gtest.h>

#include <optional>

#include "RecordingDesktop.h"
#include "about/SysInfo.h"
#include "lookup/Utf8.h"

using namespace qb;
using namespace std::string_literals;
using Value = test::FakeRegistry::Value;
using Log = std::vector<std::string>;

namespace {

const std::string kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kMsInfoFolder = "SOFTWARE\\Microsoft\\Shared Tools Location";

}  // namespace

TEST(SysInfo, GetKeyValueReadsOneValueAsText) {
    struct Case {
        const char* name;
        std::u16string key;       // as the caller names it
        std::string storedUnder;  // as the registry holds it, in code page 950
        std::optional<Value> value;
        bool refuse;
        std::u16string before;
        bool read;
        std::u16string after;
        Log calls;
    };
    const std::u16string key = u"SOFTWARE\\Quillbook";
    const Log all{"open 80000002 SOFTWARE\\Quillbook 2003f", "query Item", "close"};
    const Log openOnly{"open 80000002 SOFTWARE\\Quillbook 2003f"};
    const Case cases[] = {
        {"string with its NUL", key, "SOFTWARE\\Quillbook", Value{1, "C:\\msinfo32.exe\0"s}, false,
         u"old", true, u"C:\\msinfo32.exe", all},
        {"string without a NUL keeps its last character", key, "SOFTWARE\\Quillbook",
         Value{1, "abc"}, false, u"old", true, u"abc", all},
        {"string in code page 950", key, "SOFTWARE\\Quillbook", Value{1, "\xA6\xD0\xB5\xA7\0"s},
         false, u"", true, u"羽筆", all},
        {"empty string", key, "SOFTWARE\\Quillbook", Value{1, ""}, false, u"old", true, u"", all},
        {"number", key, "SOFTWARE\\Quillbook", Value{4, "\x05\x01\x00\x00"s}, false, u"", true,
         u"261", all},
        {"largest number", key, "SOFTWARE\\Quillbook", Value{4, "\xFF\xFF\xFF\xFF"}, false, u"",
         true, u"4294967295", all},
        {"other type leaves the text", key, "SOFTWARE\\Quillbook", Value{2, "%SystemRoot%\0"s},
         false, u"kept", true, u"kept", all},
        {"exactly the buffer", key, "SOFTWARE\\Quillbook", Value{1, std::string(1024, 'a')}, false,
         u"", true, std::u16string(1024, u'a'), all},
        {"longer than the buffer", key, "SOFTWARE\\Quillbook", Value{1, std::string(1025, 'a')},
         false, u"old", false, u"", all},
        {"value missing", key, "SOFTWARE\\Quillbook", std::nullopt, false, u"old", false, u"", all},
        {"key missing", key, "SOFTWARE\\Other", Value{1, "x"}, false, u"old", false, u"", openOnly},
        {"access refused", key, "SOFTWARE\\Quillbook", Value{1, "x"}, true, u"old", false, u"",
         openOnly},
        {"key named in Chinese",
         u"SOFTWARE\\字典",
         "SOFTWARE\\\xA6\x72\xA8\xE5",
         Value{1, "x\0"s},
         false,
         u"",
         true,
         u"x",
         {"open 80000002 SOFTWARE\\\xA6\x72\xA8\xE5 2003f", "query Item", "close"}},
    };
    for (const Case& c : cases) {
        test::FakeRegistry registry;
        registry.keys[c.storedUnder];
        if (c.value) registry.set(c.storedUnder, "Item", *c.value);
        registry.refuseAccess = c.refuse;
        std::u16string text = c.before;
        const bool read = GetKeyValue(registry, platform::kLocalMachine, c.key, u"Item", text);
        EXPECT_EQ(read, c.read) << c.name;
        EXPECT_EQ(toUtf8(text), toUtf8(c.after)) << c.name;
        EXPECT_EQ(registry.log, c.calls) << c.name;
        EXPECT_TRUE(registry.open.empty()) << c.name;
    }
}

TEST(SysInfo, StartSysInfoStartsTheToolOrSaysItCannot) {
    struct Case {
        const char* name;
        std::optional<Value> path;
        std::optional<Value> folder;
        bool refuse;
        std::set<std::u16string> files;
        std::set<std::u16string> startable;
        Log log;
    };
    const std::u16string tool = u"C:\\Program Files\\MSInfo\\msinfo32.exe";
    const std::string toolText = toUtf8(tool);
    const std::string toolValue = toolText + '\0';
    const std::string message = "message 0 " + toUtf8(kNoSystemInformation);
    const Case cases[] = {
        {"first value: started unchanged, no file test",
         Value{1, toolValue},
         std::nullopt,
         false,
         {},
         {tool},
         {"start " + toolText}},
        {"first value that cannot be started",
         Value{1, toolValue},
         std::nullopt,
         false,
         {},
         {},
         {"start " + toolText, message}},
        {"first value of another type: an empty path",
         Value{2, "%x%\0"s},
         std::nullopt,
         false,
         {},
         {tool},
         {"start ", message}},
        {"folder holding the tool",
         std::nullopt,
         Value{1, "C:\\MSInfo\0"s},
         false,
         {u"C:\\MSInfo\\MSINFO32.EXE"},
         {u"C:\\MSInfo\\MSINFO32.EXE"},
         {"exists C:\\MSInfo\\MSINFO32.EXE", "start C:\\MSInfo\\MSINFO32.EXE"}},
        {"folder ending in a separator",
         std::nullopt,
         Value{1, "C:\\MSInfo\\\0"s},
         false,
         {u"C:\\MSInfo\\\\MSINFO32.EXE"},
         {u"C:\\MSInfo\\\\MSINFO32.EXE"},
         {"exists C:\\MSInfo\\\\MSINFO32.EXE", "start C:\\MSInfo\\\\MSINFO32.EXE"}},
        {"folder without the tool",
         std::nullopt,
         Value{1, "C:\\MSInfo\0"s},
         false,
         {},
         {u"C:\\MSInfo\\MSINFO32.EXE"},
         {"exists C:\\MSInfo\\MSINFO32.EXE", message}},
        {"neither value", std::nullopt, std::nullopt, false, {}, {tool}, {message}},
        {"keys refused",
         Value{1, toolValue},
         Value{1, "C:\\MSInfo\0"s},
         true,
         {u"C:\\MSInfo\\MSINFO32.EXE"},
         {tool},
         {message}},
    };
    for (const Case& c : cases) {
        Log log;
        test::RecordingDesktop desktop(log);
        struct Window final : test::RecordingWindow<WindowView> {
            using RecordingWindow::RecordingWindow;
        } over(log);
        if (c.path) desktop.registry.set(kMsInfo, "PATH", *c.path);
        if (c.folder) desktop.registry.set(kMsInfoFolder, "MSINFO", *c.folder);
        desktop.registry.refuseAccess = c.refuse;
        desktop.existingFiles = c.files;
        desktop.startable = c.startable;
        platform::Desktop services = desktop.desktop();
        StartSysInfo(services, over);
        EXPECT_EQ(log, c.log) << c.name;
        EXPECT_TRUE(desktop.registry.open.empty()) << c.name;
    }
}
