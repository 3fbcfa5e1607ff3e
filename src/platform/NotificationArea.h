#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qb::platform {

// The notification-area icon record as the system takes it: 88 bytes, integers 32-bit
// little-endian. Every reader and writer of a record goes through the offsets below.
using IconRecord = std::array<std::uint8_t, 88>;

namespace iconRecord {
inline constexpr std::size_t kSize = 88;
inline constexpr std::size_t kOwnerWindow = 4;
inline constexpr std::size_t kIdentifier = 8;
inline constexpr std::size_t kFlags = 12;
inline constexpr std::size_t kCallbackMessage = 16;
inline constexpr std::size_t kIcon = 20;
inline constexpr std::size_t kTip = 24;  // code page 950, NUL-terminated
inline constexpr std::size_t kTipBytes = 64;

inline std::uint32_t get(const IconRecord& record, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | record[offset + static_cast<std::size_t>(i)];
    return value;
}

inline void put(IconRecord& record, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The tip's bytes as stored, up to the NUL that ends the shown text.
inline std::string_view tipBytes(const IconRecord& record) {
    std::string_view field(reinterpret_cast<const char*>(record.data()) + kTip, kTipBytes);
    return field.substr(0, field.find('\0'));
}
}  // namespace iconRecord

// What to do with the icon a record describes; the values are the system's.
enum class TrayCommand : std::uint32_t { Add = 0, Delete = 2 };

// Which fields of a record count; the values are the system's.
enum TrayField : std::uint32_t { kTrayMessage = 1, kTrayIcon = 2, kTrayTip = 4 };

// The mouse messages an icon's owner receives with its callback message, by the system's
// numbers. `Move` is also the callback message the tray window asks for.
enum class TrayMouse : std::uint32_t {
    Move = 0x200,
    LeftDown = 0x201,
    LeftUp = 0x202,
    LeftDouble = 0x203,
    RightDown = 0x204,
    RightUp = 0x205,
    MiddleDown = 0x207,
    MiddleUp = 0x208,
};

class NotificationArea {
  public:
    virtual ~NotificationArea() = default;
    // Adds or removes the icon the record describes; `tip` is the record's tip as text, for
    // desktops that take text rather than the record. For mouse activity over an icon, its
    // owner window receives the record's callback message with the icon's identifier and
    // the mouse message number. Refusals are not reported.
    virtual void notifyIcon(TrayCommand command, const IconRecord& record,
                            std::u16string_view tip) = 0;
    // Whether the desktop has a notification area at this moment.
    virtual bool isAvailable() = 0;
};

}  // namespace qb::platform
