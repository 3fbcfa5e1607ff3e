#pragma once

#include <string_view>

#include "platform/Registry.h"

namespace qb::platform {

// The desktop services that need no window, in plain text, so that a window's behaviour can
// use them whatever toolkit draws the window.

// Message box styles and answers, by the numbers the program has always used.
enum MessageStyle { kOkOnly = 0, kYesNoQuestion = 36 };
enum MessageAnswer { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // Starts the program file in a normal window that gets the focus and returns at once;
    // false when it cannot be started. Never through a shell.
    virtual bool startProgram(std::u16string_view path) = 0;
};

class AddressOpener {
  public:
    virtual ~AddressOpener() = default;
    // Opens a web address in the desktop's default browser, maximised where the desktop lets
    // the program ask for it.
    virtual void openAddress(std::u16string_view url) = 0;
};

class FileTests {
  public:
    virtual ~FileTests() = default;
    // Whether an ordinary file of that name exists: not a folder, not a hidden file.
    virtual bool isOrdinaryFile(std::u16string_view path) = 0;
};

// The windowless services, as a window's behaviour is given them.
struct Desktop {
    ProgramStarter& programs;
    AddressOpener& addresses;
    FileTests& files;
    Registry& registry;
};

}  // namespace qb::platform
