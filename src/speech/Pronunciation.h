#pragma once

#include <string>
#include <string_view>

#include "common/ProgramCalls.h"
#include "common/WindowView.h"
#include "platform/SpeechEngine.h"

namespace qb {

inline constexpr std::u16string_view kNothingToSpeak = u"請先輸入字串才能發音";

// The speak button: says exactly the typed text, through the speech service; `window` is
// the window whose message box refuses an empty text.
void speakInput(ProgramCalls& program, WindowView& window, platform::SpeechEngine& speech,
                const std::u16string& typed);

// The speak button's tooltip: nothing while the system has a voice; otherwise one line that
// says why the button is silent and which packages give it a voice.
std::u16string silentVoiceTip(platform::SpeechEngine& speech);

}  // namespace qb
