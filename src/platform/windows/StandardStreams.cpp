#include "platform/StandardStreams.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace qb::platform {
namespace {

// The system's words for an error, in UTF-8.
std::string describe(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = "error " + std::to_string(error);
    if (n > 0) {
        std::wstring wide(text, n);
        while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r')) wide.pop_back();
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                             nullptr, 0, nullptr, nullptr);
        out.assign(static_cast<size_t>(size > 0 ? size : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                            size, nullptr, nullptr);
    }
    LocalFree(text);
    return out;
}

// A console takes characters (WriteConsoleW), whatever its code page, so Chinese shows in
// any console window; anything else takes the bytes as they are. Returns 0 or the error.
DWORD writeAll(DWORD which, std::string_view utf8) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const int units =
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            units);
        for (size_t at = 0; at < wide.size();) {
            // Consoles refuse writes much past 32 KiB on older systems.
            DWORD most = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 8192));
            if (at + most < wide.size() && IS_HIGH_SURROGATE(wide[at + most - 1])) --most;
            DWORD written = 0;
            if (!WriteConsoleW(handle, wide.data() + at, most, &written, nullptr) || written == 0)
                return GetLastError();
            at += written;
        }
        return 0;
    }
    while (!utf8.empty()) {
        DWORD written = 0;
        const DWORD most = static_cast<DWORD>(std::min<size_t>(utf8.size(), 1u << 30));
        if (!WriteFile(handle, utf8.data(), most, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        utf8.remove_prefix(written);
    }
    return 0;
}

}  // namespace

std::string writeStandardOutput(std::string_view utf8) {
    const DWORD error = writeAll(STD_OUTPUT_HANDLE, utf8);
    return error == 0 ? std::string() : describe(error);
}

void writeStandardError(std::string_view utf8) {
    writeAll(STD_ERROR_HANDLE, utf8);
}

}  // namespace qb::platform
