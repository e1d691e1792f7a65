#include "ListContainerElementUI.h"

#include <cwchar>

#include "ControlStateUI.h"
#include "FaceOfUI.h"
#include "ListItemBehaviorUI.h"

CListContainerElementUI::CListContainerElementUI()
    : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr), m_pList(nullptr)
{ }

LPCWSTR CListContainerElementUI::GetControlClass() const
{
    return L"ListContainerElement";
}

LPVOID CListContainerElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const
{
    return UIFLAG_WANTRETURN;
}

bool CListContainerElementUI::Activate()
{
    if (!CContainerUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemActivate);
    return true;
}

void CListContainerElementUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    if (IsVisible() || !m_bSelected) return;
    m_bSelected = false;
    if (m_pOwner != nullptr) m_pOwner->SelectItem(-1);
}

void CListContainerElementUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CListContainerElementUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    if (CListItemBehaviorUI::HandleEvent(this, this, m_pList, m_uButtonState, event)) return;
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CListContainerElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"selected") == 0)
        Select(true);
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
    CListItemBehaviorUI::PaintBackground(this, hDC, rcTemp, pInfo, IsHot(), m_bSelected);
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
    m_pOwner = FaceOfUI<IListOwnerUI>(pOwner, L"ListOwner");
    m_pList = pOwner != nullptr ? static_cast<IListUI*>(pOwner->GetInterface(L"List")) : nullptr;
}

bool CListContainerElementUI::IsSelected() const
{
    return m_bSelected;
}

bool CListContainerElementUI::Select(bool bSelect)
{
    if (!IsEnabled()) return false;
    const bool bChanged = m_bSelected != bSelect;
    m_bSelected = bSelect;
    if (bSelect && bChanged && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex);
    SetMouseChildEnabled(m_bSelected);
    CListItemBehaviorUI::InvalidateItem(this);
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

bool CListContainerElementUI::MarkSelected(bool bSelect)
{
    if (!IsEnabled()) return false;
    if (m_bSelected == bSelect) return true;
    m_bSelected = bSelect;
    CListItemBehaviorUI::InvalidateItem(this);
    return true;
}

bool CListContainerElementUI::IsHot() const
{
    return (m_uButtonState & UISTATE_HOT) != 0;
}
