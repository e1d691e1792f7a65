#pragma once
#include <windows.h>

#include "WindowManagerUI.h"

namespace UpdUI {

// State bits shared by the controls that keep a state word (buttons, options, the
// slider and the scroll bar parts).
enum : UINT {
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,
};

// Sets uBits in uState when bSet, clears them otherwise.
inline void SetStateBits(UINT& uState, UINT uBits, bool bSet)
{
    if (bSet)
        uState |= uBits;
    else
        uState &= ~uBits;
}

// Before a paint the focused and disabled bits follow the control.
inline void SyncFocusAndDisabled(UINT& uState, bool bFocused, bool bEnabled)
{
    SetStateBits(uState, UISTATE_FOCUSED, bFocused);
    SetStateBits(uState, UISTATE_DISABLED, !bEnabled);
}

// Mouse events lie strictly between EventMouseBegin and EventMouseEnd.
inline bool IsMouseEvent(int type)
{
    return type > EventMouseBegin && type < EventMouseEnd;
}

} // namespace UpdUI
