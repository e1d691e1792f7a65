#include "KeyStateUI.h"

namespace UpdUI {

namespace {

bool IsDown(int nVirtKey)
{
    return GetKeyState(nVirtKey) < 0;
}

} // namespace

WORD GetMouseKeyFlags()
{
    WORD wState = 0;
    if (IsDown(VK_RBUTTON)) wState |= UIKEYSTATE_RBUTTON;
    if (IsDown(VK_LBUTTON)) wState |= UIKEYSTATE_LBUTTON;
    if (IsDown(VK_SHIFT)) wState |= UIKEYSTATE_SHIFT;
    if (IsDown(VK_CONTROL)) wState |= UIKEYSTATE_CONTROL;
    if (IsDown(VK_MENU)) wState |= UIKEYSTATE_ALT;
    return wState;
}

} // namespace UpdUI
