#include <windows.h>

#include "LookupCommand.h"

namespace {

std::string utf8Of(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminating zero
    return out;
}

}  // namespace

// The arguments as the system holds them, UTF-16: "quillbook-lookup.exe 蘋果" finds 蘋果
// whatever the system's code page, which the narrow arguments would have made into "??".
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(utf8Of(argv[i]));
    return runLookupCommand(args);
}
