#include "lookup/FileSystem.h"

#include <system_error>

namespace qb {

// File names are bytes here, taken as they come.
std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(utf8);
}

std::string utf8Of(const std::filesystem::path& path) {
    return path.native();
}

FileHandle openRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    return FileHandle(std::fopen(path.c_str(), "rb"));
}

}  // namespace qb
