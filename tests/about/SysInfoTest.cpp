#include <QtTest>
#include <optional>

#include "FakeServices.h"
#include "about/SysInfo.h"

using namespace qb;
using namespace std::string_literals;
using Value = test::FakeRegistry::Value;

namespace {

const std::string kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kMsInfoFolder = "SOFTWARE\\Microsoft\\Shared Tools Location";

}  // namespace

class SysInfoTest : public QObject {
    Q_OBJECT

  private slots:
    void getKeyValueReadsOneValueAsText() {
        struct Case {
            const char* name;
            QString key;              // as the caller names it
            std::string storedUnder;  // as the registry holds it, in code page 950
            std::optional<Value> value;
            bool refuse;
            QString before;
            bool read;
            QString after;
            QStringList calls;
        };
        const QString key = QStringLiteral("SOFTWARE\\Quillbook");
        const QStringList all{"open 80000002 SOFTWARE\\Quillbook 2003f", "query Item", "close"};
        const QStringList openOnly{"open 80000002 SOFTWARE\\Quillbook 2003f"};
        const QList<Case> cases{
            {"string with its NUL", key, "SOFTWARE\\Quillbook", Value{1, "C:\\msinfo32.exe\0"s},
             false, "old", true, "C:\\msinfo32.exe", all},
            {"string without a NUL keeps its last character", key, "SOFTWARE\\Quillbook",
             Value{1, "abc"}, false, "old", true, "abc", all},
            {"string in code page 950", key, "SOFTWARE\\Quillbook", Value{1, "\xA6\xD0\xB5\xA7\0"s},
             false, "", true, "羽筆", all},
            {"empty string", key, "SOFTWARE\\Quillbook", Value{1, ""}, false, "old", true, "", all},
            {"number", key, "SOFTWARE\\Quillbook", Value{4, "\x05\x01\x00\x00"s}, false, "", true,
             "261", all},
            {"largest number", key, "SOFTWARE\\Quillbook", Value{4, "\xFF\xFF\xFF\xFF"}, false, "",
             true, "4294967295", all},
            {"other type leaves the text", key, "SOFTWARE\\Quillbook", Value{2, "%SystemRoot%\0"s},
             false, "kept", true, "kept", all},
            {"exactly the buffer", key, "SOFTWARE\\Quillbook", Value{1, std::string(1024, 'a')},
             false, "", true, QString(1024, QLatin1Char('a')), all},
            {"longer than the buffer", key, "SOFTWARE\\Quillbook", Value{1, std::string(1025, 'a')},
             false, "old", false, "", all},
            {"value missing", key, "SOFTWARE\\Quillbook", std::nullopt, false, "old", false, "",
             all},
            {"key missing", key, "SOFTWARE\\Other", Value{1, "x"}, false, "old", false, "",
             openOnly},
            {"access refused", key, "SOFTWARE\\Quillbook", Value{1, "x"}, true, "old", false, "",
             openOnly},
            {"key named in Chinese",
             QStringLiteral("SOFTWARE\\字典"),
             "SOFTWARE\\\xA6\x72\xA8\xE5",
             Value{1, "x\0"s},
             false,
             "",
             true,
             "x",
             {QString::fromLatin1("open 80000002 SOFTWARE\\\xA6\x72\xA8\xE5 2003f"), "query Item",
              "close"}},
        };
        for (const Case& c : cases) {
            test::FakeRegistry registry;
            registry.keys[c.storedUnder];
            if (c.value) registry.set(c.storedUnder, "Item", *c.value);
            registry.refuseAccess = c.refuse;
            QString text = c.before;
            const bool read =
                GetKeyValue(registry, platform::kLocalMachine, c.key, QStringLiteral("Item"), text);
            QVERIFY2(read == c.read, c.name);
            QVERIFY2(text == c.after, c.name);
            QVERIFY2(registry.log == c.calls,
                     qPrintable(c.name + (": " + registry.log.join(" | "))));
            QVERIFY2(registry.open.empty(), c.name);
        }
    }

    void startSysInfoStartsTheToolOrSaysItCannot() {
        struct Case {
            const char* name;
            std::optional<Value> path;
            std::optional<Value> folder;
            bool refuse;
            QStringList files;
            QStringList startable;
            QStringList log;
        };
        const QString tool = QStringLiteral("C:\\Program Files\\MSInfo\\msinfo32.exe");
        const std::string toolValue = tool.toStdString() + '\0';
        const QList<Case> cases{
            {"first value: started unchanged, no file test",
             Value{1, toolValue},
             std::nullopt,
             false,
             {},
             {tool},
             {"start " + tool}},
            {"first value that cannot be started",
             Value{1, toolValue},
             std::nullopt,
             false,
             {},
             {},
             {"start " + tool, "message 0"}},
            {"first value of another type: an empty path",
             Value{2, "%x%\0"s},
             std::nullopt,
             false,
             {},
             {tool},
             {"start ", "message 0"}},
            {"folder holding the tool",
             std::nullopt,
             Value{1, "C:\\MSInfo\0"s},
             false,
             {"C:\\MSInfo\\MSINFO32.EXE"},
             {"C:\\MSInfo\\MSINFO32.EXE"},
             {"exists C:\\MSInfo\\MSINFO32.EXE", "start C:\\MSInfo\\MSINFO32.EXE"}},
            {"folder ending in a separator",
             std::nullopt,
             Value{1, "C:\\MSInfo\\\0"s},
             false,
             {"C:\\MSInfo\\\\MSINFO32.EXE"},
             {"C:\\MSInfo\\\\MSINFO32.EXE"},
             {"exists C:\\MSInfo\\\\MSINFO32.EXE", "start C:\\MSInfo\\\\MSINFO32.EXE"}},
            {"folder without the tool",
             std::nullopt,
             Value{1, "C:\\MSInfo\0"s},
             false,
             {},
             {"C:\\MSInfo\\MSINFO32.EXE"},
             {"exists C:\\MSInfo\\MSINFO32.EXE", "message 0"}},
            {"neither value", std::nullopt, std::nullopt, false, {}, {tool}, {"message 0"}},
            {"keys refused",
             Value{1, toolValue},
             Value{1, "C:\\MSInfo\0"s},
             true,
             {"C:\\MSInfo\\MSINFO32.EXE"},
             {tool},
             {"message 0"}},
        };
        for (const Case& c : cases) {
            test::FakeDesktop desktop;
            AppShared shared(desktop.services(), QStringLiteral("/opt/qb"));
            if (c.path) desktop.registry.set(kMsInfo, "PATH", *c.path);
            if (c.folder) desktop.registry.set(kMsInfoFolder, "MSINFO", *c.folder);
            desktop.registry.refuseAccess = c.refuse;
            desktop.existingFiles = c.files;
            desktop.startable = c.startable;
            StartSysInfo(shared);
            QVERIFY2(desktop.log == c.log, qPrintable(c.name + (": " + desktop.log.join(" | "))));
            const QStringList expectedMessages =
                c.log.contains("message 0") ? QStringList{kNoSystemInformation} : QStringList{};
            QVERIFY2(desktop.messages == expectedMessages, c.name);
            QVERIFY2(desktop.registry.open.empty(), c.name);
        }
    }
};

QTEST_MAIN(SysInfoTest)
#include "SysInfoTest.moc"
