#include "lookup/FileSystem.h"

#include <system_error>

namespace qb {
namespace {

// Where the system still stops at MAX_PATH unless the path is written as \\?\C:\... (every
// Windows before 10, and 10 without the long-path setting); a folder's limit is 12 less, room
// for an 8.3 name.
constexpr size_t kShortFolderLimit = 260 - 12;

std::u8string_view asU8(std::string_view text) {
    return {reinterpret_cast<const char8_t*>(text.data()), text.size()};
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    std::filesystem::path path(asU8(utf8));
    const std::wstring& wide = path.native();
    if (wide.size() < kShortFolderLimit || !path.is_absolute() || wide.starts_with(L"\\\\"))
        return path;
    // The long form takes no "/", ".", or "..": the path is spelt out in full first.
    return std::filesystem::path(L"\\\\?\\" + path.lexically_normal().make_preferred().native());
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

FileHandle openRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    return FileHandle(_wfopen(path.c_str(), L"rb"));
}

}  // namespace qb
