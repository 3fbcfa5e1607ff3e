#include <QMap>
#include <QtTest>

#include "platform/linux/QtSpeechVoices.h"

using namespace qb::platform;

namespace {

// What one engine lists: its locales in its order, each with the voices listed under it.
using Listing = QList<std::pair<QLocale, QList<VoiceName>>>;

const QLocale kNoLocale = QLocale::c();  // where espeak-ng files the languages Qt does not know
const QLocale kBritish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kAmerican(QLocale::English, QLocale::UnitedStates);
const QLocale kAustralian(QLocale::English, QLocale::Australia);
const QLocale kMainland(QLocale::Chinese, QLocale::China);
const QLocale kHongKong(QLocale::Chinese, QLocale::HongKong);
const QLocale kTaiwan(QLocale::Chinese, QLocale::Taiwan);

VoiceName voice(const char* name, const QLocale& locale) {
    return {QString::fromUtf8(name), locale};
}

// speech-dispatcher's espeak-ng module as Debian 12 lists it, cut short.
const Listing kEspeakNg{
    {kNoLocale,
     {voice("Bishnupriya Manipuri", kNoLocale), voice("Bishnupriya Manipuri+Adam", kNoLocale),
      voice("Hakka Chinese", kNoLocale), voice("Chinese (Mandarin, latin as English)", kNoLocale),
      voice("Chinese (Mandarin, latin as Pinyin)", kNoLocale)}},
    {kBritish,
     {voice("English (Great Britain)", kBritish), voice("English (Great Britain)+Adam", kBritish),
      voice("English (Scotland)", kBritish)}},
    {kAmerican, {voice("English (Caribbean)", kAmerican), voice("English (America)", kAmerican)}},
};
const Listing kFlite{{kAmerican, {voice("slt", kAmerican), voice("kal", kAmerican)}}};

EngineVoices engineOf(const Listing& listing) {
    EngineVoices engine;
    for (const auto& [locale, voices] : listing) engine.locales << locale;
    engine.voicesOf = [listing](const QLocale& locale) {
        for (const auto& [l, voices] : listing)
            if (l == locale) return voices;
        return QList<VoiceName>{};
    };
    return engine;
}

QString describe(const std::optional<VoiceName>& v) {
    return v ? v->name : QStringLiteral("-");
}

}  // namespace

class QtSpeechVoicesTest : public QObject {
    Q_OBJECT

