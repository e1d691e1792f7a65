#include "MenuListElementUI.h"

#include <cwchar>

#include "ControlStateUI.h"
#include "FaceOfUI.h"

CMenuListElementUI::CMenuListElementUI() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(nullptr) { }

LPCWSTR CMenuListElementUI::GetControlClass() const
{
    return L"MenuListElementUI";
}

LPVOID CMenuListElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IMenuListItemUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

UINT CMenuListElementUI::GetControlFlags() const
{
    return UIFLAG_WANTRETURN;
}

bool CMenuListElementUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemActivate);
    return true;
}

void CMenuListElementUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner != nullptr) m_pOwner->SelectItem(-1);
    }
}

void CMenuListElementUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CMenuListElementUI::PassToOwner(TEventRecUI& event)
{
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CMenuListElementUI::DoEvent(TEventRecUI& event)
{
    bool bActivate = event.type == EventDoubleClick || (event.type == EventKeyDown && event.keyChar == VK_RETURN);
    if (bActivate && IsEnabled()) {
        Activate();
        Invalidate();
        return;
    }
    PassToOwner(event);
}

void CMenuListElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"selected") == 0)
        Select(true);
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

int CMenuListElementUI::GetIndex() const
{
    return m_iIndex;
}

void CMenuListElementUI::SetIndex(int iIndex)
{
    m_iIndex = iIndex;
}

IMenuListOwnerUI* CMenuListElementUI::GetOwner()
{
    return m_pOwner;
}

void CMenuListElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwner = FaceOfUI<IMenuListOwnerUI>(pOwner, L"ListOwner");
}

bool CMenuListElementUI::IsSelected() const
{
    return m_bSelected;
}

bool CMenuListElementUI::Select(bool bSelect)
{
    if (!IsEnabled()) return false;
    bool bChangedToSelected = bSelect && !m_bSelected;
    m_bSelected = bSelect;
    if (bChangedToSelected && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex);
    Invalidate();
    return true;
}

bool CMenuListElementUI::IsExpanded() const
{
    return false;
}

bool CMenuListElementUI::Expand(bool)
{
    return false;
}

CStringUI CMenuListElementUI::GetLabelName() const
{
    return m_sLabelName;
}

CStringUI CMenuListElementUI::GetNextMenu() const
{
    return m_sNextMenu;
}

bool CMenuListElementUI::IsHot() const
{
    return (m_uButtonState & UISTATE_HOT) != 0;
}
