#include "VerticalLayoutUI.h"

#include "LayoutMathUI.h"
#include "ScrollbarUI.h"
#include "StackLayoutUI.h"

CVerticalLayoutUI::CVerticalLayoutUI() = default;

// The class name is spelled so on purpose: skins and code look it up by this text.
LPCWSTR CVerticalLayoutUI::GetControlClass() const
{
    return L"VertialLayoutUI";
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetViewRect();
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    const CStackLayoutUI stack(this, m_items, true, m_iChildPadding);
    const CStackLayoutUI::TPlanUI plan = stack.Plan(szAvailable);
    const SIZE szScroll = GetScrollPos();
    const POINT ptOrigin = { rc.left - szScroll.cx, rc.top - szScroll.cy };
    const int cyNeeded = stack.Place(plan, szAvailable, ptOrigin, [&](CControlUI* pControl, const RECT& rcPadding) {
        return CLayoutMathUI::ClampWidth(pControl,
                                         CLayoutMathUI::AtLeastZero(szAvailable.cx - rcPadding.left - rcPadding.right));
    });
    ProcessScrollBar(rc, 0, cyNeeded + plan.nGaps);
}
