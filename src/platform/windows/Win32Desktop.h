#pragma once

#include <windows.h>

#include <map>

#include "platform/Desktop.h"
#include "platform/Registry.h"

namespace qb::platform {

// The windowless desktop services, through the system's own calls.

class Win32ProgramStarter final : public ProgramStarter {
  public:
    bool startProgram(std::u16string_view path) override;
};

class Win32AddressOpener final : public AddressOpener {
  public:
    // The window that owns whatever the shell shows while it opens the address (a message
    // box when no browser is set); none until a window sets itself.
    void setOwner(HWND owner) { owner_ = owner; }
    void openAddress(std::u16string_view url) override;

  private:
    HWND owner_ = nullptr;
};

class Win32FileTests final : public FileTests {
  public:
    bool isOrdinaryFile(std::u16string_view path) override;
};

// The registry through advapi32. Our key numbers are 32-bit, an HKEY is a pointer: the
// system's predefined roots keep their numbers, and every key opened here gets a number of
// its own until it is closed.
class Win32Registry final : public Registry {
  public:
    Win32Registry() = default;
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;
    // Keys left open are closed with it.
    ~Win32Registry() override;

    RegistryStatus openKey(RegistryKey root, const std::string& path, std::uint32_t options,
                           std::uint32_t access, RegistryKey& key) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus closeKey(RegistryKey key) override;

  private:
    // The key a number names, or null when it names none.
    HKEY handle(RegistryKey key) const;

    std::map<RegistryKey, HKEY> open_;
    RegistryKey next_ = 1;
};

}  // namespace qb::platform
