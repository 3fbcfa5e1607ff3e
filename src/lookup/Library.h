#pragma once

#include <string>

#include "lookup/FileSystem.h"

namespace qb {

// The folder of the 26 library files, a.lib to z.lib, named in UTF-8.
class Library {
  public:
    explicit Library(std::string folder) : folder_(std::move(folder)) {}

    // The library folder beside the program: the program folder followed by "/lib".
    static Library besideProgram(const std::string& programFolder);

    const std::string& folder() const { return folder_; }

    // The name the program gives the file of a letter, written as the caller writes it:
    // lower case for a single-file lookup, upper case for the scan of all files.
    std::string pathOf(char letter) const;

    // Opens the file of a letter for reading. Where file names tell letter case apart, a file
    // whose name differs from the asked one only in case is found as well. Null when the file
    // is missing or cannot be read.
    FileHandle open(char letter) const;

  private:
    std::string folder_;
};

}  // namespace qb
