#include "ListElementUI.h"

#include <cwchar>

#include "ControlStateUI.h"
#include "ListRowUI.h"

namespace UpdUI {

CListElementUI::CListElementUI() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr) { }

LPCWSTR CListElementUI::GetControlClass() const
{
    return L"ListElementUI";
}

LPVOID CListElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (pstrName != nullptr && wcscmp(pstrName, L"ListElement") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

UINT CListElementUI::GetControlFlags() const
{
    return UIFLAG_WANTRETURN;
}

bool CListElementUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"itemactivate");
    return true;
}

void CListElementUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner != nullptr) m_pOwner->SelectItem(-1, false);
    }
}

void CListElementUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CListElementUI::DoEvent(TEventRecUI& event)
{
    if (!(IsMouseEvent(event.type) && !IsMouseEnabled()) && IsEnabled()) {
        if (event.type == EventDoubleClick || (event.type == EventKeyDown && event.keyChar == VK_RETURN)) {
            Activate();
            CListRowUI::InvalidateInParent(this);
            return;
        }
    }
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CListElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName != nullptr && pstrValue != nullptr && wcscmp(pstrName, L"selected") == 0)
        Select(true);
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

int CListElementUI::GetIndex() const
{
    return m_iIndex;
}

void CListElementUI::SetIndex(int iIndex)
{
    m_iIndex = iIndex;
}

IListOwnerUI* CListElementUI::GetOwner()
{
    return m_pOwner;
}

void CListElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

bool CListElementUI::IsSelected() const
{
    return m_bSelected;
}

// The owner is told first so that it can drop the row it had selected; it calls back
// here, and the unchanged flag ends that round trip.
bool CListElementUI::Select(bool bSelect)
{
    if (!IsEnabled()) return false;
    if (bSelect == m_bSelected) return true;
    m_bSelected = bSelect;
    if (bSelect && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex, false);
    CListRowUI::InvalidateInParent(this);
    return true;
}

bool CListElementUI::IsExpanded() const
{
    return false;
}

bool CListElementUI::Expand(bool /*bExpand*/)
{
    return false;
}

UINT CListElementUI::GetState() const
{
    return m_uButtonState;
}

void CListElementUI::DrawItemBk(HDC hDC, const RECT& /*rcItem*/)
{
    TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
    CListRowUI::DrawItemBk(this, hDC, pInfo, m_iIndex, m_uButtonState, m_bSelected, m_sBkImage);
}

} // namespace UpdUI
