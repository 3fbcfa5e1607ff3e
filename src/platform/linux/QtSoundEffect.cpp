// The sound player proper, built as a module of its own: Qt Multimedia brings some twenty
// libraries (the sound server's client, codecs, networking) that would otherwise be loaded
// and linked before the window can appear, for a sound first played at the first lookup.

#include <QSoundEffect>
#include <QUrl>

#include "QtSoundModule.h"

namespace {

class SoundEffectPlayer final : public qb::platform::SoundPlayer {
public:
    void playAsync(const QString& wavPath) override {
        const QUrl source = QUrl::fromLocalFile(wavPath);
        if (effect_.source() != source) effect_.setSource(source);
        effect_.stop();
        effect_.play();
    }

private:
    QSoundEffect effect_;
};

}  // namespace

extern "C" Q_DECL_EXPORT qb::platform::SoundPlayer* qb_create_sound_player() {
    return new SoundEffectPlayer;
}
