#include "ListRowUI.h"

#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"
#include "ScrollBarUI.h"

namespace UpdUI {

void CListRowUI::InvalidateInParent(CControlUI* pRow)
{
    if (!pRow->IsVisible()) return;
    CControlUI* pParent = pRow->GetParent();
    CWindowManagerUI* pManager = pRow->GetManager();
    CContainerUI* pContainer =
        pParent != nullptr ? static_cast<CContainerUI*>(pParent->GetInterface(L"Container")) : nullptr;
    if (pContainer == nullptr || pManager == nullptr) {
        pRow->Invalidate();
        return;
    }
    RECT rc = pRow->GetPos();
    RECT rcParent = pContainer->GetPos();
    RECT rcInset = pContainer->GetInset();
    rcParent.left += rcInset.left;
    rcParent.top += rcInset.top;
    rcParent.right -= rcInset.right;
    rcParent.bottom -= rcInset.bottom;
    CScrollBarUI* pV = pContainer->GetVerticalScrollBar();
    CScrollBarUI* pH = pContainer->GetHorizontalScrollBar();
    if (pV != nullptr && pV->IsVisible()) rcParent.right -= pV->GetFixedWidth();
    if (pH != nullptr && pH->IsVisible()) rcParent.bottom -= pH->GetFixedHeight();
    if (!::IntersectRect(&rc, &rc, &rcParent)) return;
    for (CControlUI* p = pParent->GetParent(); p != nullptr; p = p->GetParent()) {
        if (!::IntersectRect(&rc, &rc, &p->GetPos())) return;
    }
    pManager->Invalidate(rc);
}

DWORD CListRowUI::TextColor(const TListInfoUI& info, UINT uState, bool bSelected, bool bEnabled)
{
    DWORD dwColor = info.dwTextColor;
    if ((uState & UISTATE_HOT) != 0) dwColor = info.dwHotTextColor;
    if (bSelected) dwColor = info.dwSelectedTextColor;
    if (!bEnabled) dwColor = info.dwDisabledTextColor;
    return dwColor;
}

void CListRowUI::DrawItemBk(CControlUI* pRow, HDC hDC, TListInfoUI* pInfo, int iIndex, UINT uState, bool bSelected,
                            CStringUI& ownBkImage)
{
    if (pInfo == nullptr) return;
    const bool bEvenOrAll = !pInfo->bAlternateBk || iIndex % 2 == 0;
    const bool bEnabled = pRow->IsEnabled();
    const bool bHot = (uState & UISTATE_HOT) != 0;
    DWORD dwColor = bEvenOrAll ? pInfo->dwBkColor : 0;
    if (bHot) dwColor = pInfo->dwHotBkColor;
    if (bSelected) dwColor = pInfo->dwSelectedBkColor;
    if (!bEnabled) dwColor = pInfo->dwDisabledBkColor;
    if (dwColor != 0) CPainterUI::DrawColor(hDC, pRow->GetPos(), pRow->GetAdjustColor(dwColor));

    if (!bEnabled) {
        if (pRow->DrawImageOrForget(hDC, pInfo->sDisabledImage)) return;
    } else if (bSelected) {
        if (pRow->DrawImageOrForget(hDC, pInfo->sSelectedImage)) return;
    } else if (bHot) {
        if (pRow->DrawImageOrForget(hDC, pInfo->sHotImage)) return;
    }

    if (!ownBkImage.IsEmpty()) {
        if (bEvenOrAll) pRow->DrawImageOrForget(hDC, ownBkImage);
    } else if (pRow->DrawImageOrForget(hDC, pInfo->sBkImage)) {
        return;
    }

    if (pInfo->dwLineColor != 0) {
        const RECT& rcItem = pRow->GetPos();
        RECT rcLine = { rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom - 1 };
        CPainterUI::DrawLine(hDC, rcLine, 1, pRow->GetAdjustColor(pInfo->dwLineColor));
    }
}

} // namespace UpdUI
