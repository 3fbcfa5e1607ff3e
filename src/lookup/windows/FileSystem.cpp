#include "lookup/FileSystem.h"

#include <system_error>

namespace qb {
namespace {

std::u8string_view asU8(std::string_view text) {
    return {reinterpret_cast<const char8_t*>(text.data()), text.size()};
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    std::filesystem::path path(asU8(utf8));
    // Every absolute path on a drive in the form without the 260-character limit of every
    // Windows before 10 (and of 10 without the long-path setting): a short folder can hold a
    // file whose whole path is long, and what is found inside it inherits the form. The form
    // takes no "/", "." or "..", so the path is spelt out in full first.
    if (!path.is_absolute() || path.native().starts_with(L"\\\\")) return path;
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
