#pragma once

#include <QLineEdit>
#include <QString>

#include "common/AppShared.h"

namespace qb {

inline const QString kNothingToSpeak = QStringLiteral("請先輸入字串才能發音");

// The speak button: says exactly what the input box holds, through the speech service.
void speakInput(AppShared& shared, const QLineEdit& Text_Input);

// The speak button's tooltip: nothing while the system has a voice; otherwise one line that
// says why the button is silent and which packages give it a voice.
QString silentVoiceTip(platform::SpeechEngine& speech);

}  // namespace qb
