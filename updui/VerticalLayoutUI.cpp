#include "VerticalLayoutUI.h"

#include <cstdlib>
#include <cwchar>

#include "ControlStateUI.h"
#include "PainterUI.h"
#include "ScrollBarUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

const DWORD kSeparatorDragColor = 0xAA000000;

int ClampTo(int nValue, int nMin, int nMax)
{
    if (nValue < nMin) nValue = nMin;
    if (nValue > nMax) nValue = nMax;
    return nValue;
}

bool IsShownBar(const CScrollBarUI* pBar)
{
    return pBar != nullptr && pBar->IsVisible();
}

} // namespace

CVerticalLayoutUI::CVerticalLayoutUI()
    : m_iSepHeight(0), m_uButtonState(0), m_ptLastMouse(), m_rcNewPos(), m_bImmMode(false)
{
}

LPCWSTR CVerticalLayoutUI::GetControlClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepHeight != 0 ? UIFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    bool bVBar = IsShownBar(m_pVerticalScrollBar);
    bool bHBar = IsShownBar(m_pHorizontalScrollBar);
    if (bVBar) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (bHBar) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (m_items.GetCount() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    SIZE szAvailable = {rc.right - rc.left, rc.bottom - rc.top};
    if (bHBar) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    // First pass: what the children with a height of their own take.
    int nAdjustables = 0;
    int cyFixed = 0;
    int nEstimateNum = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0) {
            nAdjustables++;
        } else {
            RECT rcPadding = pControl->GetPadding();
            cyFixed += ClampTo(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight()) + rcPadding.top +
                       rcPadding.bottom;
        }
        nEstimateNum++;
    }
    if (nEstimateNum > 0) cyFixed += (nEstimateNum - 1) * m_iChildPadding;

    int cyExpand = 0;
    if (nAdjustables > 0) {
        cyExpand = (szAvailable.cy - cyFixed) / nAdjustables;
        if (cyExpand < 0) cyExpand = 0;
    }

    // Second pass: place them; the last adjustable child takes what is left once the
    // fixed children after it (with their paddings and the child padding between
    // them) have their room.
    int iPosY = rc.top - (bVBar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    int iPosX = rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT rcPadding = pControl->GetPadding();
        szRemaining.cy -= rcPadding.top;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cy == 0) {
            iAdjustable++;
            sz.cy = cyExpand;
            if (iAdjustable == nAdjustables) {
                sz.cy = szRemaining.cy - rcPadding.bottom - cyFixedRemaining;
                if (sz.cy < 0) sz.cy = 0;
            }
            sz.cy = ClampTo(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        } else {
            sz.cy = ClampTo(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
            cyFixedRemaining -= sz.cy + rcPadding.top + rcPadding.bottom;
        }
        cyFixedRemaining -= m_iChildPadding;
        sz.cx = pControl->GetFixedWidth();
        if (sz.cx == 0) sz.cx = szAvailable.cx - rcPadding.left - rcPadding.right;
        if (sz.cx < 0) sz.cx = 0;
        sz.cx = ClampTo(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());

        RECT rcCtrl = {iPosX + rcPadding.left, iPosY + rcPadding.top, iPosX + rcPadding.left + sz.cx,
                       iPosY + rcPadding.top + sz.cy + rcPadding.bottom};
        pControl->SetPos(rcCtrl);

        iPosY += sz.cy + m_iChildPadding + rcPadding.top + rcPadding.bottom;
        cyNeeded += rcPadding.top + rcPadding.bottom + sz.cy;
        szRemaining.cy -= sz.cy + m_iChildPadding + rcPadding.bottom;
    }
    if (nEstimateNum > 0) cyNeeded += (nEstimateNum - 1) * m_iChildPadding;
    ProcessScrollBar(rc, 0, cyNeeded);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepHeight;
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_iSepHeight = iHeight;
}

bool CVerticalLayoutUI::IsSepImmediate() const
{
    return m_bImmMode;
}

