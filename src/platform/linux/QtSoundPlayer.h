#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

#include "platform/Services.h"

class QAudioSink;

namespace qb::platform {

// The samples of a PCM WAV file and their format.
struct WavSound {
    QAudioFormat format;
    QByteArray samples;
};

// Reads a WAV file of 8-, 16- or 32-bit integer or 32-bit float PCM; nothing for a missing
// file, another encoding, or a file cut short.
std::optional<WavSound> readWav(const QString& path);

// Plays a sound by handing all of it to the audio server at once. The server then plays it
// whole while the program is busy: a sound fed piece by piece from the user-interface
// thread breaks up while the start-up, or a long lookup, keeps that thread working.
class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void prepare(const QString& wavPath) override;
    void playAsync(const QString& wavPath) override;

  private:
    QString path_;
    std::optional<WavSound> sound_;
    std::unique_ptr<QAudioSink> sink_;
};

}  // namespace qb::platform
