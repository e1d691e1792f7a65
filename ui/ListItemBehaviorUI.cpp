#include "ListItemBehaviorUI.h"

#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"
#include "ScrollbarUI.h"

void CListItemBehaviorUI::InvalidateItem(CControlUI* pItem)
{
    if (!pItem->IsVisible()) return;
    CControlUI* pParent = pItem->GetParent();
    CContainerUI* pContainer =
        pParent != nullptr ? static_cast<CContainerUI*>(pParent->GetInterface(L"Container")) : nullptr;
    if (pContainer == nullptr) {
        pItem->Invalidate();
        return;
    }
    RECT rc = pContainer->GetPos();
    const RECT rcInset = pContainer->GetInset();
    rc.left += rcInset.left;
    rc.top += rcInset.top;
    rc.right -= rcInset.right;
    rc.bottom -= rcInset.bottom;
    CScrollbarUI* pVertical = pContainer->GetVerticalScrollBar();
    if (pVertical != nullptr && pVertical->IsVisible()) rc.right -= pVertical->GetFixedWidth();
    CScrollbarUI* pHorizontal = pContainer->GetHorizontalScrollBar();
    if (pHorizontal != nullptr && pHorizontal->IsVisible()) rc.bottom -= pHorizontal->GetFixedHeight();

    const RECT rcItem = pItem->GetPos();
    if (!::IntersectRect(&rc, &rc, &rcItem)) return;
    for (CControlUI* p = pParent->GetParent(); p != nullptr; p = p->GetParent()) {
        const RECT rcAncestor = p->GetPos();
        if (!::IntersectRect(&rc, &rc, &rcAncestor)) return;
    }
    if (pItem->GetManager() != nullptr) pItem->GetManager()->Invalidate(rc);
}

bool CListItemBehaviorUI::DrawStateImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                         CStringUI& sImage)
{
    if (sImage.IsEmpty()) return false;
    if (CPainterUI::DrawImageDesc(hDC, pManager, rcItem, rcPaint, sImage.GetData())) return true;
    sImage.Empty();
    return false;
}

void CListItemBehaviorUI::PaintBackground(CControlUI* pItem, HDC hDC, const RECT& rcPaint, TListInfoUI* pInfo,
                                          bool bHot, bool bSelected)
{
    if (pInfo == nullptr) return;
    const bool bEnabled = pItem->IsEnabled();
    const RECT& rcItem = pItem->GetPos();
    CWindowManagerUI* pManager = pItem->GetManager();

    DWORD dwColor = pInfo->dwBkColor;
    if (bHot) dwColor = pInfo->dwHotBkColor;
    if (bSelected) dwColor = pInfo->dwSelectedBkColor;
    if (!bEnabled) dwColor = pInfo->dwDisabledBkColor;
    if (dwColor != 0) CPainterUI::DrawColor(hDC, rcItem, dwColor);

    if (!bEnabled && DrawStateImage(hDC, pManager, rcItem, rcPaint, pInfo->sDisabledImage)) return;
    if (bSelected && DrawStateImage(hDC, pManager, rcItem, rcPaint, pInfo->sSelectedImage)) return;
    if (bHot && DrawStateImage(hDC, pManager, rcItem, rcPaint, pInfo->sHotImage)) return;
    CStringUI sOwnImage = pItem->GetBkImage();
    if (!sOwnImage.IsEmpty()) {
        if (!CPainterUI::DrawImageDesc(hDC, pManager, rcItem, rcPaint, sOwnImage.GetData())) pItem->SetBkImage(L"");
    } else if (DrawStateImage(hDC, pManager, rcItem, rcPaint, pInfo->sBkImage)) {
        return;
    }
    if (pInfo->dwLineColor == 0) return;
    const RECT rcLine = { rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom - 1 };
    CPainterUI::DrawLine(hDC, rcLine, 1, pInfo->dwLineColor);
}

DWORD CListItemBehaviorUI::TextColor(const TListInfoUI& info, bool bHot, bool bSelected, bool bEnabled)
{
    DWORD dwColor = info.dwTextColor;
    if (bHot) dwColor = info.dwHotTextColor;
    if (bSelected) dwColor = info.dwSelectedTextColor;
    if (!bEnabled) dwColor = info.dwDisabledTextColor;
    return dwColor;
}

