#pragma once

#include <string>
#include <vector>

// quillbook-lookup with its arguments (the program's name left out) as UTF-8; returns the exit
// status. Each system's entry point only hands the arguments over.
int runLookupCommand(const std::vector<std::string>& args);
