#pragma once
#include "uishared/ToolTipUI.h"

// Before the first tip a hover takes 1000 ms.
class CToolTipUI : public UIShared::CToolTipUI
{
public:
    CToolTipUI() : UIShared::CToolTipUI(1000) { }
};
