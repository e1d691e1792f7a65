#include "ListBodyUI.h"

#include "LayoutMathUI.h"
#include "ListHeaderUI.h"
#include "ListUI.h"
#include "ScrollbarUI.h"

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner)
{
}

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
    rc = GetInnerRect();
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    const SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };

    // Pass 1: fixed heights, the stretching children and the widest child.
    int nAdjustables = 0, cyFixed = 0, nCounted = 0, cxWidest = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const RECT rcPadding = pControl->GetPadding();
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0) nAdjustables++;
        else sz.cy = CLayoutMathUI::ClampHeight(pControl, sz.cy);
        const int cx = CLayoutMathUI::ClampWidth(pControl, sz.cx < 1 ? 0 : sz.cx);
        if (cx > cxWidest) cxWidest = cx;
        cyFixed += sz.cy + rcPadding.top + rcPadding.bottom;
        nCounted++;
    }
    const int cyGaps = nCounted > 1 ? (nCounted - 1) * m_iChildPadding : 0;
    cyFixed += cyGaps;
    int cyExpand = 0;
    if (nAdjustables > 0) cyExpand = CLayoutMathUI::AtLeastZero((szAvailable.cy - cyFixed) / nAdjustables);
    const int cxNeeded = NeededWidth(szAvailable, cxWidest);

    // Pass 2: place them, each at least as wide as the columns.
    const SIZE szScroll = GetScrollPos();
    const int iPosX = rc.left - szScroll.cx;
    int iPosY = rc.top - szScroll.cy;
    int cyRemaining = szAvailable.cy;
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    int iAdjustable = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT rcPadding = pControl->GetPadding();
        cyRemaining -= rcPadding.top;
        cyFixedRemaining -= rcPadding.top + rcPadding.bottom;
        SIZE sz = pControl->EstimateSize(SIZE{ szAvailable.cx, cyRemaining });
        if (sz.cy == 0) {
            iAdjustable++;
            sz.cy = cyExpand;
            if (iAdjustable == nAdjustables)
                sz.cy = CLayoutMathUI::AtLeastZero(cyRemaining - rcPadding.bottom - cyFixedRemaining);
            sz.cy = CLayoutMathUI::ClampHeight(pControl, sz.cy);
        } else {
            sz.cy = CLayoutMathUI::ClampHeight(pControl, sz.cy);
            cyFixedRemaining -= sz.cy;
        }
        cyFixedRemaining -= m_iChildPadding;
        const int cxFill = szAvailable.cx - rcPadding.left - rcPadding.right;
        sz.cx = CLayoutMathUI::ClampWidth(pControl, cxNeeded > cxFill ? cxNeeded : cxFill);

        const RECT rcCtrl = { iPosX + rcPadding.left, iPosY + rcPadding.top, iPosX + rcPadding.left + sz.cx,
                              iPosY + rcPadding.top + sz.cy };
        pControl->SetPos(rcCtrl);

        iPosY += sz.cy + m_iChildPadding + rcPadding.top + rcPadding.bottom;
        cyNeeded += sz.cy + rcPadding.top + rcPadding.bottom;
        cyRemaining -= sz.cy + m_iChildPadding + rcPadding.bottom;
    }
    cyNeeded += cyGaps;
    UpdateHorizontalBar(rc, cxNeeded);
    ProcessScrollBar(rc, cxNeeded, cyNeeded);
}
