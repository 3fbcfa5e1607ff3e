#include "RunProgram.h"

#include <windows.h>

#include <filesystem>

namespace qb::test {
namespace {

std::wstring wide(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).native();
}

// One argument as the C runtime's wmain reads it back: quoted, with backslashes doubled
// only before a quote.
std::wstring quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t ch : arg) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(ch == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += ch;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE inheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int runProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& outPath, const std::string& errPath) {
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& arg : args) commandLine += L" " + quoted(wide(arg));
    const HANDLE out = inheritableFile(outPath), err = inheritableFile(errPath);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    int result = -1;
    if (CreateProcessW(wide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                       nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code)) result = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE h : {out, err})
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return result;
}

}  // namespace qb::test
