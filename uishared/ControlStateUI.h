#pragma once
#include <windows.h>

namespace UIShared {

// State bits of the controls that keep a state word (buttons, options, the edit, the
// slider, the scroll bar's parts and list header items); both libraries number them alike.
constexpr UINT UISTATE_FOCUSED = 0x01;
constexpr UINT UISTATE_SELECTED = 0x02;
constexpr UINT UISTATE_DISABLED = 0x04;
constexpr UINT UISTATE_HOT = 0x08;
constexpr UINT UISTATE_PUSHED = 0x10;
constexpr UINT UISTATE_CAPTURED = 0x40;

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

} // namespace UIShared
