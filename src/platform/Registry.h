#pragma once

#include <cstdint>
#include <string>

namespace qb::platform {

// The machine's settings store, in the shape of the three calls that read one value: open a
// key, query a value into the caller's buffer, close the key. Key paths and value names travel
// in the system's ANSI code page, as the bytes the call takes.
using RegistryKey = std::uint32_t;
using RegistryStatus = long;

inline constexpr RegistryKey kLocalMachine = 0x80000002;
// Query, set, create subkey, enumerate subkeys, notify, create link, read control.
inline constexpr std::uint32_t kKeyAllAccessMask = 0x2003F;
inline constexpr std::uint32_t kQueryValueAccess = 0x1;

inline constexpr std::uint32_t kValueText = 1;    // a NUL-terminated string
inline constexpr std::uint32_t kValueNumber = 4;  // a 32-bit little-endian number

inline constexpr RegistryStatus kRegistrySuccess = 0;
inline constexpr RegistryStatus kRegistryNotFound = 2;
inline constexpr RegistryStatus kRegistryAccessDenied = 5;
inline constexpr RegistryStatus kRegistryInvalidHandle = 6;
inline constexpr RegistryStatus kRegistryMoreData = 234;

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens `path` below `root` with the access asked for; on success `key` names it until
    // closeKey.
    virtual RegistryStatus openKey(RegistryKey root, const std::string& path, std::uint32_t options,
                                   std::uint32_t access, RegistryKey& key) = 0;
    // Copies the value's data into `data`, which holds `size` bytes, and tells its type; on
    // return `size` is the data's length, also when it did not fit (kRegistryMoreData).
    virtual RegistryStatus queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                                      std::uint8_t* data, std::uint32_t& size) = 0;
    virtual RegistryStatus closeKey(RegistryKey key) = 0;
};

}  // namespace qb::platform
