#include "ListElementUI.h"

#include <cwchar>

#include "ControlStateUI.h"
#include "FaceOfUI.h"
#include "ListItemBehaviorUI.h"

CListElementUI::CListElementUI()
    : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr), m_pList(nullptr)
{ }

LPVOID CListElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

UINT CListElementUI::GetControlFlags() const
{
    return UIFLAG_WANTRETURN;
}

bool CListElementUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemActivate);
    return true;
}

void CListElementUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    if (IsVisible() || !m_bSelected) return;
    m_bSelected = false;
    if (m_pOwner != nullptr) m_pOwner->SelectItem(-1);
}

void CListElementUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CListElementUI::DoLabelEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    if (CListItemBehaviorUI::HandleEvent(this, this, m_pList, m_uButtonState, event)) return;
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CListElementUI::DoEvent(TEventRecUI& event)
{
    DoLabelEvent(event);
}

void CListElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"selected") == 0)
        Select(true);
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

void CListElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    CListItemBehaviorUI::PaintBackground(this, hDC, m_rcPaint, GetInfo(), IsHot(), m_bSelected);
    DrawItemText(hDC, m_rcItem);
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
    m_pOwner = FaceOfUI<IListOwnerUI>(pOwner, L"ListOwner");
    m_pList = pOwner != nullptr ? static_cast<IListUI*>(pOwner->GetInterface(L"List")) : nullptr;
}

bool CListElementUI::IsSelected() const
{
    return m_bSelected;
}

// The owner is told only of a new selection; it calls back here, which then changes
// nothing.
bool CListElementUI::Select(bool bSelect)
{
    if (!IsEnabled()) return false;
    const bool bChanged = m_bSelected != bSelect;
    m_bSelected = bSelect;
    if (bSelect && bChanged && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex);
    CListItemBehaviorUI::InvalidateItem(this);
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

bool CListElementUI::MarkSelected(bool bSelect)
{
    if (!IsEnabled()) return false;
    if (m_bSelected == bSelect) return true;
    m_bSelected = bSelect;
    CListItemBehaviorUI::InvalidateItem(this);
    return true;
}

bool CListElementUI::IsHot() const
{
    return (m_uButtonState & UISTATE_HOT) != 0;
}

TListInfoUI* CListElementUI::GetInfo() const
{
    return m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
}

DWORD CListElementUI::CurrentTextColor() const
{
    TListInfoUI* pInfo = GetInfo();
    if (pInfo == nullptr) return 0;
    return CListItemBehaviorUI::TextColor(*pInfo, IsHot(), m_bSelected, IsEnabled());
}
