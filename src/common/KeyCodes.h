#pragma once

namespace qb {

// Keys by the numbers the program has always used: the virtual-key code of a key going down,
// and the Shift, Ctrl and Alt bits of the keys held with it. Every front end translates its
// toolkit's keys into these before a window's behaviour sees them.
inline constexpr int kVirtualKeyReturn = 13;
inline constexpr int kVirtualKeyEscape = 27;
inline constexpr int kVirtualKeyUp = 38;
// The character code of a keystroke that types a carriage return.
inline constexpr int kCharacterCarriageReturn = 13;

inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

}  // namespace qb
