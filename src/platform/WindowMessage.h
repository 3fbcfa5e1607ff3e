#pragma once

#include <QEvent>
#include <cstdint>

namespace qb::platform {

// A message a window receives from the desktop, as the notification area's callback: the
// message number, and two parameters (the icon's identifier and the mouse message number).
class WindowMessageEvent final : public QEvent {
  public:
    static QEvent::Type type() {
        static const auto kType = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kType;
    }
    WindowMessageEvent(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)
        : QEvent(type()), message(message), wParam(wParam), lParam(lParam) {}
    const std::uint32_t message;
    const std::uint32_t wParam;
    const std::uint32_t lParam;
};

}  // namespace qb::platform
