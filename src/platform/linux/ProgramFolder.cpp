#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace qb::platform {

const char16_t kFolderSeparator = u'/';

std::string programFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

}  // namespace qb::platform
