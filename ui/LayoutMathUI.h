#pragma once
#include "ControlUI.h"

// Size rules the layouts share: a child's size raised to its minimum, then lowered
// to its maximum.
class CLayoutMathUI
{
public:
    static int ClampWidth(const CControlUI* pControl, int cx);
    static int ClampHeight(const CControlUI* pControl, int cy);
    static SIZE ClampSize(const CControlUI* pControl, SIZE sz);
    static int AtLeastZero(int n);
};
