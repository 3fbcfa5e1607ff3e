#pragma once

#include <QWindow>

namespace qb::platform {

// Whether the window manager has the window (on screen or minimised) or the window is
// about to be mapped.
enum class WindowStage { AboutToMap, Managed };

// The taskbar and pager entries of a window on an X11 desktop, through the window's
// _NET_WM_STATE: taskbars differ in whether they honour a window's type or this state, so a
// window that has no taskbar button says so in both. Does nothing off X11.
//
// Before the window is mapped the state is written into the window's own property, which
// the window manager reads when it maps it and Qt keeps when it adds its own states; once
// the window manager has the window, even minimised and so unmapped, it is asked to change it.
void setSkipTaskbar(QWindow& window, bool skip, WindowStage stage);

}  // namespace qb::platform
