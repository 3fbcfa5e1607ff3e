#include "speech/Pronunciation.h"

#include "platform/Desktop.h"

namespace qb {

void speakInput(ProgramCalls& program, WindowView& window, platform::SpeechEngine& speech,
                const std::u16string& typed) {
    // Out of the topmost band first, so that the message box can come in front.
    program.SetTopmost(false);
    if (typed.empty()) {
        window.MsgBox(kNothingToSpeak, platform::kOkOnly);
        program.SetTopmost(true);
        return;
    }
    // Back on top before the speech service is called: whatever it does, the window ends
    // in the band. Its answers are not used; a failure stays silent.
    program.SetTopmost(true);
    speech.stop();
    // Handed over as it is: blanks, case and every word count.
    speech.say(typed);
}

std::u16string silentVoiceTip(platform::SpeechEngine& speech) {
    if (speech.hasVoice()) return {};
    return u"找不到發音的語音：請安裝 speech-dispatcher-espeak-ng 與 "
           u"qt6-speech-speechd-plugin（或 flite 與 qt6-speech-flite-plugin）";
}

}  // namespace qb
