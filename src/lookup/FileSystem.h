#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace qb {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Paths as the engine keeps them, UTF-8 text, and as the system opens them: on Windows wide,
// and past 260 characters in the form that lifts that limit. The build picks the
// implementation (lookup/posix, lookup/windows).
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& path);

// Opens a regular file for reading bytes; null when it is missing, is no regular file, or
// cannot be read.
FileHandle openRegularFile(const std::filesystem::path& path);

}  // namespace qb
