#pragma once

#include <windows.h>

#include "platform/SpeechEngine.h"

struct ISpVoice;

namespace qb::platform {

// Speech through the system's speech interface. The voice object is made at the first call,
// on the thread that makes it (the window's), and lives as long as this engine. Where the
// system cannot speak (no speech interface, no voice, or a voice that refuses to speak)
// every call answers false and nothing is shown.
class SapiSpeechEngine final : public SpeechEngine {
  public:
    SapiSpeechEngine() = default;
    SapiSpeechEngine(const SapiSpeechEngine&) = delete;
    SapiSpeechEngine& operator=(const SapiSpeechEngine&) = delete;
    ~SapiSpeechEngine() override;

    bool stop() override;
    bool say(const std::u16string& text) override;
    bool hasVoice() override;

  private:
    // The voice, made on first use; null when the system has none to give.
    ISpVoice* voice();
    // Speaks with the flags given; a refusal means the voice cannot speak at all.
    bool speak(const wchar_t* text, DWORD flags);

    bool tried_ = false;
    bool comStarted_ = false;
    bool silent_ = false;
    ISpVoice* voice_ = nullptr;
};

}  // namespace qb::platform
