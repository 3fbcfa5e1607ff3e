#include "platform/linux/QtSoundPlayer.h"

#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QtEndian>

namespace qb::platform {
namespace {

constexpr quint16 kIntegerPcm = 1;
constexpr quint16 kFloatPcm = 3;
constexpr quint16 kExtensible = 0xFFFE;

quint16 le16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 le32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

std::optional<QAudioFormat::SampleFormat> sampleFormat(quint16 encoding, quint16 bits) {
    if (encoding == kFloatPcm)
        return bits == 32 ? std::optional(QAudioFormat::Float) : std::nullopt;
    if (encoding != kIntegerPcm) return std::nullopt;
    switch (bits) {
        case 8:
            return QAudioFormat::UInt8;
        case 16:
            return QAudioFormat::Int16;
        case 32:
            return QAudioFormat::Int32;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<WavSound> readWav(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<QAudioFormat> format;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = le32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (size > bytes.size() - body) return std::nullopt;  // cut short
        if (id == "fmt " && size >= 16) {
            quint16 encoding = le16(bytes, body);
            const quint16 bits = le16(bytes, body + 14);
            // The extensible form names its encoding in the first two bytes of its GUID.
            if (encoding == kExtensible && size >= 26) encoding = le16(bytes, body + 24);
            const auto sample = sampleFormat(encoding, bits);
            const int channels = le16(bytes, body + 2);
            const int rate = static_cast<int>(le32(bytes, body + 4));
            if (!sample || channels < 1 || rate < 1) return std::nullopt;
            format.emplace();
            format->setSampleFormat(*sample);
            format->setChannelCount(channels);
            format->setSampleRate(rate);
        } else if (id == "data") {
            if (!format) return std::nullopt;
            const qsizetype frame = format->bytesPerFrame();
            return WavSound{*format, bytes.mid(body, size - size % frame)};
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::prepare(const QString& wavPath) {
    if (wavPath == path_) return;
    path_ = wavPath;
    sound_ = readWav(wavPath);
}

void QtSoundPlayer::playAsync(const QString& wavPath) {
    prepare(wavPath);
    sink_.reset();  // a new sound cuts off the one still playing
    if (!sound_ || sound_->samples.isEmpty()) return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;  // no audio server: silent
    sink_ = std::make_unique<QAudioSink>(device, sound_->format);
    sink_->setBufferSize(sound_->samples.size());
    QIODevice* stream = sink_->start();
    if (stream == nullptr) return;
    stream->write(sound_->samples);
}

}  // namespace qb::platform
