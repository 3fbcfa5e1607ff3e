#include "LookupCommand.h"

// The arguments are bytes here, UTF-8 on every system the program supports.
int main(int argc, char** argv) {
    return runLookupCommand(std::vector<std::string>(argv + 1, argv + argc));
}
