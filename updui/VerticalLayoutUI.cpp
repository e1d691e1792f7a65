#include "VerticalLayoutUI.h"

#include <cstdlib>
#include <cwchar>

#include "ScrollBarUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

CVerticalLayoutUI::CVerticalLayoutUI() : CSeparatorLayoutUI(true) { }

LPCWSTR CVerticalLayoutUI::GetControlClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    bool bVBar = !IsInvisibleBar(m_pVerticalScrollBar);
    bool bHBar = !IsInvisibleBar(m_pHorizontalScrollBar);
    if (bVBar) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (bHBar) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (m_items.GetCount() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (bHBar) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    // First pass: what the children with a height of their own take.
    int nAdjustables = 0;
    int cyFixed = 0;
    int nEstimateNum = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0) {
            nAdjustables++;
        } else {
            RECT rcPadding = pControl->GetPadding();
            cyFixed += ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight()) + rcPadding.top +
                rcPadding.bottom;
        }
        nEstimateNum++;
    }
    if (nEstimateNum > 0) cyFixed += (nEstimateNum - 1) * m_iChildPadding;

    int cyExpand = 0;
    if (nAdjustables > 0) {
        cyExpand = (szAvailable.cy - cyFixed) / nAdjustables;
        if (cyExpand < 0) cyExpand = 0;
    }

    // Second pass: place them; the last adjustable child takes what is left once the
    // fixed children after it (with their paddings and the child padding between
    // them) have their room.
    int iPosY = rc.top - (bVBar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    int iPosX = rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT rcPadding = pControl->GetPadding();
        szRemaining.cy -= rcPadding.top;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cy == 0) {
            iAdjustable++;
            sz.cy = cyExpand;
            if (iAdjustable == nAdjustables) {
                sz.cy = szRemaining.cy - rcPadding.bottom - cyFixedRemaining;
                if (sz.cy < 0) sz.cy = 0;
            }
            sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        } else {
            sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
            cyFixedRemaining -= sz.cy + rcPadding.top + rcPadding.bottom;
        }
        cyFixedRemaining -= m_iChildPadding;
        sz.cx = pControl->GetFixedWidth();
        if (sz.cx == 0) sz.cx = szAvailable.cx - rcPadding.left - rcPadding.right;
        if (sz.cx < 0) sz.cx = 0;
        sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());

        RECT rcCtrl = { iPosX + rcPadding.left, iPosY + rcPadding.top, iPosX + rcPadding.left + sz.cx,
                        iPosY + rcPadding.top + sz.cy + rcPadding.bottom };
        pControl->SetPos(rcCtrl);

        iPosY += sz.cy + m_iChildPadding + rcPadding.top + rcPadding.bottom;
        cyNeeded += rcPadding.top + rcPadding.bottom + sz.cy;
        szRemaining.cy -= sz.cy + m_iChildPadding + rcPadding.bottom;
    }
    if (nEstimateNum > 0) cyNeeded += (nEstimateNum - 1) * m_iChildPadding;
    ProcessScrollBar(rc, 0, cyNeeded);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepSize;
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_iSepSize = iHeight;
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepheight") == 0)
        SetSepHeight(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else
        CSeparatorLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace UpdUI
