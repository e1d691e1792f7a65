#include "LayoutMathUI.h"

int CLayoutMathUI::ClampWidth(const CControlUI* pControl, int cx)
{
    if (cx < pControl->GetMinWidth()) cx = pControl->GetMinWidth();
    if (cx > pControl->GetMaxWidth()) cx = pControl->GetMaxWidth();
    return cx;
}

int CLayoutMathUI::ClampHeight(const CControlUI* pControl, int cy)
{
    if (cy < pControl->GetMinHeight()) cy = pControl->GetMinHeight();
    if (cy > pControl->GetMaxHeight()) cy = pControl->GetMaxHeight();
    return cy;
}

SIZE CLayoutMathUI::ClampSize(const CControlUI* pControl, SIZE sz)
{
    return SIZE{ ClampWidth(pControl, sz.cx), ClampHeight(pControl, sz.cy) };
}

int CLayoutMathUI::AtLeastZero(int n)
{
    return n < 0 ? 0 : n;
}
