#pragma once

#include <QString>
#include <QStringList>
#include <map>

#include "codepage/CodePage950.h"
#include "platform/Registry.h"

namespace qb::platform {

// Linux keeps no registry. The one thing the program reads from it is where the system's
// information program lies, so this answers that value alone: the key
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" below the local machine, value "PATH", holding the
// full path of the first of programs() found on PATH. There are no other keys or values.
class SystemInfoRegistry final : public Registry {
  public:
    // The desktops' own system-information programs, in the order they are looked for.
    static const QStringList& programs();
    // The first of programs() in a folder of PATH, as a full path; empty when there is none.
    // Only absolute folders count: a program is never started from the working folder.
    static QString findProgram();

    RegistryStatus openKey(RegistryKey root, const std::string& path, std::uint32_t options,
                           std::uint32_t access, RegistryKey& key) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus closeKey(RegistryKey key) override;

  private:
    std::map<RegistryKey, std::uint32_t> open_;  // open keys and the access they were given
    RegistryKey next_ = 0x200;
    CodePage950 codePage_;
};

}  // namespace qb::platform
