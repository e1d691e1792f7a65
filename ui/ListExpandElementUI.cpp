#include "ListExpandElementUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "LayoutMathUI.h"
#include "ListItemBehaviorUI.h"

CListExpandElementUI::CListExpandElementUI()
    : m_bExpanded(false), m_bHideSelf(false), m_rcExpander(), m_pSubContainer(nullptr)
{ }

CListExpandElementUI::~CListExpandElementUI()
{
    delete m_pSubContainer;
}

LPCWSTR CListExpandElementUI::GetControlClass() const
{
    return L"ListExpandElementUI";
}

// A text row in every respect but its name: "ListTextElement" is not answered.
LPVOID CListExpandElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr &&
        (wcscmp(pstrName, L"ListExpandElement") == 0 || wcscmp(pstrName, L"ListLabelElement") == 0))
        return this;
    return CListElementUI::GetInterface(pstrName);
}

CContainerUI* CListExpandElementUI::ShownContainer() const
{
    return m_bExpanded ? m_pSubContainer : nullptr;
}

void CListExpandElementUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent)
{
    if (m_pSubContainer != nullptr) m_pSubContainer->SetManager(pManager, this);
    CListTextElementUI::SetManager(pManager, pParent);
}

int CListExpandElementUI::ContainerHeight(SIZE szAvailable) const
{
    return CLayoutMathUI::ClampHeight(m_pSubContainer, m_pSubContainer->EstimateSize(szAvailable).cy);
}

void CListExpandElementUI::SetPos(RECT rc)
{
    CListTextElementUI::SetPos(rc);
    CContainerUI* pSub = ShownContainer();
    if (pSub == nullptr) return;
    const RECT p = pSub->GetPadding();
    if (m_bHideSelf) {
        pSub->SetPos(RECT{ rc.left + p.left, rc.top + p.top, rc.right - p.right, rc.bottom - p.bottom });
        return;
    }
    const int cy = ContainerHeight(SIZE{ rc.right - rc.left, rc.bottom - rc.top });
    RECT rcSub = { rc.left + p.left, 0, rc.right - p.right, rc.bottom - p.bottom };
    if (m_cxyFixed.cy != 0)
        rcSub.top = rc.top + m_cxyFixed.cy + p.top;
    else if (cy != 0)
        rcSub.top = rc.bottom - p.bottom - cy;
    else
        rcSub.top = (rc.top + rc.bottom) / 2 + p.top;
    pSub->SetPos(rcSub);
}

void CListExpandElementUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    CListTextElementUI::SetVisible(bVisible);
    if (ShownContainer() != nullptr) m_pSubContainer->SetInternalVisible(bVisible);
}

void CListExpandElementUI::SetInternalVisible(bool bVisible)
{
    if (ShownContainer() != nullptr) m_pSubContainer->SetInternalVisible(bVisible);
    CListTextElementUI::SetInternalVisible(bVisible);
}

void CListExpandElementUI::SetMouseEnabled(bool bEnable)
{
    CListTextElementUI::SetMouseEnabled(bEnable);
    if (m_pSubContainer != nullptr) m_pSubContainer->SetMouseEnabled(bEnable);
}

CControlUI* CListExpandElementUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if (ShownContainer() != nullptr) {
        CControlUI* pResult = m_pSubContainer->FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) return pResult;
    }
    return CListTextElementUI::FindControl(Proc, pData, uFlags);
}

bool CListExpandElementUI::HandleExpandEvent(TEventRecUI& event)
{
    switch (event.type) {
    case EventButtonDown:
        if (!IsEnabled()) return false;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemClick);
        Select(true);
        CListItemBehaviorUI::InvalidateItem(this);
        return true;
    case EventMouseMove: return true;
    case EventButtonUp: {
        TListInfoUI* pInfo = m_pList != nullptr ? m_pList->GetListInfo() : nullptr;
        if (pInfo == nullptr || !pInfo->bExpandable) return true;
        RECT rcExpander = m_rcExpander;
        ::OffsetRect(&rcExpander, m_rcItem.left, m_rcItem.top);
        if (::PtInRect(&rcExpander, event.mousePoint)) Expand(!m_bExpanded);
        return true;
    }
    case EventKeyDown:
        if (event.keyChar == VK_LEFT) {
            Expand(false);
            return true;
        }
        if (event.keyChar == VK_RIGHT) {
            Expand(true);
            return true;
        }
        return false;
    case EventMouseEnter:
        m_uButtonState |= UISTATE_HOT;
        CListItemBehaviorUI::InvalidateItem(this);
        return true;
    case EventMouseLeave:
        m_uButtonState &= ~UISTATE_HOT;
        CListItemBehaviorUI::InvalidateItem(this);
        return true;
    default: return false;
    }
}

void CListExpandElementUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pList != nullptr)
            m_pList->DoEvent(event);
        else
            DoTextEvent(event);
        return;
    }
    if (HandleExpandEvent(event)) return;
    DoTextEvent(event);
}

void CListExpandElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"expander") == 0)
        SetExpanderRect(CAttributeValueUI::ParseRect(pstrValue));
    else if (wcscmp(pstrName, L"hideself") == 0)
        SetHideSelf(CAttributeValueUI::ParseBool(pstrValue));
    else
        CListTextElementUI::SetAttribute(pstrName, pstrValue);
}

SIZE CListExpandElementUI::EstimateSize(SIZE szAvailable)
{
    CContainerUI* pSub = ShownContainer();
    if (pSub == nullptr) return CListTextElementUI::EstimateSize(szAvailable);
    if (m_bHideSelf) return pSub->EstimateSize(szAvailable);
    const int cy = ContainerHeight(szAvailable);
    if (m_cxyFixed.cy != 0) return SIZE{ m_cxyFixed.cx, m_cxyFixed.cy + cy };
    return SIZE{ m_cxyFixed.cx, CListTextElementUI::EstimateSize(szAvailable).cy + cy };
}

void CListExpandElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    CListElementUI::DoPaint(hDC, rcPaint);
    if (ShownContainer() != nullptr) m_pSubContainer->DoPaint(hDC, rcPaint);
}

void CListExpandElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    CContainerUI* pSub = ShownContainer();
    if (pSub == nullptr) {
        CListTextElementUI::DrawItemText(hDC, rcItem);
        return;
    }
    if (m_bHideSelf) return;
    RECT rcText = rcItem;
    rcText.bottom -= pSub->GetHeight();
    CListTextElementUI::DrawItemText(hDC, rcText);
}

bool CListExpandElementUI::IsExpanded() const
{
    return m_bExpanded;
}

// The list decides; a refusal leaves the new state in place, as the list has
// already been told.
bool CListExpandElementUI::Expand(bool bExpand)
{
    if (m_pList == nullptr) return false;
    if (m_bExpanded == bExpand) return true;
    m_bExpanded = bExpand;
    if (!m_pList->ExpandItem(m_iIndex, bExpand)) return false;
    if (!bExpand) {
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemCollapse);
        return true;
    }
    delete m_pSubContainer;
    m_pSubContainer = nullptr;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemExpand);
    if (m_pSubContainer != nullptr && m_pManager != nullptr) m_pManager->InitControls(m_pSubContainer, this);
    return true;
}

CContainerUI* CListExpandElementUI::GetExpandContainer() const
{
    return m_pSubContainer;
}

void CListExpandElementUI::SetExpandContainer(CContainerUI* pContainer)
{
    if (pContainer == m_pSubContainer) return;
    delete m_pSubContainer;
    m_pSubContainer = pContainer;
    if (m_pSubContainer != nullptr) m_pSubContainer->SetManager(m_pManager, this);
    NeedParentUpdate();
}

RECT CListExpandElementUI::GetExpanderRect() const
{
    return m_rcExpander;
}

void CListExpandElementUI::SetExpanderRect(RECT rc)
{
    m_rcExpander = rc;
}

bool CListExpandElementUI::IsHideSelf() const
{
    return m_bHideSelf;
}

void CListExpandElementUI::SetHideSelf(bool bHideSelf)
{
    m_bHideSelf = bHideSelf;
    NeedParentUpdate();
}
