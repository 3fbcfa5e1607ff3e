#pragma once

#include <QThread>
#include <atomic>
#include <memory>

#include "SpeechEngine.h"

namespace qb::platform {

class SpeechWorker;

// Speaks through Qt's text-to-speech: speech-dispatcher when it answers with a voice (its
// espeak-ng module also has Mandarin), else flite. Opening speech-dispatcher and listing its
// voices takes seconds, so all of it lives on a thread of its own, started with the program;
// the calls here only queue work for that thread and return at once.
class QtSpeechEngine final : public SpeechEngine {
public:
    QtSpeechEngine();
    ~QtSpeechEngine() override;
    QtSpeechEngine(const QtSpeechEngine&) = delete;
    QtSpeechEngine& operator=(const QtSpeechEngine&) = delete;

    bool stop() override;
    bool say(const QString& text) override;
    bool hasVoice() override;

    enum class Voice { Searching, Found, None };

private:
    QThread thread_;
    std::shared_ptr<std::atomic<Voice>> voice_;
    SpeechWorker* worker_;  // lives on thread_, deleted there when it finishes
};

}  // namespace qb::platform
