#include "QtSpeechEngine.h"

#include <QTextToSpeech>
#include <QVoice>
#include <functional>
#include <optional>

namespace qb::platform {

namespace {

// The first voice of the engine, over the locales in the order given, that `wanted` accepts.
// Variants ("English (America)+Alex") come after the plain voices they vary.
std::optional<QVoice> findVoice(QTextToSpeech& engine, const QList<QLocale>& locales,
                                const std::function<bool(const QVoice&)>& wanted) {
    for (const QLocale& locale : locales) {
        engine.setLocale(locale);
        const QList<QVoice> voices = engine.availableVoices();
        for (bool variants : {false, true})
            for (const QVoice& voice : voices)
                if (voice.name().contains(QLatin1Char('+')) == variants && wanted(voice))
                    return voice;
    }
    return std::nullopt;
}

QList<QLocale> localesOf(QTextToSpeech& engine, const std::function<bool(const QLocale&)>& keep,
                         const QList<QLocale>& preferred) {
    QList<QLocale> all = engine.availableLocales();
    QList<QLocale> ordered;
    for (const QLocale& p : preferred)
        if (all.contains(p)) ordered << p;
    for (const QLocale& l : all)
        if (keep(l) && !ordered.contains(l)) ordered << l;
    return ordered;
}

bool hasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.script() == QChar::Script_Han) return true;
    return false;
}

}  // namespace

class SpeechWorker final : public QObject {
public:
    explicit SpeechWorker(std::shared_ptr<std::atomic<QtSpeechEngine::Voice>> found)
        : found_(std::move(found)) {}

    void open() {
        const QStringList engines = QTextToSpeech::availableEngines();
        for (const QString& name : {QStringLiteral("speechd"), QStringLiteral("flite")}) {
            if (!engines.contains(name)) continue;
            auto engine = std::make_unique<QTextToSpeech>(name);
            if (engine->state() == QTextToSpeech::Error) continue;
            const auto english = findVoice(
                *engine,
                localesOf(
                    *engine, [](const QLocale& l) { return l.language() == QLocale::English; },
                    {QLocale(QLocale::English, QLocale::UnitedKingdom),
                     QLocale(QLocale::English, QLocale::UnitedStates)}),
                [](const QVoice& v) { return v.locale().language() == QLocale::English; });
            if (!english) continue;
            // espeak-ng files Mandarin under no locale Qt knows, so it is found by its name.
            mandarin_ = findVoice(
                *engine,
                localesOf(
                    *engine,
                    [](const QLocale& l) {
                        return l.language() == QLocale::Chinese || l.language() == QLocale::C;
                    },
                    {}),
                [](const QVoice& v) {
                    return v.name().contains(QStringLiteral("Mandarin")) ||
                           (v.locale().language() == QLocale::Chinese &&
                            v.locale().territory() != QLocale::HongKong);
                });
            english_ = *english;
            engine_ = std::move(engine);
            use(english_);
            found_->store(QtSpeechEngine::Voice::Found);
            return;
        }
        found_->store(QtSpeechEngine::Voice::None);
    }

    void stop() {
        if (engine_) engine_->stop();
    }

    void say(const QString& text) {
        if (!engine_) return;
        use(mandarin_ && hasChinese(text) ? *mandarin_ : english_);
        engine_->say(text);
    }

private:
    void use(const QVoice& voice) {
        if (engine_->voice() == voice) return;
        engine_->setLocale(voice.locale());
        engine_->setVoice(voice);
    }

    std::shared_ptr<std::atomic<QtSpeechEngine::Voice>> found_;
    std::unique_ptr<QTextToSpeech> engine_;
    QVoice english_;
    std::optional<QVoice> mandarin_;
};

QtSpeechEngine::QtSpeechEngine()
    : voice_(std::make_shared<std::atomic<Voice>>(Voice::Searching)),
      worker_(new SpeechWorker(voice_)) {
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("speech"));
}

void QtSpeechEngine::open() {
    if (thread_.isRunning()) return;
    thread_.start(QThread::LowPriority);
    QMetaObject::invokeMethod(worker_, [w = worker_] { w->open(); }, Qt::QueuedConnection);
}

QtSpeechEngine::~QtSpeechEngine() {
    if (!thread_.isRunning()) {
        delete worker_;
        return;
    }
    thread_.quit();
    thread_.wait();
}

bool QtSpeechEngine::stop() {
    if (!hasVoice()) return false;
    QMetaObject::invokeMethod(worker_, [w = worker_] { w->stop(); }, Qt::QueuedConnection);
    return true;
}

bool QtSpeechEngine::say(const QString& text) {
    if (!hasVoice()) return false;
    QMetaObject::invokeMethod(worker_, [w = worker_, text] { w->say(text); }, Qt::QueuedConnection);
    return true;
}

bool QtSpeechEngine::hasVoice() {
    open();
    return voice_->load() != Voice::None;
}

}  // namespace qb::platform
