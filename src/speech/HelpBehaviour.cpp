#include "speech/HelpBehaviour.h"

#include "platform/ProgramFolder.h"

namespace qb {

void HelpBehaviour::Command1_Click() {
    startInstaller(u"spchapi.exe");
}
void HelpBehaviour::Command2_Click() {
    startInstaller(u"msttsl.exe");
}

void HelpBehaviour::closeBox_Click() {
    view_.unload();
}

void HelpBehaviour::startInstaller(std::u16string_view name) {
    // Plain concatenation, as every file beside the program is named. A file that is missing
    // or will not start is the installer's matter: nothing is reported.
    desktop_.programs.startProgram(programFolder_ + platform::kFolderSeparator +
                                   std::u16string(name));
}

}  // namespace qb
