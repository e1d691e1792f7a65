#pragma once
#include <windows.h>

#include "LabelUI.h"

namespace UpdUI {

// A label over which a native window does the input while it has the focus (the edit
// and the date field): the events both handle alike.
class CTextFieldUI : public CLabelUI
{
protected:
    // Handles a mouse event the field does not take, the cursor, a resize of the
    // window, the wheel while the native window is open, losing the focus and the
    // mouse events the field ignores; an event among those the field does not handle
    // goes to the label. False when the event is none of them.
    bool DoFieldEvent(TEventRecUI& event, bool bWindowOpen);
};

} // namespace UpdUI
