#pragma once

#include <array>
#include <cstdint>

#include "platform/NotificationArea.h"

namespace qb::platform {

// What the 88-byte icon record says, field by field, in the widths a system with 64-bit
// pointers takes them. The record is the 32-bit layout: its window and icon are 32-bit
// handles, which the system sign-extends to pointer width (only their low 32 bits count),
// so they are widened here the same way. The tip's bytes pass as they are.
//
// Plain C++, so that the conversion can be checked on every system the code builds on.
struct NotifyIconFields {
    std::intptr_t window = 0;
    std::uint32_t identifier = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    std::intptr_t icon = 0;
    std::array<char, iconRecord::kTipBytes> tip{};
};

inline std::intptr_t widenedHandle(std::uint32_t handle) {
    return static_cast<std::intptr_t>(static_cast<std::int32_t>(handle));
}

inline NotifyIconFields notifyIconFields(const IconRecord& record) {
    NotifyIconFields fields;
    fields.window = widenedHandle(iconRecord::get(record, iconRecord::kOwnerWindow));
    fields.identifier = iconRecord::get(record, iconRecord::kIdentifier);
    fields.flags = iconRecord::get(record, iconRecord::kFlags);
    fields.callbackMessage = iconRecord::get(record, iconRecord::kCallbackMessage);
    fields.icon = widenedHandle(iconRecord::get(record, iconRecord::kIcon));
    for (std::size_t i = 0; i < iconRecord::kTipBytes; ++i)
        fields.tip[i] = static_cast<char>(record[iconRecord::kTip + i]);
    return fields;
}

}  // namespace qb::platform
