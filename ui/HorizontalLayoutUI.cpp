#include "HorizontalLayoutUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "LayoutMathUI.h"
#include "PainterUI.h"
#include "ScrollbarUI.h"
#include "StackLayoutUI.h"

namespace {

const DWORD kDragPreviewColor = 0xAA000000;

RECT UnionOf(const RECT& a, const RECT& b)
{
    RECT rc;
    ::UnionRect(&rc, &a, &b);
    return rc;
}

} // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI()
    : m_iSepWidth(0), m_uButtonState(0), m_ptLastMouse{ 0, 0 }, m_rcNewPos{ 0, 0, 0, 0 }, m_bImmMode(false)
{ }

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

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepWidth;
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_iSepWidth = iWidth;
}

bool CHorizontalLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

void CHorizontalLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately) return;
    if (IsDragging() && !m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
    m_bImmMode = bImmediately;
}

bool CHorizontalLayoutUI::IsDragging() const
{
    return (m_uButtonState & UISTATE_CAPTURED) != 0;
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"sepwidth") == 0)
        SetSepWidth(CAttributeValueUI::ParseCoordinate(pstrValue));
    else if (wcscmp(pstrName, L"sepimm") == 0)
        SetSepImmMode(CAttributeValueUI::ParseBool(pstrValue));
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.GetSize() == 0) {
        // An empty row hands the bars the whole inner rectangle.
        ProcessScrollBar(GetInnerRect(), 0, 0);
        return;
    }
    rc = GetViewRect();
    const bool bHorBar = m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (bHorBar) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    const CStackLayoutUI stack(this, m_items, false, m_iChildPadding);
    const CStackLayoutUI::TPlanUI plan = stack.Plan(szAvailable);
    // This layout scrolls only across; its vertical position is not applied.
    const POINT ptOrigin = { rc.left - (bHorBar ? m_pHorizontalScrollBar->GetScrollPos() : 0), rc.top };
    stack.Place(plan, szAvailable, ptOrigin, [&](CControlUI* pControl, const RECT& rcPadding) {
        return CLayoutMathUI::ClampHeight(
            pControl, CLayoutMathUI::AtLeastZero(szAvailable.cy - rcPadding.bottom - rcPadding.top));
    });
}

// ---------------------------------------------------------------------------------
// Separator

RECT CHorizontalLayoutUI::GetThumbRect(bool bUseNew) const
{
    const RECT& rc = bUseNew && IsDragging() ? m_rcNewPos : m_rcItem;
    if (m_iSepWidth < 0) return RECT{ rc.left, rc.top, rc.left - m_iSepWidth, rc.bottom };
    return RECT{ rc.right - m_iSepWidth, rc.top, rc.right, rc.bottom };
}

void CHorizontalLayoutUI::DoEvent(TEventRecUI& event)
{
    if (m_iSepWidth != 0) {
        bool bHandled = false;
        switch (event.type) {
        case EventButtonDown: bHandled = OnSeparatorButtonDown(event); break;
        case EventButtonUp: bHandled = OnSeparatorButtonUp(); break;
        case EventMouseMove: bHandled = OnSeparatorMouseMove(event); break;
        case EventSetCursor: bHandled = OnSeparatorSetCursor(event); break;
        default: break;
        }
        if (bHandled) return;
    }
    CContainerUI::DoEvent(event);
}

bool CHorizontalLayoutUI::OnSeparatorButtonDown(const TEventRecUI& event)
{
    if (!IsEnabled()) return false;
    const RECT rcSeparator = GetThumbRect(false);
    if (!::PtInRect(&rcSeparator, event.mousePoint)) return false;
    m_uButtonState |= UISTATE_CAPTURED;
    m_ptLastMouse = event.mousePoint;
    m_rcNewPos = m_rcItem;
    if (!m_bImmMode && m_pManager != nullptr) m_pManager->AddPostPaint(this);
    return true;
}

bool CHorizontalLayoutUI::OnSeparatorButtonUp()
{
    if (!IsDragging()) return false;
    m_uButtonState &= ~UISTATE_CAPTURED;
    m_rcItem = m_rcNewPos;
    if (!m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
    NeedParentUpdate();
    return true;
}

bool CHorizontalLayoutUI::OnSeparatorMouseMove(const TEventRecUI& event)
{
    if (!IsDragging()) return false;
    const int dx = event.mousePoint.x - m_ptLastMouse.x;
    m_ptLastMouse = event.mousePoint;
    RECT rc = m_rcNewPos;
    if (!MoveSeparatorEdge(rc, dx, event.mousePoint.x)) return true;
    if (!ApplyWidthLimits(rc)) return true;

    const RECT rcOldSeparator = GetThumbRect(true);
    m_rcNewPos = rc;
    // The fixed width is stored directly: the layout must not be laid out again
    // before the drag ends unless it follows the mouse live.
    m_cxyFixed.cx = rc.right - rc.left;
    if (m_bImmMode) {
        m_rcItem = rc;
        NeedParentUpdate();
    } else if (m_pManager != nullptr) {
        RECT rcInvalidate = UnionOf(rcOldSeparator, GetThumbRect(true));
        rcInvalidate = UnionOf(rcInvalidate, GetThumbRect(false));
        m_pManager->Invalidate(rcInvalidate);
    }
    return true;
}

// Moves the dragged edge by dx unless the pointer is on the far side of the separator
// from the direction of the move (it left the separator and has not come back yet).
bool CHorizontalLayoutUI::MoveSeparatorEdge(RECT& rc, int dx, int x) const
{
    if (m_iSepWidth < 0) {
        if ((dx > 0 && x < rc.left) || (dx < 0 && x > rc.left - m_iSepWidth)) return false;
        rc.left += dx;
    } else {
        if ((dx > 0 && x < rc.right - m_iSepWidth) || (dx < 0 && x > rc.right)) return false;
        rc.right += dx;
    }
    return true;
}

// Keeps the dragged width within the layout's minimum and maximum width; false when
// the drag already stands at the limit it would pass.
bool CHorizontalLayoutUI::ApplyWidthLimits(RECT& rc) const
{
    const int cxCurrent = m_rcNewPos.right - m_rcNewPos.left;
    int cxLimit = -1;
    if (rc.right - rc.left <= GetMinWidth()) {
        if (GetMinWidth() >= cxCurrent) return false;
        cxLimit = GetMinWidth();
    } else if (rc.right - rc.left >= GetMaxWidth()) {
        if (GetMaxWidth() <= cxCurrent) return false;
        cxLimit = GetMaxWidth();
    }
    if (cxLimit >= 0) {
        if (m_iSepWidth < 0)
            rc.left = rc.right - cxLimit;
        else
            rc.right = rc.left + cxLimit;
    }
    return true;
}

bool CHorizontalLayoutUI::OnSeparatorSetCursor(const TEventRecUI& event)
{
    if (!IsEnabled()) return false;
    const RECT rcSeparator = GetThumbRect(false);
    if (!::PtInRect(&rcSeparator, event.mousePoint)) return false;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
    return true;
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
    if (!IsDragging() || m_bImmMode) return;
    CPainterUI::DrawColor(hDC, GetThumbRect(true), kDragPreviewColor);
}
