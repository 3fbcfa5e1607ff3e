#pragma once

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <map>

namespace qb::platform {

// The 32-bit handles that records passed to the desktop carry: one per window and one per
// icon, handed out on first use and never reused. One set belongs to each set of services.
class Handles final {
  public:
    std::uint32_t ofWindow(QWidget* window);
    QWidget* window(std::uint32_t handle) const;  // null once the window is gone
    std::uint32_t ofIcon(const QIcon& icon);
    QIcon icon(std::uint32_t handle) const;

  private:
    std::uint32_t next_ = 0x100;
    std::map<std::uint32_t, QPointer<QWidget>> windows_;
    std::map<std::uint32_t, QIcon> icons_;
};

}  // namespace qb::platform
