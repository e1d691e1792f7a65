#include "HorizontalLayoutUI.h"

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

CHorizontalLayoutUI::CHorizontalLayoutUI()
    : m_iSepWidth(0), m_uButtonState(0), m_ptLastMouse(), m_rcNewPos(), m_bImmMode(false)
{
}

LPCWSTR CHorizontalLayoutUI::GetControlClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepWidth != 0 ? UIFLAG_SETCURSOR : 0;
}

// Never asks for a vertical bar: the children take the full inner height.
void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_items.GetCount() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    bool bVBar = IsShownBar(m_pVerticalScrollBar);
    bool bHBar = IsShownBar(m_pHorizontalScrollBar);
    if (bVBar) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (bHBar) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

    SIZE szAvailable = {rc.right - rc.left, rc.bottom - rc.top};
    if (bHBar) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    int nAdjustables = 0;
    int cxFixed = 0;
    int nEstimateNum = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) {
            nAdjustables++;
        } else {
            RECT rcPadding = pControl->GetPadding();
            cxFixed += ClampTo(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth()) + rcPadding.left +
                       rcPadding.right;
        }
        nEstimateNum++;
    }
    if (nEstimateNum > 0) cxFixed += (nEstimateNum - 1) * m_iChildPadding;

    int cxExpand = 0;
    if (nAdjustables > 0) {
        cxExpand = (szAvailable.cx - cxFixed) / nAdjustables;
        if (cxExpand < 0) cxExpand = 0;
    }

    int iPosX = rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int cxFixedRemaining = cxFixed;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT rcPadding = pControl->GetPadding();
        szRemaining.cx -= rcPadding.left;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cx == 0) {
            iAdjustable++;
            sz.cx = cxExpand;
            if (iAdjustable == nAdjustables) {
                sz.cx = szRemaining.cx - rcPadding.right - cxFixedRemaining;
                if (sz.cx < 0) sz.cx = 0;
            }
            sz.cx = ClampTo(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        } else {
            sz.cx = ClampTo(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
            cxFixedRemaining -= sz.cx + rcPadding.left + rcPadding.right;
        }
        cxFixedRemaining -= m_iChildPadding;
        sz.cy = pControl->GetFixedHeight();
        if (sz.cy == 0) sz.cy = rc.bottom - rc.top - rcPadding.top - rcPadding.bottom;
        if (sz.cy < 0) sz.cy = 0;
        sz.cy = ClampTo(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());

        RECT rcCtrl = {iPosX + rcPadding.left, rc.top + rcPadding.top, iPosX + rcPadding.left + sz.cx + rcPadding.right,
                       rc.top + rcPadding.top + sz.cy};
        pControl->SetPos(rcCtrl);

        iPosX += sz.cx + m_iChildPadding + rcPadding.left + rcPadding.right;
        szRemaining.cx -= sz.cx + m_iChildPadding + rcPadding.right;
    }
    ProcessScrollBar(rc, 0, 0);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepWidth;
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_iSepWidth = iWidth;
}

bool CHorizontalLayoutUI::IsSepImmediate() const
{
    return m_bImmMode;
}

void CHorizontalLayoutUI::SetSepImmediate(bool bImmediate)
{
    if (m_bImmMode == bImmediate) return;
    if (IsDragging() && !m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
    m_bImmMode = bImmediate;
}

bool CHorizontalLayoutUI::IsDragging() const
{
    return (m_uButtonState & UISTATE_CAPTURED) != 0;
}

RECT CHorizontalLayoutUI::GetThumbRect(bool bUseNew) const
{
    RECT rc = bUseNew && IsDragging() ? m_rcNewPos : m_rcItem;
    if (m_iSepWidth > 0) {
        RECT rcSep = {rc.right - m_iSepWidth, rc.top, rc.right, rc.bottom};
        return rcSep;
    }
    if (m_iSepWidth < 0) {
        RECT rcSep = {rc.left, rc.top, rc.left - m_iSepWidth, rc.bottom};
        return rcSep;
    }
    RECT rcNone = {};
    return rcNone;
}

void CHorizontalLayoutUI::InvalidateSeparator(const RECT& rcOld)
{
    if (m_pManager == nullptr) return;
    RECT rcNew = GetThumbRect(true);
    RECT rcNow = GetThumbRect(false);
    RECT rcInvalidate = {};
    ::UnionRect(&rcInvalidate, &rcOld, &rcNew);
    ::UnionRect(&rcInvalidate, &rcInvalidate, &rcNow);
    m_pManager->Invalidate(rcInvalidate);
}

void CHorizontalLayoutUI::OnSeparatorMove(POINT pt)
{
    LONG cxDelta = pt.x - m_ptLastMouse.x;
    m_ptLastMouse = pt;
    RECT rc = m_rcNewPos;
    if (m_iSepWidth >= 0) {
        if (cxDelta > 0 && pt.x < m_rcNewPos.right - m_iSepWidth) return;
        if (cxDelta < 0 && pt.x > m_rcNewPos.right) return;
        rc.right += cxDelta;
    } else {
        if (cxDelta > 0 && pt.x < m_rcNewPos.left) return;
        if (cxDelta < 0 && pt.x > m_rcNewPos.left - m_iSepWidth) return;
        rc.left += cxDelta;
    }
    int cxOld = m_rcNewPos.right - m_rcNewPos.left;
    if (GetMinWidth() >= rc.right - rc.left) {
        if (cxOld <= GetMinWidth()) return;
        if (m_iSepWidth >= 0) rc.right = rc.left + GetMinWidth();
        else rc.left = rc.right - GetMinWidth();
    }
    if (rc.right - rc.left >= GetMaxWidth()) {
        if (cxOld >= GetMaxWidth()) return;
        if (m_iSepWidth >= 0) rc.right = rc.left + GetMaxWidth();
        else rc.left = rc.right - GetMaxWidth();
    }
    RECT rcOldSeparator = GetThumbRect(true);
    SetFixedWidth(rc.right - rc.left);
    m_rcNewPos = rc;
    if (m_bImmMode) {
        SetPos(m_rcNewPos);
        NeedParentUpdate();
    } else {
        InvalidateSeparator(rcOldSeparator);
    }
}

void CHorizontalLayoutUI::DoEvent(TEventRecUI& event)
{
    if (m_iSepWidth == 0) {
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
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return;
    }
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepwidth") == 0) SetSepWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else if (wcscmp(pstrName, L"sepimm") == 0) SetSepImmediate(wcscmp(pstrValue, L"true") == 0);
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if (!IsDragging() || m_bImmMode) return;
    CPainterUI::DrawColor(hDC, GetThumbRect(true), kSeparatorDragColor);
}

} // namespace UpdUI
