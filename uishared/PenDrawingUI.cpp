#include "PenDrawingUI.h"

#include "PaintCacheUI.h"

namespace UIShared {

void CPenDrawingUI::Line(HDC hDC, const RECT& rc, int nSize, COLORREF clr)
{
    HPEN hPen = CPaintCacheUI::ForThisThread().Pen(PS_SOLID, nSize, clr);
    if (hPen == nullptr) return;
    HGDIOBJ hOldPen = SelectObject(hDC, hPen);
    POINT ptTemp = {};
    MoveToEx(hDC, rc.left, rc.top, &ptTemp);
    LineTo(hDC, rc.right, rc.bottom);
    SelectObject(hDC, hOldPen);
}

void CPenDrawingUI::Frame(HDC hDC, const RECT& rc, int nSize, COLORREF clr)
{
    HPEN hPen = CPaintCacheUI::ForThisThread().Pen(PS_SOLID | PS_INSIDEFRAME, nSize, clr);
    if (hPen == nullptr) return;
    HGDIOBJ hOldPen = SelectObject(hDC, hPen);
    HGDIOBJ hOldBrush = SelectObject(hDC, GetStockObject(HOLLOW_BRUSH));
    Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    SelectObject(hDC, hOldBrush);
    SelectObject(hDC, hOldPen);
}

} // namespace UIShared
