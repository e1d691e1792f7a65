#include "TileLayoutUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ScrollBarUI.h"

namespace UpdUI {

namespace {

const int kMeasureHeight = 9999;

bool IsPlaced(const CControlUI* pControl)
{
    return pControl->IsVisible() && !pControl->IsFloat();
}

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_szItem(), m_nColumns(1) { }

LPCWSTR CTileLayoutUI::GetControlClass() const
{
    return L"TileLayoutUI";
}

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"TileLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

SIZE CTileLayoutUI::GetItemSize() const
{
    return m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE szItem)
{
    if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) return;
    m_szItem = szItem;
    NeedUpdate();
}

int CTileLayoutUI::GetColumns() const
{
    return m_nColumns;
}

void CTileLayoutUI::SetColumns(int nCols)
{
    if (nCols <= 0) return;
    m_nColumns = nCols;
    NeedUpdate();
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"itemsize") == 0) {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        SIZE sz = { rc.left, rc.top };
        SetItemSize(sz);
    } else if (wcscmp(pstrName, L"columns") == 0) {
        SetColumns(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

// Every member's share of the tile, less its padding and its part of the child padding
// (half at the row's ends, whole in its middle), bounded by the first member's limits.
int CTileLayoutUI::MeasureRow(int iFirst, int iCount, int cxTile) const
{
    CControlUI* pFirst = static_cast<CControlUI*>(m_items[iFirst]);
    int cyRow = 0;
    int iIndex = iCount;
    for (int i = iFirst; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!IsPlaced(pControl)) continue;
        RECT rcPadding = pControl->GetPadding();
        SIZE szAvailable = { cxTile - rcPadding.left - rcPadding.right, kMeasureHeight };
        bool bRowEnd = (iIndex % m_nColumns == 0) || ((iIndex + 1) % m_nColumns == 0);
        szAvailable.cx -= bRowEnd ? m_iChildPadding / 2 : m_iChildPadding;
        szAvailable.cx = ClampToLimits(szAvailable.cx, pFirst->GetMinWidth(), pFirst->GetMaxWidth());
        SIZE szTile = pControl->EstimateSize(szAvailable);
        szTile.cx = ClampToLimits(szTile.cx, pFirst->GetMinWidth(), pFirst->GetMaxWidth());
        szTile.cy = ClampToLimits(szTile.cy, pFirst->GetMinHeight(), pFirst->GetMaxHeight());
        int cyMember = szTile.cy + rcPadding.top + rcPadding.bottom;
        if (cyMember > cyRow) cyRow = cyMember;
        if (++iIndex % m_nColumns == 0) break;
    }
    return cyRow;
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetInnerRect();
    if (m_items.GetCount() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    bool bVBar = !IsInvisibleBar(m_pVerticalScrollBar);
    bool bHBar = !IsInvisibleBar(m_pHorizontalScrollBar);
    if (bVBar) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (bHBar) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

    // A layout narrower than one item, or squeezed to nothing by its inset, still has
    // one column: the tile arithmetic below divides by it.
    if (m_szItem.cx > 0) m_nColumns = (rc.right - rc.left) / m_szItem.cx;
    if (m_nColumns < 1) m_nColumns = 1;

    int cxWidth = rc.right - rc.left;
    if (bHBar) cxWidth += m_pHorizontalScrollBar->GetScrollRange();
    int cxTile = cxWidth / m_nColumns;

    int iRowStartX = rc.left - (bHBar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    POINT ptTile = { iRowStartX, rc.top - (bVBar ? m_pVerticalScrollBar->GetScrollPos() : 0) };
    int cyRow = 0;
    int iCount = 0;
    int cyNeeded = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        int iTileRight = ptTile.x + cxTile;
        if (iCount % m_nColumns == 0) cyRow = MeasureRow(i, iCount, cxTile);

        RECT rcPadding = pControl->GetPadding();
        bool bRowStart = iCount % m_nColumns == 0;
        bool bRowEnd = (iCount + 1) % m_nColumns == 0;
        RECT rcTile = { ptTile.x + rcPadding.left, ptTile.y + rcPadding.top, iTileRight - rcPadding.right,
                        ptTile.y + cyRow };
        if (!bRowStart) rcTile.left += m_iChildPadding / 2;
        if (!bRowEnd) rcTile.right -= m_iChildPadding / 2;

        SIZE szAvailable = { rcTile.right - rcTile.left, cyRow - rcPadding.top };
        SIZE szTile = pControl->EstimateSize(szAvailable);
        if (szTile.cx == 0) szTile.cx = szAvailable.cx;
        if (szTile.cy == 0) szTile.cy = szAvailable.cy;
        szTile.cx = ClampToLimits(szTile.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        szTile.cy = ClampToLimits(szTile.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        int iLeft = (rcTile.left + rcTile.right - szTile.cx) / 2;
        int iTop = (rcTile.top + rcTile.bottom - szTile.cy) / 2;
        RECT rcPos = { iLeft, iTop, iLeft + szTile.cx, iTop + szTile.cy };
        pControl->SetPos(rcPos);

        if (++iCount % m_nColumns == 0) {
            ptTile.x = iRowStartX;
            ptTile.y += cyRow + m_iChildPadding;
            cyRow = 0;
        } else {
            ptTile.x = iTileRight;
        }
        cyNeeded = rcTile.bottom - rc.top + (bVBar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    }
    ProcessScrollBar(rc, 0, cyNeeded);
}

} // namespace UpdUI
