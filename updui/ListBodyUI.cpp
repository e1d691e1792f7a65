#include "ListBodyUI.h"

#include "ListHeaderUI.h"
#include "ListUI.h"
#include "ScrollBarUI.h"

namespace UpdUI {

namespace {

int ClampWidth(CControlUI* pControl, int cx)
{
    if (cx < pControl->GetMinWidth()) cx = pControl->GetMinWidth();
    if (cx > pControl->GetMaxWidth()) cx = pControl->GetMaxWidth();
    return cx;
}

int ClampHeight(CControlUI* pControl, int cy)
{
    if (cy < pControl->GetMinHeight()) cy = pControl->GetMinHeight();
    if (cy > pControl->GetMaxHeight()) cy = pControl->GetMaxHeight();
    return cy;
}

int AtLeastZero(int n)
{
    return n < 0 ? 0 : n;
}

} // namespace

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner) { }

void CListBodyUI::SetScrollPos(SIZE szPos)
{
    const int cxOld = GetScrollPos().cx;
    CVerticalLayoutUI::SetScrollPos(szPos);
    const int cxNew = GetScrollPos().cx;
    if (cxNew != cxOld && m_pOwner != nullptr) m_pOwner->ScrollHeader(cxNew - cxOld);
}

void CListBodyUI::DoEvent(TEventRecUI& event)
{
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

int CListBodyUI::NeededWidth(SIZE szAvailable, int cxWidest) const
{
    CListHeaderUI* pHeader = m_pOwner != nullptr ? m_pOwner->GetHeader() : nullptr;
    if (pHeader == nullptr || pHeader->GetCount() == 0) return cxWidest;
    return AtLeastZero(pHeader->EstimateSize(szAvailable).cx);
}

// The bar appears when the rows need more width than the body has; its height then
// comes off the rows' area.
void CListBodyUI::UpdateHorizontalBar(RECT& rc, int cxNeeded)
{
    CScrollBarUI* pBar = m_pHorizontalScrollBar;
    if (pBar == nullptr) return;
    const int cxInner = rc.right - rc.left;
    if (cxInner < cxNeeded) {
        if (!pBar->IsVisible()) {
            pBar->SetVisible(true);
            pBar->SetScrollPos(0);
            rc.bottom -= pBar->GetFixedHeight();
        }
        pBar->SetScrollRange(cxNeeded - cxInner);
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
    rc = GetClientRect();
    if (m_items.GetCount() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    // First pass: the fixed heights, the stretching rows and the widest row.
    int nAdjustables = 0, cyFixed = 0, nCounted = 0, cxWidest = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const RECT rcPadding = pControl->GetPadding();
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0)
            nAdjustables++;
        else
            cyFixed += ClampHeight(pControl, sz.cy) + rcPadding.top + rcPadding.bottom;
        const int cx = ClampWidth(pControl, AtLeastZero(sz.cx));
        if (cx > cxWidest) cxWidest = cx;
        nCounted++;
    }
    const int cyGaps = nCounted > 1 ? (nCounted - 1) * m_iChildPadding : 0;
    cyFixed += cyGaps;
    const int cyExpand = nAdjustables > 0 ? AtLeastZero((szAvailable.cy - cyFixed) / nAdjustables) : 0;
    const int cxNeeded = NeededWidth(szAvailable, cxWidest);

    // Second pass: place them, each at least as wide as the columns.
    const SIZE szScroll = GetScrollPos();
    const int iPosX = rc.left - szScroll.cx;
    int iPosY = rc.top - szScroll.cy;
    int cyRemaining = szAvailable.cy;
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    int iAdjustable = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT rcPadding = pControl->GetPadding();
        cyRemaining -= rcPadding.top;
        SIZE sz = pControl->EstimateSize(SIZE{ szAvailable.cx, cyRemaining });
        if (sz.cy == 0) {
            iAdjustable++;
            sz.cy = cyExpand;
            if (iAdjustable == nAdjustables) sz.cy = AtLeastZero(cyRemaining - rcPadding.bottom - cyFixedRemaining);
            sz.cy = ClampHeight(pControl, sz.cy);
        } else {
            sz.cy = ClampHeight(pControl, sz.cy);
            cyFixedRemaining -= sz.cy + rcPadding.top + rcPadding.bottom;
        }
        cyFixedRemaining -= m_iChildPadding;
        const int cxFill = szAvailable.cx - rcPadding.left - rcPadding.right;
        sz.cx = ClampWidth(pControl, cxNeeded > cxFill ? cxNeeded : cxFill);

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

} // namespace UpdUI
