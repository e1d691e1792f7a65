#include "TileLayoutUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "LayoutMathUI.h"
#include "ScrollbarUI.h"

namespace {

const int kUnboundedHeight = 9999;

bool TakesTile(const CControlUI* pControl)
{
    return pControl->IsVisible() && !pControl->IsFloat();
}

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_nColumns(2) { }

LPCWSTR CTileLayoutUI::GetControlClass() const
{
    return L"TileLayoutUI";
}

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"TileLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
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
    if (wcscmp(pstrName, L"columns") == 0)
        SetColumns(CAttributeValueUI::ParseInt(pstrValue));
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

// Half the child padding separates neighbouring tiles on each side; the outer edges
// of the first and last columns get none.
int CTileLayoutUI::TileInsetLeft(int iColumn) const
{
    return iColumn == 0 ? 0 : m_iChildPadding / 2;
}

int CTileLayoutUI::TileInsetRight(int iColumn) const
{
    return iColumn == m_nColumns - 1 ? 0 : m_iChildPadding / 2;
}

// Height of the row that starts with child iFirst: the tallest estimate of the row's
// children (each measured with its own limits) plus its vertical padding.
int CTileLayoutUI::MeasureRowHeight(int iFirst, int cxColumn) const
{
    int cyRow = 0;
    int iColumn = 0;
    for (int i = iFirst; i < m_items.GetSize() && iColumn < m_nColumns; i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!TakesTile(pControl)) continue;
        const RECT rcPadding = pControl->GetPadding();
        const bool bInner = iColumn != 0 && iColumn != m_nColumns - 1;
        int cxAvail = cxColumn - rcPadding.left - rcPadding.right - (bInner ? m_iChildPadding : m_iChildPadding / 2);
        cxAvail = CLayoutMathUI::ClampWidth(pControl, cxAvail);
        SIZE sz = pControl->EstimateSize(SIZE{ cxAvail, kUnboundedHeight });
        sz = CLayoutMathUI::ClampSize(pControl, sz);
        const int cy = sz.cy + rcPadding.top + rcPadding.bottom;
        if (cy > cyRow) cyRow = cy;
        iColumn++;
    }
    return cyRow;
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetViewRect();
    const bool bHorBar = m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
    const bool bVerBar = m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    int cxWidth = rc.right - rc.left;
    if (bHorBar) cxWidth += m_pHorizontalScrollBar->GetScrollRange();
    const int cxColumn = cxWidth / m_nColumns;

    const SIZE szScroll = GetScrollPos();
    const int iRowStartX = rc.left - szScroll.cx;
    int iTileX = iRowStartX;
    int iTileY = rc.top - szScroll.cy;
    int cyRow = 0;
    int nCount = 0;
    int cyNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const int iColumn = nCount % m_nColumns;
        if (iColumn == 0) cyRow = MeasureRowHeight(i, cxColumn);

        const RECT rcPadding = pControl->GetPadding();
        const RECT rcTile = { iTileX + rcPadding.left + TileInsetLeft(iColumn), iTileY + rcPadding.top,
                              iTileX + cxColumn - TileInsetRight(iColumn) - rcPadding.right, iTileY + cyRow };
        const int cxTile = rcTile.right - rcTile.left;
        const int cyTile = cyRow - rcPadding.top;
        SIZE sz = pControl->EstimateSize(SIZE{ cxTile, cyTile });
        if (sz.cx == 0) sz.cx = cxTile;
        if (sz.cy == 0) sz.cy = cyTile;
        sz = CLayoutMathUI::ClampSize(pControl, sz);

        const int iLeft = (rcTile.left + rcTile.right - sz.cx) / 2;
        const int iTop = (rcTile.top + rcTile.bottom - sz.cy) / 2;
        pControl->SetPos(RECT{ iLeft, iTop, iLeft + sz.cx, iTop + sz.cy });

        nCount++;
        if (nCount % m_nColumns == 0) {
            iTileX = iRowStartX;
            iTileY += cyRow + m_iChildPadding;
            cyRow = 0;
        } else {
            iTileX += cxColumn;
        }
        cyNeeded = rcTile.bottom - rc.top + (bVerBar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    }
    ProcessScrollBar(rc, 0, cyNeeded);
}
