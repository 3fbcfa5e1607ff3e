#include "platform/StandardStreams.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qb::platform {
namespace {

// Straight to the descriptor, whole: stdio would copy the tool's buffer once more and make two
// or three calls of each flush. Returns 0 or the error.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

}  // namespace

std::string writeStandardOutput(std::string_view utf8) {
    const int error = writeAll(STDOUT_FILENO, utf8);
    return error == 0 ? std::string() : std::strerror(error);
}

void writeStandardError(std::string_view utf8) {
    writeAll(STDERR_FILENO, utf8);
}

}  // namespace qb::platform
