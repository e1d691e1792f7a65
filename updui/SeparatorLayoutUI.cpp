#include "SeparatorLayoutUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"
#include "ScrollBarUI.h"

namespace UpdUI {

namespace {

const DWORD kSeparatorDragColor = 0xAA000000;

} // namespace

CSeparatorLayoutUI::CSeparatorLayoutUI(bool bVertical)
    : m_iSepSize(0), m_uButtonState(0), m_ptLastMouse(), m_rcNewPos(), m_bImmMode(false), m_bVertical(bVertical)
{ }

LONG& CSeparatorLayoutUI::NearEdge(RECT& rc) const
{
    return m_bVertical ? rc.top : rc.left;
}

LONG& CSeparatorLayoutUI::FarEdge(RECT& rc) const
{
    return m_bVertical ? rc.bottom : rc.right;
}

LONG CSeparatorLayoutUI::Along(POINT pt) const
{
    return m_bVertical ? pt.y : pt.x;
}

LONG& CSeparatorLayoutUI::Along(SIZE& sz) const
{
    return m_bVertical ? sz.cy : sz.cx;
}

LONG& CSeparatorLayoutUI::Across(SIZE& sz) const
{
    return m_bVertical ? sz.cx : sz.cy;
}

int CSeparatorLayoutUI::ClampAlong(CControlUI* pControl, int n) const
{
    return m_bVertical ? ClampToLimits(n, pControl->GetMinHeight(), pControl->GetMaxHeight())
                       : ClampToLimits(n, pControl->GetMinWidth(), pControl->GetMaxWidth());
}

int CSeparatorLayoutUI::ClampAcross(CControlUI* pControl, int n) const
{
    return m_bVertical ? ClampToLimits(n, pControl->GetMinWidth(), pControl->GetMaxWidth())
                       : ClampToLimits(n, pControl->GetMinHeight(), pControl->GetMaxHeight());
}

// Two passes: first what the children with an extent of their own take along the
// axis, then each child placed after the one before; the last stretching child takes
// what is left once the fixed children after it (with their paddings and the child
// padding between them) have their room. Across the axis a child without a fixed
// extent fills the layout. The vertical layout scrolls both ways and reports the
// height its children need; the horizontal one is not moved by the vertical bar and
// reports nothing needed. A child's far padding along the axis is inside its rectangle.
void CSeparatorLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetInnerRect();
    const RECT rcInset = rc;
    bool bVBar = !IsInvisibleBar(m_pVerticalScrollBar);
    bool bHBar = !IsInvisibleBar(m_pHorizontalScrollBar);
    if (bVBar) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (bHBar) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (m_items.GetCount() == 0) {
        // The horizontal layout hands the bars the inner rectangle before their room is taken.
        ProcessScrollBar(m_bVertical ? rc : rcInset, 0, 0);
        return;
    }

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (bHBar) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    int nAdjustables = 0;
    int nFixed = 0;
    int nEstimateNum = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (Along(sz) == 0) {
            nAdjustables++;
        } else {
            RECT rcPadding = pControl->GetPadding();
            nFixed += ClampAlong(pControl, Along(sz)) + NearEdge(rcPadding) + FarEdge(rcPadding);
        }
        nEstimateNum++;
    }
    if (nEstimateNum > 0) nFixed += (nEstimateNum - 1) * m_iChildPadding;

    int nExpand = 0;
    if (nAdjustables > 0) {
        nExpand = (Along(szAvailable) - nFixed) / nAdjustables;
        if (nExpand < 0) nExpand = 0;
    }

    int iPos = m_bVertical ? rc.top - (bVBar ? m_pVerticalScrollBar->GetScrollPos() : 0)
                           : rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    const int iPosAcross = m_bVertical ? rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0) : rc.top;
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int nFixedRemaining = nFixed;
    int nNeeded = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT rcPadding = pControl->GetPadding();
        const int nLead = NearEdge(rcPadding);
        const int nTrail = FarEdge(rcPadding);
        Along(szRemaining) -= nLead;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (Along(sz) == 0) {
            iAdjustable++;
            Along(sz) = nExpand;
            if (iAdjustable == nAdjustables) {
                Along(sz) = Along(szRemaining) - nTrail - nFixedRemaining;
                if (Along(sz) < 0) Along(sz) = 0;
            }
            Along(sz) = ClampAlong(pControl, Along(sz));
        } else {
            Along(sz) = ClampAlong(pControl, Along(sz));
            nFixedRemaining -= Along(sz) + nLead + nTrail;
        }
        nFixedRemaining -= m_iChildPadding;
        Across(sz) = m_bVertical ? pControl->GetFixedWidth() : pControl->GetFixedHeight();
        if (Across(sz) == 0)
            Across(sz) = Across(szAvailable) -
                (m_bVertical ? rcPadding.left + rcPadding.right : rcPadding.top + rcPadding.bottom);
        if (Across(sz) < 0) Across(sz) = 0;
        Across(sz) = ClampAcross(pControl, Across(sz));

        RECT rcCtrl;
        if (m_bVertical)
            rcCtrl = { iPosAcross + rcPadding.left, iPos + rcPadding.top, iPosAcross + rcPadding.left + sz.cx,
                       iPos + rcPadding.top + sz.cy + rcPadding.bottom };
        else
            rcCtrl = { iPos + rcPadding.left, iPosAcross + rcPadding.top,
                       iPos + rcPadding.left + sz.cx + rcPadding.right, iPosAcross + rcPadding.top + sz.cy };
        pControl->SetPos(rcCtrl);

        iPos += Along(sz) + m_iChildPadding + nLead + nTrail;
        nNeeded += nLead + nTrail + Along(sz);
        Along(szRemaining) -= Along(sz) + m_iChildPadding + nTrail;
    }
    if (nEstimateNum > 0) nNeeded += (nEstimateNum - 1) * m_iChildPadding;
    ProcessScrollBar(rc, 0, m_bVertical ? nNeeded : 0);
}

