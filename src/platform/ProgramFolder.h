#pragma once

#include <string>

namespace qb::platform {

// The folder that holds the running program file, without a trailing separator. Files that
// ship beside the program ("lib", "flip.wav") are found from here. Needs no Qt, so the
// command-line tools use it too.
std::string programFolder();

// What the system writes between a folder and a file in it: "/", or "\" on Windows.
extern const char16_t kFolderSeparator;

}  // namespace qb::platform
