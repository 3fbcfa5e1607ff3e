#pragma once

#include <array>
#include <cstdint>

namespace qb::platform {

// The notification-area icon record: 88 bytes, integers 32-bit little-endian, in the order
// cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon, then a 64-byte tip in code page 950.
using IconRecord = std::array<std::uint8_t, 88>;

enum : std::uint32_t { NIM_ADD = 0, NIM_DELETE = 2 };
enum : std::uint32_t { NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4 };

// Mouse message numbers that an icon's owner receives with its callback message.
enum : std::uint32_t {
    WM_MOUSEMOVE = 0x200,
    WM_LBUTTONDOWN = 0x201,
    WM_LBUTTONUP = 0x202,
    WM_LBUTTONDBLCLK = 0x203,
    WM_RBUTTONDOWN = 0x204,
    WM_RBUTTONUP = 0x205,
    WM_MBUTTONDOWN = 0x207,
    WM_MBUTTONUP = 0x208,
};

class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // Adds or removes the icon the record describes. For mouse activity over an icon, its
    // owner window receives the record's callback message with the icon's identifier and
    // the mouse message number. Refusals are not reported.
    virtual void Shell_NotifyIcon(std::uint32_t message, const IconRecord& record) = 0;
    // Whether the desktop has a notification area at this moment.
    virtual bool isAvailable() = 0;
};

}  // namespace qb::platform
