#include "ListBodyUI.h"

#include "LayoutMathUI.h"
#include "ListHeaderUI.h"
#include "ListUI.h"
#include "ScrollbarUI.h"
#include "StackLayoutUI.h"

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner) { }

LPCWSTR CListBodyUI::GetControlClass() const
{
    return L"ListBodyUI";
}

void CListBodyUI::SetScrollPos(SIZE szPos)
{
    const int cxOld = GetScrollPos().cx;
    CVerticalLayoutUI::SetScrollPos(szPos);
    const int cxNew = GetScrollPos().cx;
    if (cxNew != cxOld && m_pOwner != nullptr) m_pOwner->ScrollHeader(cxNew - cxOld);
}

int CListBodyUI::NeededWidth(SIZE szAvailable, int cxWidest) const
{
    CListHeaderUI* pHeader = m_pOwner != nullptr ? m_pOwner->GetHeader() : nullptr;
    if (pHeader == nullptr || pHeader->GetCount() == 0) return cxWidest;
    return CLayoutMathUI::AtLeastZero(pHeader->EstimateSize(szAvailable).cx);
}

// The bar appears when the items need more width than the body has; its height then
// comes off the items' area.
void CListBodyUI::UpdateHorizontalBar(RECT& rc, int cxNeeded)
{
    CScrollbarUI* pBar = m_pHorizontalScrollBar;
    if (pBar == nullptr) return;
    const int cxInner = rc.right - rc.left;
    if (cxInner < cxNeeded) {
        if (pBar->IsVisible()) {
            pBar->SetScrollRange(cxNeeded - cxInner);
            return;
        }
        pBar->SetVisible(true);
        pBar->SetScrollRange(cxNeeded - cxInner);
        pBar->SetScrollPos(0);
        rc.bottom -= pBar->GetFixedHeight();
    } else if (pBar->IsVisible()) {
        pBar->SetVisible(false);
        pBar->SetScrollRange(0);
        pBar->SetScrollPos(0);
        rc.bottom += pBar->GetFixedHeight();
    }
}

void CListBodyUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetViewRect();
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    const SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };

    const CStackLayoutUI stack(this, m_items, true, m_iChildPadding);
    const CStackLayoutUI::TPlanUI plan = stack.Plan(szAvailable);
    const int cxNeeded = NeededWidth(szAvailable, plan.nWidestAcross);

    // Each row is at least as wide as the columns.
    const SIZE szScroll = GetScrollPos();
    const POINT ptOrigin = { rc.left - szScroll.cx, rc.top - szScroll.cy };
    const int cyNeeded = stack.Place(plan, szAvailable, ptOrigin, [&](CControlUI* pControl, const RECT& rcPadding) {
        const int cxFill = szAvailable.cx - rcPadding.left - rcPadding.right;
        return CLayoutMathUI::ClampWidth(pControl, cxNeeded > cxFill ? cxNeeded : cxFill);
    });
    UpdateHorizontalBar(rc, cxNeeded);
    ProcessScrollBar(rc, cxNeeded, cyNeeded + plan.nGaps);
}