int CSeparatorLayoutUI::MinExtent() const
{
    return m_bVertical ? GetMinHeight() : GetMinWidth();
}

int CSeparatorLayoutUI::MaxExtent() const
{
    return m_bVertical ? GetMaxHeight() : GetMaxWidth();
}

void CSeparatorLayoutUI::SetFixedExtent(int nExtent)
{
    if (m_bVertical)
        SetFixedHeight(nExtent);
    else
        SetFixedWidth(nExtent);
}

UINT CSeparatorLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepSize != 0 ? UIFLAG_SETCURSOR : 0;
}

bool CSeparatorLayoutUI::IsSepImmediate() const
{
    return m_bImmMode;
}

void CSeparatorLayoutUI::SetSepImmediate(bool bImmediate)
{
    if (m_bImmMode == bImmediate) return;
    if (IsDragging() && !m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
    m_bImmMode = bImmediate;
}

bool CSeparatorLayoutUI::IsDragging() const
{
    return (m_uButtonState & UISTATE_CAPTURED) != 0;
}

// The vertical strip is kept inside the layout; the horizontal one is not clamped.
RECT CSeparatorLayoutUI::GetThumbRect(bool bUseNew) const
{
    RECT rc = bUseNew && IsDragging() ? m_rcNewPos : m_rcItem;
    RECT rcSep = rc;
    if (m_iSepSize > 0) {
        LONG nEdge = FarEdge(rc) - m_iSepSize;
        NearEdge(rcSep) = m_bVertical && nEdge < NearEdge(rc) ? NearEdge(rc) : nEdge;
        return rcSep;
    }
    if (m_iSepSize < 0) {
        LONG nEdge = NearEdge(rc) - m_iSepSize;
        FarEdge(rcSep) = m_bVertical && nEdge > FarEdge(rc) ? FarEdge(rc) : nEdge;
        return rcSep;
    }
    RECT rcNone = {};
    return rcNone;
}

void CSeparatorLayoutUI::InvalidateSeparator(const RECT& rcOld)
{
    if (m_pManager == nullptr) return;
    RECT rcNew = GetThumbRect(true);
    RECT rcNow = GetThumbRect(false);
    RECT rcInvalidate = {};
    ::UnionRect(&rcInvalidate, &rcOld, &rcNew);
    ::UnionRect(&rcInvalidate, &rcInvalidate, &rcNow);
    m_pManager->Invalidate(rcInvalidate);
}

// Holds the dragged extent within the layout's limits by moving the dragged edge;
// false when the drag was already at the limit it now passes.
bool CSeparatorLayoutUI::ClampDragExtent(RECT& rc, int nOldExtent) const
{
    const bool bFar = m_iSepSize >= 0;
    int nMin = MinExtent();
    if (nMin >= FarEdge(rc) - NearEdge(rc)) {
        if (nOldExtent <= nMin) return false;
        if (bFar)
            FarEdge(rc) = NearEdge(rc) + nMin;
        else
            NearEdge(rc) = FarEdge(rc) - nMin;
    }
    int nMax = MaxExtent();
    if (FarEdge(rc) - NearEdge(rc) >= nMax) {
        if (nOldExtent >= nMax) return false;
        if (bFar)
            FarEdge(rc) = NearEdge(rc) + nMax;
        else
            NearEdge(rc) = FarEdge(rc) - nMax;
    }
    return true;
}

// The dragged edge follows the pointer once the pointer has passed it. The dead zone
// before it reacts is measured from the edge by the separator size: inwards for the
// horizontal layout, outwards for the vertical one.
void CSeparatorLayoutUI::OnSeparatorMove(POINT pt)
{
    LONG nDelta = Along(pt) - Along(m_ptLastMouse);
    m_ptLastMouse = pt;
    RECT rcOld = m_rcNewPos;
    const bool bFar = m_iSepSize >= 0;
    LONG nEdge = bFar ? FarEdge(rcOld) : NearEdge(rcOld);
    LONG nZone = m_bVertical ? nEdge + m_iSepSize : nEdge - m_iSepSize;
    LONG nLow = bFar ? nZone : nEdge;
    LONG nHigh = bFar ? nEdge : nZone;
    if (nDelta > 0 && Along(pt) < nLow) return;
    if (nDelta < 0 && Along(pt) > nHigh) return;
    RECT rc = rcOld;
    (bFar ? FarEdge(rc) : NearEdge(rc)) += nDelta;
    if (!ClampDragExtent(rc, FarEdge(rcOld) - NearEdge(rcOld))) return;
    RECT rcOldSeparator = GetThumbRect(true);
    SetFixedExtent(FarEdge(rc) - NearEdge(rc));
    m_rcNewPos = rc;
    if (m_bImmMode) {
        SetPos(m_rcNewPos);
        NeedParentUpdate();
    } else {
        InvalidateSeparator(rcOldSeparator);
    }
}

void CSeparatorLayoutUI::DoEvent(TEventRecUI& event)
{
    if (m_iSepSize == 0) {
        CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventButtonDown: {
        if (!IsEnabled()) break;
        RECT rcSeparator = GetThumbRect(false);
        if (!::PtInRect(&rcSeparator, event.mousePoint)) break;
        m_uButtonState |= UISTATE_CAPTURED;
        m_ptLastMouse = event.mousePoint;
        m_rcNewPos = m_rcItem;
        if (!m_bImmMode && m_pManager != nullptr) m_pManager->AddPostPaint(this);
        return;
    }
    case EventButtonUp:
        if (!IsDragging()) break;
        m_uButtonState &= ~UISTATE_CAPTURED;
        m_rcItem = m_rcNewPos;
        if (!m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
        NeedParentUpdate();
        return;
    case EventMouseMove:
        if (!IsDragging()) break;
        OnSeparatorMove(event.mousePoint);
        return;
    case EventSetCursor: {
        if (!IsEnabled()) break;
        RECT rcSeparator = GetThumbRect(false);
        if (!::PtInRect(&rcSeparator, event.mousePoint)) break;
        ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return;
    }
    default: break;
    }
    CContainerUI::DoEvent(event);
}

void CSeparatorLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepimm") == 0)
        SetSepImmediate(CAttributeValueUI::IsTrue(pstrValue));
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CSeparatorLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if (!IsDragging() || m_bImmMode) return;
    CPainterUI::DrawColor(hDC, GetThumbRect(true), kSeparatorDragColor);
}

} // namespace UpdUI
