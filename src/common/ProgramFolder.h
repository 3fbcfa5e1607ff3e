#pragma once

#include <string>

namespace qb {

// The folder that holds the running program file, without a trailing separator. Files that
// ship beside the program ("lib", "flip.wav") are found from here.
std::string programFolder();

}  // namespace qb
