#pragma once

#include <atomic>
#include <memory>

#include "platform/SpeechEngine.h"

class QThread;

namespace qb::platform {

class SpeechWorker;

// Speaks through Qt's text-to-speech: speech-dispatcher when it answers with a voice (its
// espeak-ng module also has Mandarin), else flite. Opening speech-dispatcher and listing its
// voices takes seconds, so all of it lives on a thread of its own; the calls here only queue
// work for that thread and return at once. The thread starts on the first call, so a run
// that never speaks neither spawns speech-dispatcher nor waits for it when it ends.
class QtSpeechEngine final : public SpeechEngine {
  public:
    QtSpeechEngine();
    ~QtSpeechEngine() override;
    QtSpeechEngine(const QtSpeechEngine&) = delete;
    QtSpeechEngine& operator=(const QtSpeechEngine&) = delete;

    bool stop() override;
    bool say(const std::u16string& text) override;
    bool hasVoice() override;

    enum class Voice { Searching, Found, None };

  private:
    // Starts the thread and the search for a voice, once.
    void open();

    std::unique_ptr<QThread> thread_;
    std::shared_ptr<std::atomic<Voice>> voice_;
    SpeechWorker* worker_;  // lives on thread_, deleted there when it finishes
};

}  // namespace qb::platform
