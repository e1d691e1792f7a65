#include "SeparatorLayoutUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"

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