  private slots:
    void choosesTheEngineAndItsVoices() {
        // An engine mapped to nothing cannot be opened.
        using Engines = QMap<QString, std::optional<Listing>>;
        struct Case {
            const char* name;
            QStringList available;
            Engines engines;
            const char* chosen;  // "engine / English voice / Mandarin voice", "-" for none
            QStringList opened;
        };
        const QStringList both{"speechd", "flite"};
        const QList<Case> cases{
            {"espeak-ng through speech-dispatcher",
             both,
             {{"speechd", kEspeakNg}, {"flite", kFlite}},
             "speechd / English (Great Britain) / Chinese (Mandarin, latin as English)",
             {"speechd"}},
            {"British English before American, whichever is listed first",
             both,
             {{"speechd", Listing{{kAmerican, {voice("English (America)", kAmerican)}},
                                  {kBritish, {voice("English (Great Britain)", kBritish)}}}}},
             "speechd / English (Great Britain) / -",
             {"speechd"}},
            {"American before the other Englishes",
             both,
             {{"speechd", Listing{{kAustralian, {voice("English (Australia)", kAustralian)}},
                                  {kAmerican, {voice("English (America)", kAmerican)}}}}},
             "speechd / English (America) / -",
             {"speechd"}},
            {"any English when neither is there",
             both,
             {{"speechd", Listing{{kNoLocale, {voice("Klingon", kNoLocale)}},
                                  {kAustralian, {voice("English (Australia)", kAustralian)}}}}},
             "speechd / English (Australia) / -",
             {"speechd"}},
            {"a plain voice before the variants listed ahead of it",
             both,
             {{"speechd", Listing{{kBritish,
                                   {voice("English (Great Britain)+Alex", kBritish),
                                    voice("English (Great Britain)", kBritish)}}}}},
             "speechd / English (Great Britain) / -",
             {"speechd"}},
            {"a variant when there is no plain voice",
             both,
             {{"speechd", Listing{{kBritish,
                                   {voice("English (Great Britain)+Alex", kBritish),
                                    voice("English (Great Britain)+Adam", kBritish)}}}}},
             "speechd / English (Great Britain)+Alex / -",
             {"speechd"}},
            {"a British variant before an American plain voice",
             both,
             {{"speechd", Listing{{kAmerican, {voice("English (America)", kAmerican)}},
                                  {kBritish, {voice("English (Great Britain)+Alex", kBritish)}}}}},
             "speechd / English (Great Britain)+Alex / -",
             {"speechd"}},
            {"a voice filed under English that speaks another language is not English",
             both,
             {{"speechd", Listing{{kBritish, {voice("Welsh", QLocale(QLocale::Welsh))}}}},
              {"flite", kFlite}},
             "flite / slt / -",
             {"speechd", "flite"}},
            {"Mainland Chinese is Mandarin",
             both,
             {{"speechd", Listing{{kBritish, {voice("English (Great Britain)", kBritish)}},
                                  {kMainland, {voice("Chinese", kMainland)}}}}},
             "speechd / English (Great Britain) / Chinese",
             {"speechd"}},
            {"Hong Kong Chinese is not Mandarin",
             both,
             {{"speechd", Listing{{kBritish, {voice("English (Great Britain)", kBritish)}},
                                  {kHongKong, {voice("Chinese (Cantonese)", kHongKong)}}}}},
             "speechd / English (Great Britain) / -",
             {"speechd"}},
            {"past Hong Kong's Chinese to the Mainland's",
             both,
             {{"speechd", Listing{{kBritish, {voice("English (Great Britain)", kBritish)}},
                                  {kHongKong, {voice("Chinese (Cantonese)", kHongKong)}},
                                  {kMainland, {voice("Chinese (Mainland)", kMainland)}}}}},
             "speechd / English (Great Britain) / Chinese (Mainland)",
             {"speechd"}},
            {"Taiwan's Chinese is Mandarin",
             both,
             {{"speechd", Listing{{kBritish, {voice("English (Great Britain)", kBritish)}},
                                  {kTaiwan, {voice("Chinese (Taiwan)", kTaiwan)}}}}},
             "speechd / English (Great Britain) / Chinese (Taiwan)",
             {"speechd"}},
            {"a Mandarin voice's plain form before its variants",
             both,
             {{"speechd", Listing{{kNoLocale,
                                   {voice("Chinese (Mandarin)+Alex", kNoLocale),
                                    voice("Chinese (Mandarin)", kNoLocale)}},
                                  {kBritish, {voice("English (Great Britain)", kBritish)}}}}},
             "speechd / English (Great Britain) / Chinese (Mandarin)",
             {"speechd"}},
            {"speech-dispatcher without English falls back to flite",
             both,
             {{"speechd", Listing{{kNoLocale, {voice("Chinese (Mandarin)", kNoLocale)}}}},
              {"flite", kFlite}},
             "flite / slt / -",
             {"speechd", "flite"}},
            {"speech-dispatcher that cannot be opened falls back to flite",
             both,
             {{"speechd", std::nullopt}, {"flite", kFlite}},
             "flite / slt / -",
             {"speechd", "flite"}},
            {"flite alone",
             {"flite"},
             {{"speechd", kEspeakNg}, {"flite", kFlite}},
             "flite / slt / -",
             {"flite"}},
            {"only engines of other kinds", {"mock"}, {{"mock", kFlite}}, "no voice", {}},
            {"no engine", {}, {}, "no voice", {}},
            {"engines with no voice at all",
             both,
             {{"speechd", Listing{}}, {"flite", Listing{{kAmerican, {}}}}},
             "no voice",
             {"speechd", "flite"}},
            {"neither engine opens",
             both,
             {{"speechd", std::nullopt}, {"flite", std::nullopt}},
             "no voice",
             {"speechd", "flite"}},
        };
        for (const Case& c : cases) {
            QStringList opened;
            const auto choice = chooseVoices(c.available, [&](const QString& name) {
                opened << name;
                const std::optional<Listing> listing = c.engines.value(name);
                return listing ? std::optional(engineOf(*listing)) : std::nullopt;
            });
            const QString got = choice ? QStringList{choice->engine, choice->english.name,
                                                     describe(choice->mandarin)}
                                             .join(" / ")
                                       : QStringLiteral("no voice");
            QVERIFY2(got == QString::fromUtf8(c.chosen),
                     qPrintable(QString("%1: %2").arg(c.name, got)));
            // The engine that speaks is the one opened last: the search must stop at it.
            QVERIFY2(opened == c.opened,
                     qPrintable(QString("%1: opened %2").arg(c.name, opened.join(", "))));
        }
    }

    void chineseTextIsReadByTheMandarinVoice() {
        const VoiceName english = voice("English (Great Britain)", kBritish);
        const VoiceName mandarin = voice("Chinese (Mandarin, latin as English)", kNoLocale);
        const VoiceChoice withMandarin{"speechd", english, mandarin};
        const VoiceChoice englishOnly{"flite", english, std::nullopt};
        struct Case {
            const char* text;
            const VoiceChoice& choice;
            const VoiceName& reader;
        };
        const QList<Case> cases{
            {"dictionary", withMandarin, english},
            {"字典", withMandarin, mandarin},
            {"dictionary 字典", withMandarin, mandarin},
            {"", withMandarin, english},
            {"café, naïve", withMandarin, english},
            {"，。「」", withMandarin, english},  // Chinese punctuation, no character to read
            {"りんご", withMandarin, english},
            {"字典", englishOnly, english},
        };
        for (const Case& c : cases)
            QVERIFY2(
                voiceFor(c.choice, QString::fromUtf8(c.text)) == c.reader,
                qPrintable(QString("%1 with %2").arg(QString::fromUtf8(c.text), c.choice.engine)));
    }
};

QTEST_GUILESS_MAIN(QtSpeechVoicesTest)
#include "QtSpeechVoicesTest.moc"
