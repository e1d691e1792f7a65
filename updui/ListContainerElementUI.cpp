#include "ListContainerElementUI.h"

#include <cwchar>

#include "ControlStateUI.h"
#include "ListRowUI.h"

namespace UpdUI {

CListContainerElementUI::CListContainerElementUI()
    : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr)
{ }

LPCWSTR CListContainerElementUI::GetControlClass() const
{
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (pstrName != nullptr && wcscmp(pstrName, L"ListContainerElement") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const
{
    return UIFLAG_WANTRETURN;
}

bool CListContainerElementUI::Activate()
{
    if (!CContainerUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"itemactivate");
    return true;
}

void CListContainerElementUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner != nullptr) m_pOwner->SelectItem(-1, false);
    }
}

void CListContainerElementUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

bool CListContainerElementUI::HandleRowEvent(TEventRecUI& event)
{
    switch (event.type) {
    case EventDoubleClick:
        if (!IsEnabled()) return false;
        Activate();
        CListRowUI::InvalidateInParent(this);
        return true;
    case EventKeyDown:
        if (!IsEnabled() || event.keyChar != VK_RETURN) return false;
        Activate();
        CListRowUI::InvalidateInParent(this);
        return true;
    case EventMouseMove:
    case EventButtonUp: return true;
    case EventMouseLeave:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            CListRowUI::InvalidateInParent(this);
        }
        return true;
    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            CListRowUI::InvalidateInParent(this);
        }
        return true;
    case EventButtonDown:
    case EventRightButtonDown:
        if (IsEnabled()) {
            if (m_pManager != nullptr) m_pManager->SendNotify(this, L"itemclick");
            Select(true);
            CListRowUI::InvalidateInParent(this);
        }
        return true;
    default: return false;
    }
}

void CListContainerElementUI::DoEvent(TEventRecUI& event)
{
    if (IsMouseEvent(event.type) && !IsMouseEnabled()) {
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    if (HandleRowEvent(event)) return;
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CListContainerElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName != nullptr && pstrValue != nullptr && wcscmp(pstrName, L"selected") == 0)
        Select(true);
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
    CListRowUI::DrawItemBk(this, hDC, pInfo, m_iIndex, m_uButtonState, m_bSelected, m_sBkImage);
    CContainerUI::DoPaint(hDC, rcPaint);
}

int CListContainerElementUI::GetIndex() const
{
    return m_iIndex;
}

void CListContainerElementUI::SetIndex(int iIndex)
{
    m_iIndex = iIndex;
}

IListOwnerUI* CListContainerElementUI::GetOwner()
{
    return m_pOwner;
}

void CListContainerElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

bool CListContainerElementUI::IsSelected() const
{
    return m_bSelected;
}

bool CListContainerElementUI::Select(bool bSelect)
{
    if (!IsEnabled()) return false;
    if (bSelect == m_bSelected) return true;
    m_bSelected = bSelect;
    if (bSelect && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex, false);
    CListRowUI::InvalidateInParent(this);
    return true;
}

bool CListContainerElementUI::IsExpanded() const
{
    return false;
}

bool CListContainerElementUI::Expand(bool /*bExpand*/)
{
    return false;
}

void CListContainerElementUI::DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) { }

UINT CListContainerElementUI::GetState() const
{
    return m_uButtonState;
}

} // namespace UpdUI
