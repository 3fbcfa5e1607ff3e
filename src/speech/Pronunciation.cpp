#include "speech/Pronunciation.h"

namespace qb {

void speakInput(AppShared& shared, const QLineEdit& Text_Input) {
    // Out of the topmost band first, so that the message box can come in front.
    shared.SetTopmost(false);
    if (Text_Input.text().isEmpty()) {
        shared.MsgBox(kNothingToSpeak, platform::kOkOnly);
        shared.SetTopmost(true);
        return;
    }
    // Back on top before the speech service is called: whatever it does, the window ends
    // in the band. Its answers are not used; a failure stays silent.
    shared.SetTopmost(true);
    platform::SpeechEngine& speech = shared.services().speech;
    speech.stop();
    // Read again, and handed over as it is: blanks, case and every word count.
    speech.say(Text_Input.text());
}

QString silentVoiceTip(platform::SpeechEngine& speech) {
    if (speech.hasVoice()) return {};
    return QStringLiteral(
        "找不到發音的語音：請安裝 speech-dispatcher-espeak-ng 與 "
        "qt6-speech-speechd-plugin（或 flite 與 qt6-speech-flite-plugin）");
}

}  // namespace qb
