#pragma once

#include <string>
#include <string_view>

namespace qb::platform {

// The system's wide text is UTF-16 in 16-bit units, as ours is: the units carry over as they
// are. A text that holds a NUL would reach the system cut short at it, so callers that pass
// names refuse such a text first (holdsNul).
inline std::wstring wideText(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline bool holdsNul(std::u16string_view text) {
    return text.find(u'\0') != std::u16string_view::npos;
}

}  // namespace qb::platform
