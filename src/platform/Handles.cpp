#include "platform/Handles.h"

namespace qb::platform {

std::uint32_t Handles::ofWindow(QWidget* window) {
    for (const auto& [handle, w] : windows_)
        if (w == window) return handle;
    windows_[++next_] = window;
    return next_;
}

QWidget* Handles::window(std::uint32_t handle) const {
    auto it = windows_.find(handle);
    return it == windows_.end() ? nullptr : it->second.data();
}

std::uint32_t Handles::ofIcon(const QIcon& icon) {
    for (const auto& [handle, i] : icons_)
        if (i.cacheKey() == icon.cacheKey()) return handle;
    icons_[++next_] = icon;
    return next_;
}

QIcon Handles::icon(std::uint32_t handle) const {
    auto it = icons_.find(handle);
    return it == icons_.end() ? QIcon() : it->second;
}

}  // namespace qb::platform
