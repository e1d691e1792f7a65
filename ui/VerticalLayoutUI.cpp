#include "VerticalLayoutUI.h"

#include "LayoutMathUI.h"
#include "ScrollbarUI.h"

CVerticalLayoutUI::CVerticalLayoutUI() = default;

// The class name is spelled so on purpose: skins and code look it up by this text.
LPCWSTR CVerticalLayoutUI::GetControlClass() const
{
    return L"VertialLayoutUI";
}

void CVerticalLayoutUI::SetPos(RECT rc)
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

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    // Pass 1: what the fixed children need and how many share the rest.
    int nAdjustables = 0, cyFixed = 0, nCounted = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const RECT rcPadding = pControl->GetPadding();
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0)
            nAdjustables++;
        else
            sz.cy = CLayoutMathUI::ClampHeight(pControl, sz.cy);
        cyFixed += sz.cy + rcPadding.top + rcPadding.bottom;
        nCounted++;
    }
    const int cyGaps = nCounted > 1 ? (nCounted - 1) * m_iChildPadding : 0;
    cyFixed += cyGaps;
    int cyExpand = 0;
    if (nAdjustables > 0) cyExpand = CLayoutMathUI::AtLeastZero((szAvailable.cy - cyFixed) / nAdjustables);

    // Pass 2: place them.
    const SIZE szScroll = GetScrollPos();
    int iPosX = rc.left - szScroll.cx;
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
        // What is still reserved for the children below this one: their heights,
        // paddings and the gaps between them (this child's own share taken out).
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
        sz.cx = CLayoutMathUI::AtLeastZero(szAvailable.cx - rcPadding.left - rcPadding.right);
        sz.cx = CLayoutMathUI::ClampWidth(pControl, sz.cx);

        // The padding is an outer margin: it is left around the child, not added to it.
        const RECT rcCtrl = { iPosX + rcPadding.left, iPosY + rcPadding.top, iPosX + rcPadding.left + sz.cx,
                              iPosY + rcPadding.top + sz.cy };
        pControl->SetPos(rcCtrl);

        iPosY += sz.cy + m_iChildPadding + rcPadding.top + rcPadding.bottom;
        cyNeeded += sz.cy + rcPadding.top + rcPadding.bottom;
        cyRemaining -= sz.cy + m_iChildPadding + rcPadding.bottom;
    }
    cyNeeded += cyGaps;
    ProcessScrollBar(rc, 0, cyNeeded);
}
