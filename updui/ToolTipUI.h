#pragma once
#include "uishared/ToolTipUI.h"

namespace UpdUI {

// Before the first tip a hover takes 400 ms.
class CToolTipUI : public UIShared::CToolTipUI
{
public:
    CToolTipUI() : UIShared::CToolTipUI(400) { }
};

} // namespace UpdUI
