#pragma once

#include <string_view>

namespace qb {

// Asked before the program ends, from the main window and from the tray menu alike.
inline constexpr std::u16string_view kQuitQuestionText = u"是否不用字典?";

// What the windows' behaviours do through the program as a whole, whatever toolkit draws the
// windows.
class ProgramCalls {
  public:
    virtual ~ProgramCalls() = default;
    // Plays "flip.wav" from the program folder without waiting; silent when it is missing.
    virtual void PlayClickSound() = 0;
    // Puts the main window into the band of windows that stay above all others, or takes it
    // out, whichever window asks.
    virtual void SetTopmost(bool on) = 0;
    // Asks the quit question, plays the click sound whatever the answer, and tells whether
    // the answer was Yes.
    virtual bool confirmQuit() = 0;
};

}  // namespace qb
