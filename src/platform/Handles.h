#pragma once

#include <QEvent>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <map>

namespace qb::platform {

// The 32-bit handles that records passed to the desktop carry: one per window and one per
// icon, handed out on first use and never reused within a run.
class Handles final {
public:
    static Handles& instance();

    std::uint32_t ofWindow(QWidget* window);
    QWidget* window(std::uint32_t handle) const;  // null once the window is gone
    std::uint32_t ofIcon(const QIcon& icon);
    QIcon icon(std::uint32_t handle) const;

private:
    std::uint32_t next_ = 0x100;
    std::map<std::uint32_t, QPointer<QWidget>> windows_;
    std::map<std::uint32_t, QIcon> icons_;
};

// A message a window receives from the desktop, as the notification area's callback: the
// message number, and two parameters (the icon's identifier and the mouse message number).
class WindowMessageEvent final : public QEvent {
public:
    static const QEvent::Type kType;
    WindowMessageEvent(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)
        : QEvent(kType), message(message), wParam(wParam), lParam(lParam) {}
    const std::uint32_t message;
    const std::uint32_t wParam;
    const std::uint32_t lParam;
};

}  // namespace qb::platform
