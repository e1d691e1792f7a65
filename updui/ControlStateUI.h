#pragma once
#include "uishared/ControlStateUI.h"

#include "WindowManagerUI.h"

namespace UpdUI {

using UIShared::SetStateBits;
using UIShared::SyncFocusAndDisabled;
using UIShared::UISTATE_CAPTURED;
using UIShared::UISTATE_DISABLED;
using UIShared::UISTATE_FOCUSED;
using UIShared::UISTATE_HOT;
using UIShared::UISTATE_PUSHED;
using UIShared::UISTATE_SELECTED;

// Mouse events lie strictly between EventMouseBegin and EventMouseEnd; the numbering
// is this library's own.
inline bool IsMouseEvent(int type)
{
    return type > EventMouseBegin && type < EventMouseEnd;
}

} // namespace UpdUI
