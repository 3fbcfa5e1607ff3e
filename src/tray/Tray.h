#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/NotificationArea.h"

namespace qb {

// Puts icons into the notification area on behalf of windows and takes them out again. Icons
// are numbered from 1 and numbers are never reused; each number remembers its owner window,
// so removing an icon needs only its number.
class Tray final {
  public:
    explicit Tray(platform::NotificationArea& area) : area_(area) {}

    // Returns the new icon's identifier. Throws std::overflow_error past the largest
    // identifier.
    std::int32_t AddTrayIcon(std::uint32_t ownerWindow, std::uint32_t callbackMessage,
                             std::uint32_t icon, const std::u16string& tip);
    // Throws std::out_of_range for an identifier that AddTrayIcon never returned.
    void RemoveTrayIcon(std::int32_t identifier);

    std::int32_t TrayIconCount() const { return iconCount_; }
    // Keyed by the identifier in decimal; entries stay after their icon is removed.
    const std::optional<std::map<std::string, std::uint32_t>>& TrayIconWindows() const {
        return iconWindows_;
    }

    // The record of an add, with the tip: the text and a NUL, blank-filled to 64 characters,
    // then in code page 950 with the bytes beyond 64 dropped.
    static platform::IconRecord addRecord(std::uint32_t ownerWindow, std::int32_t identifier,
                                          std::uint32_t callbackMessage, std::uint32_t icon,
                                          const std::u16string& tip);
    static platform::IconRecord removeRecord(std::uint32_t ownerWindow, std::int32_t identifier);
    // The tip as the desktop shows it: the record's tip bytes up to the NUL, decoded.
    static std::u16string tipShown(const platform::IconRecord& record);

  private:
    platform::NotificationArea& area_;
    std::int32_t iconCount_ = 0;
    std::optional<std::map<std::string, std::uint32_t>> iconWindows_;
};

}  // namespace qb
