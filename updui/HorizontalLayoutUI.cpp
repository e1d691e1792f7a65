#include "HorizontalLayoutUI.h"

#include <cstdlib>
#include <cwchar>

#include "ScrollBarUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CSeparatorLayoutUI(false) { }

LPCWSTR CHorizontalLayoutUI::GetControlClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

// Never asks for a vertical bar: the children take the full inner height.
void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_items.GetCount() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    bool bVBar = !IsInvisibleBar(m_pVerticalScrollBar);
    bool bHBar = !IsInvisibleBar(m_pHorizontalScrollBar);
    if (bVBar) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (bHBar) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (bHBar) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();

    int nAdjustables = 0;
    int cxFixed = 0;
    int nEstimateNum = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) {
            nAdjustables++;
        } else {
            RECT rcPadding = pControl->GetPadding();
            cxFixed += ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth()) + rcPadding.left +
                rcPadding.right;
        }
        nEstimateNum++;
    }
    if (nEstimateNum > 0) cxFixed += (nEstimateNum - 1) * m_iChildPadding;

    int cxExpand = 0;
    if (nAdjustables > 0) {
        cxExpand = (szAvailable.cx - cxFixed) / nAdjustables;
        if (cxExpand < 0) cxExpand = 0;
    }

    int iPosX = rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int cxFixedRemaining = cxFixed;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT rcPadding = pControl->GetPadding();
        szRemaining.cx -= rcPadding.left;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cx == 0) {
            iAdjustable++;
            sz.cx = cxExpand;
            if (iAdjustable == nAdjustables) {
                sz.cx = szRemaining.cx - rcPadding.right - cxFixedRemaining;
                if (sz.cx < 0) sz.cx = 0;
            }
            sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        } else {
            sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
            cxFixedRemaining -= sz.cx + rcPadding.left + rcPadding.right;
        }
        cxFixedRemaining -= m_iChildPadding;
        sz.cy = pControl->GetFixedHeight();
        if (sz.cy == 0) sz.cy = rc.bottom - rc.top - rcPadding.top - rcPadding.bottom;
        if (sz.cy < 0) sz.cy = 0;
        sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());

        RECT rcCtrl = { iPosX + rcPadding.left, rc.top + rcPadding.top,
                        iPosX + rcPadding.left + sz.cx + rcPadding.right, rc.top + rcPadding.top + sz.cy };
        pControl->SetPos(rcCtrl);

        iPosX += sz.cx + m_iChildPadding + rcPadding.left + rcPadding.right;
        szRemaining.cx -= sz.cx + m_iChildPadding + rcPadding.right;
    }
    ProcessScrollBar(rc, 0, 0);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepSize;
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_iSepSize = iWidth;
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepwidth") == 0)
        SetSepWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else
        CSeparatorLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace UpdUI
