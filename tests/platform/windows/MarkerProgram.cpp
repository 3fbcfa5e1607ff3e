// Started by the services' tests: writes its own file name, as UTF-16, to the file that
// QB_MARKER_FILE names, so the test sees which program started and that it did.
#include <windows.h>

int wmain() {
    wchar_t marker[MAX_PATH * 4];
    wchar_t self[MAX_PATH * 4];
    if (GetEnvironmentVariableW(L"QB_MARKER_FILE", marker, MAX_PATH * 4) == 0) return 2;
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    const HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(file, self, length * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
    return 0;
}
