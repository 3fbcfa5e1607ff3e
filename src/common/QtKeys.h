#pragma once

class QKeyEvent;

namespace qb {

// A Qt key press as the behaviours take it (common/KeyCodes.h): its virtual-key code, 0 for a
// key no behaviour answers, and the Shift, Ctrl and Alt bits held with it.
int virtualKeyCode(const QKeyEvent& event);
int shiftState(const QKeyEvent& event);

}  // namespace qb