void CVerticalLayoutUI::SetSepImmediate(bool bImmediate)
{
    if (m_bImmMode == bImmediate) return;
    if ((m_uButtonState & UISTATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != nullptr)
        m_pManager->RemovePostPaint(this);
    m_bImmMode = bImmediate;
}

bool CVerticalLayoutUI::IsDragging() const
{
    return (m_uButtonState & UISTATE_CAPTURED) != 0;
}

RECT CVerticalLayoutUI::GetThumbRect(bool bUseNew) const
{
    RECT rc = bUseNew && IsDragging() ? m_rcNewPos : m_rcItem;
    if (m_iSepHeight > 0) {
        int nTop = rc.bottom - m_iSepHeight;
        RECT rcSep = {rc.left, nTop > rc.top ? nTop : rc.top, rc.right, rc.bottom};
        return rcSep;
    }
    if (m_iSepHeight < 0) {
        int nBottom = rc.top - m_iSepHeight;
        RECT rcSep = {rc.left, rc.top, rc.right, nBottom < rc.bottom ? nBottom : rc.bottom};
        return rcSep;
    }
    RECT rcNone = {};
    return rcNone;
}

void CVerticalLayoutUI::InvalidateSeparator(const RECT& rcOld)
{
    if (m_pManager == nullptr) return;
    RECT rcNew = GetThumbRect(true);
    RECT rcNow = GetThumbRect(false);
    RECT rcInvalidate = {};
    ::UnionRect(&rcInvalidate, &rcOld, &rcNew);
    ::UnionRect(&rcInvalidate, &rcInvalidate, &rcNow);
    m_pManager->Invalidate(rcInvalidate);
}

// The moving edge follows the pointer once it has passed the edge; the new height
// stays within the layout's limits.
void CVerticalLayoutUI::OnSeparatorMove(POINT pt)
{
    LONG cyDelta = pt.y - m_ptLastMouse.y;
    m_ptLastMouse = pt;
    RECT rc = m_rcNewPos;
    if (m_iSepHeight >= 0) {
        if (cyDelta > 0 && pt.y < m_rcNewPos.bottom + m_iSepHeight) return;
        if (cyDelta < 0 && pt.y > m_rcNewPos.bottom) return;
        rc.bottom += cyDelta;
    } else {
        if (cyDelta > 0 && pt.y < m_rcNewPos.top) return;
        if (cyDelta < 0 && pt.y > m_rcNewPos.top + m_iSepHeight) return;
        rc.top += cyDelta;
    }
    int cyOld = m_rcNewPos.bottom - m_rcNewPos.top;
    if (GetMinHeight() >= rc.bottom - rc.top) {
        if (cyOld <= GetMinHeight()) return;
        if (m_iSepHeight >= 0) rc.bottom = rc.top + GetMinHeight();
        else rc.top = rc.bottom - GetMinHeight();
    }
    if (rc.bottom - rc.top >= GetMaxHeight()) {
        if (cyOld >= GetMaxHeight()) return;
        if (m_iSepHeight >= 0) rc.bottom = rc.top + GetMaxHeight();
        else rc.top = rc.bottom - GetMaxHeight();
    }
    RECT rcOldSeparator = GetThumbRect(true);
    SetFixedHeight(rc.bottom - rc.top);
    m_rcNewPos = rc;
    if (m_bImmMode) {
        SetPos(m_rcNewPos);
        NeedParentUpdate();
    } else {
        InvalidateSeparator(rcOldSeparator);
    }
}

void CVerticalLayoutUI::DoEvent(TEventRecUI& event)
{
    if (m_iSepHeight == 0) {
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
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
        return;
    }
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepheight") == 0) SetSepHeight(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else if (wcscmp(pstrName, L"sepimm") == 0) SetSepImmediate(wcscmp(pstrValue, L"true") == 0);
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if (!IsDragging() || m_bImmMode) return;
    CPainterUI::DrawColor(hDC, GetThumbRect(true), kSeparatorDragColor);
}

} // namespace UpdUI
