// The speech engine proper, built as a module of its own: Qt's text-to-speech library is
// loaded at the first word spoken, not before the window can appear.

#include <QtGlobal>

#include "platform/linux/QtModules.h"
#include "platform/linux/QtSpeechEngine.h"

extern "C" Q_DECL_EXPORT qb::platform::SpeechEngine* qb_create_speech_engine() {
    return new qb::platform::QtSpeechEngine;
}
