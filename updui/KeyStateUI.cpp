#include "KeyStateUI.h"

namespace UpdUI {

namespace {

bool IsDown(const BYTE* pKeys, int nVirtKey)
{
    return (pKeys[nVirtKey] & 0x80) != 0;
}

} // namespace

// One read of the whole keyboard state: under Wine each key asked for on its own is a
// round trip to the server, and a mouse move asked for five keys for each of its events.
WORD GetMouseKeyFlags()
{
    BYTE keys[256] = {};
    if (!GetKeyboardState(keys)) return 0;
    WORD wState = 0;
    if (IsDown(keys, VK_RBUTTON)) wState |= UIKEYSTATE_RBUTTON;
    if (IsDown(keys, VK_LBUTTON)) wState |= UIKEYSTATE_LBUTTON;
    if (IsDown(keys, VK_SHIFT)) wState |= UIKEYSTATE_SHIFT;
    if (IsDown(keys, VK_CONTROL)) wState |= UIKEYSTATE_CONTROL;
    if (IsDown(keys, VK_MENU)) wState |= UIKEYSTATE_ALT;
    return wState;
}

} // namespace UpdUI
