#pragma once
#include "uishared/ControlStateUI.h"

using UIShared::SetStateBits;
using UIShared::SyncFocusAndDisabled;
using UIShared::UISTATE_CAPTURED;
using UIShared::UISTATE_DISABLED;
using UIShared::UISTATE_FOCUSED;
using UIShared::UISTATE_HOT;
using UIShared::UISTATE_PUSHED;
using UIShared::UISTATE_SELECTED;
