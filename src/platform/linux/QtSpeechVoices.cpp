#include "platform/linux/QtSpeechVoices.h"

namespace qb::platform {

namespace {

// The first voice of the engine, over the locales in the order given, that `wanted` accepts.
// Variants ("English (America)+Alex") come after the plain voices they vary.
std::optional<VoiceName> findVoice(const EngineVoices& engine, const QList<QLocale>& locales,
                                   const std::function<bool(const VoiceName&)>& wanted) {
    for (const QLocale& locale : locales) {
        const QList<VoiceName> voices = engine.voicesOf(locale);
        for (bool variants : {false, true})
            for (const VoiceName& voice : voices)
                if (voice.name.contains(QLatin1Char('+')) == variants && wanted(voice))
                    return voice;
    }
    return std::nullopt;
}

// The engine's locales that `keep` accepts, the preferred ones that it has first.
QList<QLocale> localesOf(const EngineVoices& engine,
                         const std::function<bool(const QLocale&)>& keep,
                         const QList<QLocale>& preferred) {
    QList<QLocale> ordered;
    for (const QLocale& p : preferred)
        if (engine.locales.contains(p)) ordered << p;
    for (const QLocale& l : engine.locales)
        if (keep(l) && !ordered.contains(l)) ordered << l;
    return ordered;
}

std::optional<VoiceName> englishVoice(const EngineVoices& engine) {
    return findVoice(
        engine,
        localesOf(engine, [](const QLocale& l) { return l.language() == QLocale::English; },
                  {QLocale(QLocale::English, QLocale::UnitedKingdom),
                   QLocale(QLocale::English, QLocale::UnitedStates)}),
        [](const VoiceName& v) { return v.locale.language() == QLocale::English; });
}

// espeak-ng files Mandarin under no locale Qt knows, so it is found by its name. Cantonese is
// the Chinese of Hong Kong: it cannot read Mandarin text.
std::optional<VoiceName> mandarinVoice(const EngineVoices& engine) {
    return findVoice(engine,
                     localesOf(engine,
                               [](const QLocale& l) {
                                   return l.language() == QLocale::Chinese ||
                                          l.language() == QLocale::C;
                               },
                               {}),
                     [](const VoiceName& v) {
                         return v.name.contains(QStringLiteral("Mandarin")) ||
                                (v.locale.language() == QLocale::Chinese &&
                                 v.locale.territory() != QLocale::HongKong);
                     });
}

bool hasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.script() == QChar::Script_Han) return true;
    return false;
}

}  // namespace

std::optional<VoiceChoice> chooseVoices(const QStringList& availableEngines,
                                        const OpenEngine& open) {
    for (const QString& name : {QStringLiteral("speechd"), QStringLiteral("flite")}) {
        if (!availableEngines.contains(name)) continue;
        const std::optional<EngineVoices> engine = open(name);
        if (!engine) continue;
        const std::optional<VoiceName> english = englishVoice(*engine);
        if (!english) continue;
        return VoiceChoice{name, *english, mandarinVoice(*engine)};
    }
    return std::nullopt;
}

const VoiceName& voiceFor(const VoiceChoice& choice, const QString& text) {
    return choice.mandarin && hasChinese(text) ? *choice.mandarin : choice.english;
}

}  // namespace qb::platform
