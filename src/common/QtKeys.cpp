#include "common/QtKeys.h"

#include <QKeyEvent>

#include "common/KeyCodes.h"

namespace qb {

int virtualKeyCode(const QKeyEvent& event) {
    switch (event.key()) {
        // The main keyboard's Return and the keypad's Enter are one key to the system.
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kVirtualKeyReturn;
        case Qt::Key_Escape:
            return kVirtualKeyEscape;
        case Qt::Key_Up:
            return kVirtualKeyUp;
        default:
            return 0;
    }
}

int shiftState(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers();
    int state = 0;
    if (held & Qt::ShiftModifier) state |= kShiftMask;
    if (held & Qt::ControlModifier) state |= kCtrlMask;
    if (held & Qt::AltModifier) state |= kAltMask;
    return state;
}

}  // namespace qb
