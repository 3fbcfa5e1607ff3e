#include "lookup/Library.h"

#include <cctype>
#include <system_error>

namespace qb {
namespace {

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

Library Library::besideProgram(const std::string& programFolder) {
    return Library(programFolder + "/lib");
}

std::string Library::pathOf(char letter) const {
    return folder_ + "/" + letter + ".lib";
}

FileHandle Library::open(char letter) const {
    const std::filesystem::path asked = pathFromUtf8(pathOf(letter));
    if (FileHandle f = openRegularFile(asked)) return f;
    // The library ships with lower-case names and the scan of all files asks for upper-case
    // ones: try the letter's other case before reading the folder.
    const char otherCase =
        std::isupper(static_cast<unsigned char>(letter))
            ? static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))
            : static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (FileHandle f = openRegularFile(pathFromUtf8(pathOf(otherCase)))) return f;

    const std::string name = utf8Of(asked.filename());
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(pathFromUtf8(folder_), ec)) {
        if (equalIgnoringAsciiCase(utf8Of(entry.path().filename()), name))
            if (FileHandle f = openRegularFile(entry.path())) return f;
    }
    return nullptr;
}

}  // namespace qb