void CListItemBehaviorUI::DrawCellText(HDC hDC, CWindowManagerUI* pManager, RECT rc, LPCWSTR pstrText,
                                       const TListInfoUI& info, DWORD dwColor, RECT* prcLinks, CStringUI* psLinks,
                                       int& nLinks)
{
    rc.left += info.rcTextPadding.left;
    rc.top += info.rcTextPadding.top;
    rc.right -= info.rcTextPadding.right;
    rc.bottom -= info.rcTextPadding.bottom;
    const UINT uStyle = info.uTextStyle | DT_SINGLELINE;
    if (info.bShowHtml) {
        CPainterUI::DrawMarkupText(hDC, pManager, rc, pstrText, dwColor, prcLinks, psLinks, nLinks, uStyle);
        return;
    }
    nLinks = 0;
    CPainterUI::DrawPlainText(hDC, pManager, rc, pstrText, dwColor, info.nFont, uStyle);
}

void CListItemBehaviorUI::OnLeftDown(CControlUI* pItem, IListItemUI* pFace, IListUI* pList)
{
    if (!pItem->IsEnabled()) return;
    if (pItem->GetManager() != nullptr) pItem->GetManager()->SendNotify(pItem, NotifyItemClick);
    TListInfoUI* pInfo = pFace->GetOwner() != nullptr ? pFace->GetOwner()->GetListInfo() : nullptr;
    if (pList != nullptr && pInfo != nullptr && pInfo->bMultiSelect) {
        pList->SelectItemMulti(pFace->GetIndex());
        return;
    }
    pFace->Select(true);
    InvalidateItem(pItem);
}

void CListItemBehaviorUI::OnRightDown(CControlUI* pItem, IListItemUI* pFace, IListUI* pList, UINT& uButtonState)
{
    if (!pItem->IsEnabled()) return;
    if (pItem->GetManager() != nullptr) pItem->GetManager()->SendNotify(pItem, NotifyItemRightDown);
    TListInfoUI* pInfo = pFace->GetOwner() != nullptr ? pFace->GetOwner()->GetListInfo() : nullptr;
    if (pList != nullptr && pInfo != nullptr && pInfo->bMultiSelect && !pFace->IsSelected())
        pList->SelectItemMulti(pFace->GetIndex());
    else
        pFace->Select(true);
    uButtonState |= UISTATE_CAPTURED;
    InvalidateItem(pItem);
}

// A release that follows no press on this row is not the row's.
bool CListItemBehaviorUI::OnRightUp(CControlUI* pItem, UINT& uButtonState, const TEventRecUI& event)
{
    if ((uButtonState & UISTATE_CAPTURED) == 0) return false;
    uButtonState &= ~UISTATE_CAPTURED;
    InvalidateItem(pItem);
    const RECT& rcItem = pItem->GetPos();
    if (::PtInRect(&rcItem, event.mousePoint) && pItem->GetManager() != nullptr)
        pItem->GetManager()->SendNotify(pItem, NotifyItemRightClick);
    return true;
}

bool CListItemBehaviorUI::HandleEvent(CControlUI* pItem, IListItemUI* pFace, IListUI* pList, UINT& uButtonState,
                                      TEventRecUI& event)
{
    switch (event.type) {
    case EventMouseMove:
    case EventButtonUp: return true;
    case EventMouseLeave:
        if ((uButtonState & UISTATE_HOT) != 0) {
            uButtonState &= ~UISTATE_HOT;
            InvalidateItem(pItem);
        }
        return true;
    case EventMouseEnter:
        if (pItem->IsEnabled()) {
            uButtonState |= UISTATE_HOT;
            InvalidateItem(pItem);
        }
        return true;
    case EventButtonDown: OnLeftDown(pItem, pFace, pList); return true;
    case EventRightButtonDown:
    case EventRightDoubleClick: OnRightDown(pItem, pFace, pList, uButtonState); return true;
    case EventRightButtonUp: return OnRightUp(pItem, uButtonState, event);
    case EventDoubleClick:
        if (!pItem->IsEnabled()) return false;
        pItem->Activate();
        InvalidateItem(pItem);
        return true;
    case EventKeyDown:
        if (event.keyChar != VK_RETURN || !pItem->IsEnabled()) return false;
        pItem->Activate();
        InvalidateItem(pItem);
        return true;
    default: return false;
    }
}
