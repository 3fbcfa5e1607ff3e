#include "QtSpeechEngine.h"

#include <QTextToSpeech>
#include <QThread>
#include <QVoice>
#include <utility>

#include "QtSpeechVoices.h"

namespace qb::platform {

class SpeechWorker final : public QObject {
public:
    explicit SpeechWorker(std::shared_ptr<std::atomic<QtSpeechEngine::Voice>> found)
        : found_(std::move(found)) {}

    void open() {
        choice_ = chooseVoices(QTextToSpeech::availableEngines(),
                               [this](const QString& name) { return openEngine(name); });
        if (!choice_) {
            engine_.reset();
            found_->store(QtSpeechEngine::Voice::None);
            return;
        }
        use(choice_->english);
        found_->store(QtSpeechEngine::Voice::Found);
    }

    void stop() {
        if (engine_) engine_->stop();
    }

    void say(const QString& text) {
        if (!choice_) return;
        use(voiceFor(*choice_, text));
        engine_->say(text);
    }

private:
    // The engine chosen is the last one opened: it is kept, with the voices it listed.
    std::optional<EngineVoices> openEngine(const QString& name) {
        engine_.reset();
        listed_.clear();
        engine_ = std::make_unique<QTextToSpeech>(name);
        if (engine_->state() == QTextToSpeech::Error) return std::nullopt;
        QTextToSpeech* engine = engine_.get();
        return EngineVoices{engine->availableLocales(), [this, engine](const QLocale& locale) {
                                engine->setLocale(locale);
                                QList<VoiceName> names;
                                for (const QVoice& voice : engine->availableVoices()) {
                                    listed_ << voice;
                                    names << VoiceName{voice.name(), voice.locale()};
                                }
                                return names;
                            }};
    }

    void use(const VoiceName& name) {
        for (const QVoice& voice : std::as_const(listed_)) {
            if (voice.name() != name.name || voice.locale() != name.locale) continue;
            if (engine_->voice() == voice) return;
            engine_->setLocale(voice.locale());
            engine_->setVoice(voice);
            return;
        }
    }

    std::shared_ptr<std::atomic<QtSpeechEngine::Voice>> found_;
    std::unique_ptr<QTextToSpeech> engine_;
    QList<QVoice> listed_;
    std::optional<VoiceChoice> choice_;
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
