#pragma once

#include <string>
#include <vector>

namespace qb::test {

// Runs `program` with `args` (UTF-8), its standard output written to the file `outPath` and
// its standard error to `errPath`, and waits for it. Returns its exit status, or -1 when it
// could not start or did not exit by itself.
int runProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& outPath, const std::string& errPath);

}  // namespace qb::test
