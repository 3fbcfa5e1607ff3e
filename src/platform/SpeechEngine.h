#pragma once

#include <string>

namespace qb::platform {

// The speech control the main window drives: stop what is being said, say a text. Both
// return at once; the speaking happens behind them. A failure answers false and is silent
// otherwise: the program reports nothing about speech.
class SpeechEngine {
  public:
    virtual ~SpeechEngine() = default;
    virtual bool stop() = 0;
    virtual bool say(const std::u16string& text) = 0;
    // False once it is known that the system has no voice to speak with.
    virtual bool hasVoice() = 0;
};

}  // namespace qb::platform
