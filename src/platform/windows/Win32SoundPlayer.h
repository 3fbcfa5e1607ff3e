#pragma once

#include <string_view>

namespace qb::platform {

// Plays a WAV file without waiting for it: silently when the file is missing or no sound
// device answers, and a new sound cuts the one still playing.
class Win32SoundPlayer final {
  public:
    void playAsync(std::u16string_view wavPath);
};

}  // namespace qb::platform
