#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qb::platform {

// Which engine and voices the speech engine uses, decided from what the text-to-speech
// engines list and nothing else, so that the decision can be checked without a sound system.

// A voice as an engine lists it.
struct VoiceName {
    QString name;
    QLocale locale;
    bool operator==(const VoiceName&) const = default;
};

// An engine as Qt's text-to-speech shows it: its locales in its own order, and the voices it
// lists under one of them. Asking for a locale's voices costs a round trip to the engine, so
// they are asked for only while the search needs them.
struct EngineVoices {
    QList<QLocale> locales;
    std::function<QList<VoiceName>(const QLocale&)> voicesOf;
};

struct VoiceChoice {
    QString engine;
    VoiceName english;
    std::optional<VoiceName> mandarin;
};

// Opens the engine of that name and tells what it offers; nothing when it cannot be opened.
using OpenEngine = std::function<std::optional<EngineVoices>(const QString& engine)>;

// speech-dispatcher when it has an English voice, else flite; nothing without either. Engines
// are opened one at a time in that order and the search stops at the first with an English
// voice, so the engine chosen is the last one opened.
std::optional<VoiceChoice> chooseVoices(const QStringList& availableEngines,
                                        const OpenEngine& open);

// The voice that reads `text`: Mandarin for text with Chinese characters, when there is one.
const VoiceName& voiceFor(const VoiceChoice& choice, const QString& text);

}  // namespace qb::platform
