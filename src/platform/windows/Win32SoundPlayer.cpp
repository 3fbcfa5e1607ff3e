#include "platform/windows/Win32SoundPlayer.h"

#include <windows.h>
// Needs the declarations above.
#include <mmsystem.h>

#include "platform/windows/WideText.h"

namespace qb::platform {

void Win32SoundPlayer::playAsync(std::u16string_view wavPath) {
    if (wavPath.empty() || holdsNul(wavPath)) return;
    // No default sound in place of a missing file: a missing click stays silent.
    PlaySoundW(wideText(wavPath).c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

}  // namespace qb::platform
