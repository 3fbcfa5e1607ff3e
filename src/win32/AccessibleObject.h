#pragma once

#include <windows.h>

#include <string>

#include "common/AccessibleNames.h"

namespace qb::win32 {

// What a screen reader is told about a control beyond what the system's own object for its
// window knows. Plain data, copied into each object handed out: a screen reader may keep an
// object after the control that made it is gone.
struct AccessibleFacts {
    std::wstring name = {};
    std::wstring description = {};
    long role = 0;                    // ROLE_SYSTEM_...
    long addedState = 0;              // STATE_SYSTEM_..., on top of the system's answer
    std::wstring defaultAction = {};  // empty: none
    // The value is the window's text (WM_GETTEXT), however long.
    bool valueIsText = false;
    // The default action tells the parent the control was clicked (BN_CLICKED, a label's
    // STN_CLICKED too), as the control would: nothing is simulated with the mouse, so it works
    // whether or not the window is active.
    bool actionClicks = false;
};

// The answer to WM_GETOBJECT: for the client area (OBJID_CLIENT) an MSAA object that says the
// facts and leaves the rest (place, state, parent, navigation) to the system's standard object
// for the window; for any other request 0, so the system answers. UI Automation reads such a
// control through its MSAA proxy, which is what Narrator and NVDA use for it.
LRESULT answerObjectRequest(HWND window, WPARAM wParam, LPARAM lParam,
                            const AccessibleFacts& facts);

// From now on, for as long as the control lives, its WM_GETOBJECT is answered with the facts.
void tellReaders(HWND control, AccessibleFacts facts);

// A push button named and described as `text` says, pressed by its default action.
AccessibleFacts pushButton(const AccessibleText& text);

}  // namespace qb::win32
