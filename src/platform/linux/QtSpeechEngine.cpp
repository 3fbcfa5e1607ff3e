#include "platform/linux/QtSpeechEngine.h"

#include <unistd.h>

#include <QTextToSpeech>
#include <QThread>
#include <QVoice>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/linux/QtSpeechVoices.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

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

namespace {

// Searches left running when their engines went; kept here so that nothing of them reads as
// leaked.
struct AbandonedSearch {
    std::unique_ptr<QThread> thread;
    SpeechWorker* worker;
    AbandonedSearch* next;
};
AbandonedSearch* abandoned = nullptr;

// Ends the process as it begins to exit: registered when the search is left, it comes before
// the exit handlers of what was already there. The search cannot be interrupted inside
// speech-dispatcher's library, and static destruction would take Qt and the libraries away
// from under it; the system reclaims the rest.
void endBeforeStaticDestruction(int status, void*) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();  // its own check would come after the end
#endif
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(status);
}

}  // namespace

QtSpeechEngine::QtSpeechEngine()
    : thread_(std::make_unique<QThread>()),
      voice_(std::make_shared<std::atomic<Voice>>(Voice::Searching)),
      worker_(new SpeechWorker(voice_)) {
    worker_->moveToThread(thread_.get());
    QObject::connect(thread_.get(), &QThread::finished, worker_, &QObject::deleteLater);
    thread_->setObjectName(QStringLiteral("speech"));
}

void QtSpeechEngine::open() {
    if (thread_->isRunning()) return;
    thread_->start(QThread::LowPriority);
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->open(); }, Qt::QueuedConnection);
}

QtSpeechEngine::~QtSpeechEngine() {
    if (!thread_->isRunning()) {
        delete worker_;
        return;
    }
    // The search waits on speech-dispatcher, for seconds or for ever when it does not answer:
    // the end of the program does not wait with it.
    if (voice_->load() == Voice::Searching) {
        if (abandoned == nullptr) on_exit(endBeforeStaticDestruction, nullptr);
        abandoned = new AbandonedSearch{std::move(thread_), worker_, abandoned};
        return;
    }
    thread_->quit();
    thread_->wait();
}

bool QtSpeechEngine::stop() {
    if (!hasVoice()) return false;
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->stop(); }, Qt::QueuedConnection);
    return true;
}

bool QtSpeechEngine::say(const std::u16string& text) {
    if (!hasVoice()) return false;
    QMetaObject::invokeMethod(
        worker_, [w = worker_, text = QString::fromStdU16String(text)] { w->say(text); },
        Qt::QueuedConnection);
    return true;
}

bool QtSpeechEngine::hasVoice() {
    open();
    return voice_->load() != Voice::None;
}

}  // namespace qb::platform
