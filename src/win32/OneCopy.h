#pragma once

#include <windows.h>

namespace qb::win32 {

// One Quillbook at a time in a user's session: a later start asks the running copy to bring
// its book forward, as the icon's menu does, and ends.
class OneCopy final {
  public:
    OneCopy();
    ~OneCopy();
    OneCopy(const OneCopy&) = delete;
    OneCopy& operator=(const OneCopy&) = delete;

    // True when another copy runs and has been asked to come forward: this one should end.
    bool handedOver() const;

    // The message the running copy's tray window answers by bringing the book forward.
    static UINT comeForwardMessage();

  private:
    HANDLE mutex_ = nullptr;
    bool another_ = false;
};

}  // namespace qb::win32
