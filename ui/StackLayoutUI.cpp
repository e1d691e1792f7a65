#include "StackLayoutUI.h"

#include "LayoutMathUI.h"

CStackLayoutUI::CStackLayoutUI(CContainerUI* pOwner, const CPtrArrayUI& items, bool bVertical, int iChildPadding)
    : m_pOwner(pOwner), m_items(items), m_bVertical(bVertical), m_iChildPadding(iChildPadding)
{ }

int CStackLayoutUI::Along(SIZE sz) const
{
    return m_bVertical ? sz.cy : sz.cx;
}

int CStackLayoutUI::Across(SIZE sz) const
{
    return m_bVertical ? sz.cx : sz.cy;
}

int CStackLayoutUI::ClampAlong(const CControlUI* pControl, int n) const
{
    return m_bVertical ? CLayoutMathUI::ClampHeight(pControl, n) : CLayoutMathUI::ClampWidth(pControl, n);
}

int CStackLayoutUI::ClampAcross(const CControlUI* pControl, int n) const
{
    return m_bVertical ? CLayoutMathUI::ClampWidth(pControl, n) : CLayoutMathUI::ClampHeight(pControl, n);
}

CStackLayoutUI::TPlanUI CStackLayoutUI::Plan(SIZE szAvailable) const
{
    TPlanUI plan = {};
    int nCounted = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const RECT rcPadding = pControl->GetPadding();
        const SIZE sz = pControl->EstimateSize(szAvailable);
        int nAlong = Along(sz);
        if (nAlong == 0)
            plan.nAdjustables++;
        else
            nAlong = ClampAlong(pControl, nAlong);
        const int nAcross = ClampAcross(pControl, Across(sz) < 1 ? 0 : Across(sz));
        if (nAcross > plan.nWidestAcross) plan.nWidestAcross = nAcross;
        plan.nFixed += nAlong + (m_bVertical ? rcPadding.top + rcPadding.bottom : rcPadding.left + rcPadding.right);
        nCounted++;
    }
    plan.nGaps = nCounted > 1 ? (nCounted - 1) * m_iChildPadding : 0;
    plan.nFixed += plan.nGaps;
    if (plan.nAdjustables > 0)
        plan.nExpand = CLayoutMathUI::AtLeastZero((Along(szAvailable) - plan.nFixed) / plan.nAdjustables);
    return plan;
}

int CStackLayoutUI::Place(const TPlanUI& plan, SIZE szAvailable, POINT ptOrigin, const AcrossRule& across) const
{
    int iPos = m_bVertical ? ptOrigin.y : ptOrigin.x;
    int nRemaining = Along(szAvailable);
    // What is still reserved for the children after the current one: their extents,
    // paddings and the gaps between them (the current child's own share taken out).
    int nFixedRemaining = plan.nFixed;
    int nNeeded = 0;
    int iAdjustable = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            m_pOwner->SetFloatPos(i);
            continue;
        }
        const RECT rcPadding = pControl->GetPadding();
        const int nLead = m_bVertical ? rcPadding.top : rcPadding.left;
        const int nTrail = m_bVertical ? rcPadding.bottom : rcPadding.right;
        nRemaining -= nLead;
        nFixedRemaining -= nLead + nTrail;
        const SIZE szEstimate = m_bVertical ? SIZE{ szAvailable.cx, nRemaining } : SIZE{ nRemaining, szAvailable.cy };
        int nAlong = Along(pControl->EstimateSize(szEstimate));
        if (nAlong == 0) {
            iAdjustable++;
            nAlong = plan.nExpand;
            if (iAdjustable == plan.nAdjustables)
                nAlong = CLayoutMathUI::AtLeastZero(nRemaining - nTrail - nFixedRemaining);
            nAlong = ClampAlong(pControl, nAlong);
        } else {
            nAlong = ClampAlong(pControl, nAlong);
            nFixedRemaining -= nAlong;
        }
        nFixedRemaining -= m_iChildPadding;
        const int nAcross = across(pControl, rcPadding);

        // The padding is an outer margin: it is left around the child, not added to it.
        RECT rcCtrl;
        if (m_bVertical)
            rcCtrl = { ptOrigin.x + rcPadding.left, iPos + rcPadding.top, ptOrigin.x + rcPadding.left + nAcross,
                       iPos + rcPadding.top + nAlong };
        else
            rcCtrl = { iPos + rcPadding.left, ptOrigin.y + rcPadding.top, iPos + rcPadding.left + nAlong,
                       ptOrigin.y + rcPadding.top + nAcross };
        pControl->SetPos(rcCtrl);

        iPos += nLead + nAlong + nTrail + m_iChildPadding;
        nNeeded += nLead + nAlong + nTrail;
        nRemaining -= nAlong + m_iChildPadding + nTrail;
    }
    return nNeeded;
}
