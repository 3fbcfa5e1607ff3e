#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "about/SysInfo.h"
#include "platform/windows/SapiSpeechEngine.h"
#include "platform/windows/ShellNotificationArea.h"
#include "platform/windows/Win32Desktop.h"
#include "tray/Tray.h"

using namespace qb;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// A folder of the test's own below the system's temporary folder, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        path_ =
            fs::temp_directory_path() / ("qb-services-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::u16string text16(const fs::path& path) {
    const std::wstring& wide = path.native();
    return {wide.begin(), wide.end()};
}

void touch(const fs::path& path) {
    std::ofstream(path) << "x";
}

// The key the registry cases write under the local machine, made afresh for each test.
class TestKey {
  public:
    static constexpr const char* kPath = "SOFTWARE\\QuillbookServicesTest";
    TestKey() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPath);
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
    }
    ~TestKey() {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPath);
    }
    bool set(const char* name, DWORD type, const std::string& bytes) {
        return RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }

  private:
    HKEY key_ = nullptr;
};

}  // namespace

// Values written with the system's own calls, read back through the program's reader and
// through the About window's GetKeyValue, which expects the system's answers.
TEST(Win32Registry, ReadsWhatTheSystemHolds) {
    struct Case {
        const char* name;
        std::optional<DWORD> type;  // none: the value is not written
        std::string bytes;
        std::u16string key;
        platform::RegistryStatus status;
        std::uint32_t size;  // as the reader tells it, also when the value did not fit
        bool read;
        std::u16string text;
    };
    const std::u16string key = u"SOFTWARE\\QuillbookServicesTest";
    const std::string tooLong(2000, 'a');
    const Case cases[] = {
        {"string with its NUL", REG_SZ, "C:\\Tools\\msinfo32.exe\0"s, key, ERROR_SUCCESS, 22, true,
         u"C:\\Tools\\msinfo32.exe"},
        // The system gives the NUL the value was stored without, when the buffer has room.
        {"string without a NUL", REG_SZ, "abc", key, ERROR_SUCCESS, 4, true, u"abc"},
        {"number", REG_DWORD, "\x05\x01\x00\x00"s, key, ERROR_SUCCESS, 4, true, u"261"},
        {"expandable string, not expanded", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s, key, ERROR_SUCCESS,
         15, true, u"before"},
        {"string past the buffer", REG_SZ, tooLong + '\0', key, ERROR_MORE_DATA, 2001, false, u""},
        {"value missing", std::nullopt, "", key, ERROR_FILE_NOT_FOUND, 1024, false, u""},
        {"key missing", REG_SZ, "x\0"s, u"SOFTWARE\\QuillbookServicesTestMissing",
         ERROR_FILE_NOT_FOUND, 1024, false, u""},
    };
    for (const Case& c : cases) {
        TestKey written;
        if (c.type) {
            ASSERT_TRUE(written.set("Item", *c.type, c.bytes)) << c.name;
        }
        platform::Win32Registry registry;

        platform::RegistryKey opened = 0;
        platform::RegistryStatus status =
            registry.openKey(platform::kLocalMachine, std::string(c.key.begin(), c.key.end()), 0,
                             platform::kKeyAllAccessMask, opened);
        std::uint8_t buffer[1024] = {};
        std::uint32_t type = 0, size = sizeof buffer;
        if (status == ERROR_SUCCESS) {
            status = registry.queryValue(opened, "Item", type, buffer, size);
            EXPECT_EQ(registry.closeKey(opened), ERROR_SUCCESS) << c.name;
            EXPECT_EQ(registry.closeKey(opened), ERROR_INVALID_HANDLE) << c.name;
        }
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(size, c.size) << c.name;
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            EXPECT_EQ(type, *c.type) << c.name;
        }

        std::u16string text = u"before";
        EXPECT_EQ(GetKeyValue(registry, platform::kLocalMachine, c.key, u"Item", text), c.read)
            << c.name;
        EXPECT_TRUE(text == c.text) << c.name;
    }
}

