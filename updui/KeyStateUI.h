#pragma once
#include <windows.h>

namespace UpdUI {

// Key-state bits of TEventRecUI::keyState. The button bits are the reverse of MK_LBUTTON/MK_RBUTTON.
enum {
    UIKEYSTATE_RBUTTON = 0x01,
    UIKEYSTATE_LBUTTON = 0x02,
    UIKEYSTATE_SHIFT = 0x04,
    UIKEYSTATE_CONTROL = 0x08,
    UIKEYSTATE_ALT = 0x20,
};

// The mouse-button and modifier-key state of the calling thread, as UIKEYSTATE_ bits.
WORD GetMouseKeyFlags();

} // namespace UpdUI
