// The sound player proper, built as a module of its own: Qt Multimedia brings some twenty
// libraries (the sound server's client, codecs, networking) that would otherwise be loaded
// and linked before the window can appear.

#include "platform/linux/QtModules.h"
#include "platform/linux/QtSoundPlayer.h"

extern "C" Q_DECL_EXPORT qb::platform::SoundPlayer* qb_create_sound_player() {
    return new qb::platform::QtSoundPlayer;
}