TEST(Win32Registry, RefusesKeysItDoesNotHold) {
    platform::Win32Registry registry;
    platform::RegistryKey key = 0;
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(registry.openKey(0x1234, "SOFTWARE", 0, platform::kQueryValueAccess, key),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.queryValue(0x1234, "x", type, nullptr, size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.closeKey(0x1234), ERROR_INVALID_HANDLE);
    // A name cut short at a NUL would name another key.
    EXPECT_EQ(registry.openKey(platform::kLocalMachine, "SOFTWARE\0x"s, 0,
                               platform::kQueryValueAccess, key),
              ERROR_FILE_NOT_FOUND);
}

TEST(Win32FileTests, KnowsAnOrdinaryFile) {
    TempFolder folder;
    const fs::path file = folder.path() / "file.txt";
    const fs::path hidden = folder.path() / "hidden.txt";
    const fs::path system = folder.path() / "system.txt";
    const fs::path chinese = folder.path() / L"羽筆 字典.exe";
    for (const fs::path& path : {file, hidden, system, chinese}) touch(path);
    fs::create_directory(folder.path() / "folder");
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    struct Case {
        const char* name;
        std::u16string path;
        bool ordinary;
    };
    const Case cases[] = {
        {"file", text16(file), true},
        {"Chinese name with a blank", text16(chinese), true},
        {"folder", text16(folder.path() / "folder"), false},
        {"hidden file", text16(hidden), false},
        {"system file", text16(system), false},
        {"missing file", text16(folder.path() / "missing.txt"), false},
        {"empty path", u"", false},
        {"name cut at a NUL", text16(file.string() + '\0' + "x"), false},
    };
    platform::Win32FileTests tests;
    for (const Case& c : cases) EXPECT_EQ(tests.isOrdinaryFile(c.path), c.ordinary) << c.name;
}

// The helper writes its own file name where QB_MARKER_FILE says, so each case shows which
// program ran, if any.
TEST(Win32ProgramStarter, StartsTheProgramFileAlone) {
    TempFolder folder;
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    const fs::path helper =
        fs::path(std::wstring(self, length)).parent_path() / "qb_marker_program.exe";
    const fs::path chinese = folder.path() / L"程式 資料夾" / L"標記.exe";
    fs::create_directories(chinese.parent_path());
    ASSERT_TRUE(fs::copy_file(helper, chinese));
    const fs::path marker = folder.path() / "marker";
    SetEnvironmentVariableW(L"QB_MARKER_FILE", marker.c_str());
    struct Case {
        const char* name;
        std::u16string path;
        bool started;
    };
    const Case cases[] = {
        {"program", text16(helper), true},
        {"Chinese folder with a blank", text16(chinese), true},
        {"missing program", text16(folder.path() / "missing.exe"), false},
        {"folder", text16(folder.path()), false},
        {"path and an argument", text16(L'"' + helper.native() + L"\" --x"), false},
        {"empty path", u"", false},
    };
    platform::Win32ProgramStarter starter;
    for (const Case& c : cases) {
        fs::remove(marker);
        ASSERT_EQ(starter.startProgram(c.path), c.started) << c.name;
        if (!c.started) continue;
        // It returns at once; the helper writes its marker when it has run.
        std::wstring ran;
        for (int wait = 0; wait < 600 && ran.empty(); ++wait) {
            Sleep(50);
            std::ifstream in(marker, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            ran.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        }
        EXPECT_TRUE(ran == fs::path(std::wstring(c.path.begin(), c.path.end())).native()) << c.name;
    }
    SetEnvironmentVariableW(L"QB_MARKER_FILE", nullptr);
}

bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Whether the system can speak shows in the first text said; what the engine tells before
// it, and at every later call, must agree. Wine 8's voice makes no sound (it lists a voice,
// gives no voice token and refuses to speak): silence, told quietly, every time.
TEST(SapiSpeechEngine, AnswersAsTheSystemsVoiceSpeaks) {
    platform::SapiSpeechEngine engine;
    const bool voiceBeforeSpeaking = engine.hasVoice();
    const bool speaks = engine.say(u"apple");
    if (underWine()) {
        EXPECT_FALSE(speaks);
    }
    EXPECT_EQ(voiceBeforeSpeaking, speaks);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(engine.stop(), speaks) << round;
        EXPECT_EQ(engine.say(u"  蘋果 <b>"), speaks) << round;
        EXPECT_EQ(engine.hasVoice(), speaks) << round;
    }
}

// A message-only window owns the icon; the record carries its real handle through 32 bits.
TEST(ShellNotificationArea, AddsAndRemovesTheTrayModulesRecord) {
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const HICON icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    const auto handle32 = [](const void* handle) {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    };
    const platform::IconRecord added =
        Tray::addRecord(handle32(owner), 1, 0x200, handle32(icon), u"羽筆字典");
    const NOTIFYICONDATAA data = platform::ShellNotificationArea::notifyIconData(added);
    EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(data.hWnd, owner);
    EXPECT_EQ(data.hIcon, icon);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, 0x200u);
    EXPECT_EQ(std::string(data.szTip, 9), "\xA6\xD0\xB5\xA7\xA6\x72\xA8\xE5\0"s);
    // Where the ANSI code page is another, the same fields go with the tip as text.
    const NOTIFYICONDATAW wide =
        platform::ShellNotificationArea::wideNotifyIconData(added, u"羽筆字典");
    EXPECT_EQ(wide.cbSize, NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(wide.hWnd, owner);
    EXPECT_EQ(wide.hIcon, icon);
    EXPECT_EQ(wide.uFlags, data.uFlags);
    EXPECT_EQ(std::wstring(wide.szTip), L"羽筆字典");
    EXPECT_EQ(std::wstring(platform::ShellNotificationArea::wideNotifyIconData(
                               added, std::u16string(80, u'x'))
                               .szTip),
              std::wstring(63, L'x'));

    // Where the shell has a notification area it takes the icon and gives it back once.
    platform::ShellNotificationArea area;
    const bool available = area.isAvailable();
    using platform::TrayCommand;
    EXPECT_EQ(platform::ShellNotificationArea::send(TrayCommand::Add, added), available);
    const platform::IconRecord removed = Tray::removeRecord(handle32(owner), 1);
    EXPECT_EQ(platform::ShellNotificationArea::send(TrayCommand::Delete, removed), available);
    EXPECT_FALSE(platform::ShellNotificationArea::send(TrayCommand::Delete, removed));
    area.notifyIcon(TrayCommand::Add, added, u"羽筆字典");
    area.notifyIcon(TrayCommand::Delete, removed, u"");
    DestroyWindow(owner);
}
