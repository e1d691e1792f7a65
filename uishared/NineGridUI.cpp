#include "NineGridUI.h"

#include "RectUI.h"

namespace UIShared {

void CNineGridUI::AddCentreTiles(const RECT& rcDest, const RECT& rcSource, bool bTiledX, bool bTiledY,
                                 std::vector<TGridCellUI>& cells)
{
    const CRectUI dest(rcDest), source(rcSource);
    const int cxTile = source.GetWidth(), cyTile = source.GetHeight();
    if (cxTile <= 0 || cyTile <= 0 || dest.GetWidth() <= 0 || dest.GetHeight() <= 0) return;
    const int cxStep = bTiledX ? cxTile : dest.GetWidth();
    const int cyStep = bTiledY ? cyTile : dest.GetHeight();
    for (int y = rcDest.top; y < rcDest.bottom; y += cyStep) {
        const int cy = y + cyStep > rcDest.bottom ? rcDest.bottom - y : cyStep;
        const int cySource = bTiledY ? cy : cyTile;
        for (int x = rcDest.left; x < rcDest.right; x += cxStep) {
            const int cx = x + cxStep > rcDest.right ? rcDest.right - x : cxStep;
            const int cxSource = bTiledX ? cx : cxTile;
            cells.push_back(
                TGridCellUI{ CRectUI(x, y, x + cx, y + cy),
                             CRectUI(rcSource.left, rcSource.top, rcSource.left + cxSource, rcSource.top + cySource) });
        }
    }
}

int CNineGridUI::BorderCells(const RECT& rc, const RECT& src, const RECT& cr, TGridCellUI* pCells)
{
    int n = 0;
    auto add = [&](bool bWanted, const CRectUI& rcDest, const CRectUI& rcSource) {
        if (bWanted) pCells[n++] = TGridCellUI{ rcDest, rcSource };
    };
    const int l = cr.left, t = cr.top, r = cr.right, b = cr.bottom;
    add(l > 0 && t > 0, CRectUI(rc.left, rc.top, rc.left + l, rc.top + t),
        CRectUI(src.left, src.top, src.left + l, src.top + t));
    add(t > 0, CRectUI(rc.left + l, rc.top, rc.right - r, rc.top + t),
        CRectUI(src.left + l, src.top, src.right - r, src.top + t));
    add(r > 0 && t > 0, CRectUI(rc.right - r, rc.top, rc.right, rc.top + t),
        CRectUI(src.right - r, src.top, src.right, src.top + t));
    add(l > 0, CRectUI(rc.left, rc.top + t, rc.left + l, rc.bottom - b),
        CRectUI(src.left, src.top + t, src.left + l, src.bottom - b));
    add(r > 0, CRectUI(rc.right - r, rc.top + t, rc.right, rc.bottom - b),
        CRectUI(src.right - r, src.top + t, src.right, src.bottom - b));
    add(l > 0 && b > 0, CRectUI(rc.left, rc.bottom - b, rc.left + l, rc.bottom),
        CRectUI(src.left, src.bottom - b, src.left + l, src.bottom));
    add(b > 0, CRectUI(rc.left + l, rc.bottom - b, rc.right - r, rc.bottom),
        CRectUI(src.left + l, src.bottom - b, src.right - r, src.bottom));
    add(r > 0 && b > 0, CRectUI(rc.right - r, rc.bottom - b, rc.right, rc.bottom),
        CRectUI(src.right - r, src.bottom - b, src.right, src.bottom));
    return n;
}

void CNineGridUI::AddBorderCells(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners,
                                 std::vector<TGridCellUI>& cells)
{
    TGridCellUI border[MAX_BORDER_CELLS];
    const int nBorder = BorderCells(rc, rcBmpPart, rcCorners, border);
    cells.insert(cells.end(), border, border + nBorder);
}

TGridCellUI CNineGridUI::StretchedCentre(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners)
{
    return TGridCellUI{ DestCentre(rc, rcCorners), SourceCentre(rcBmpPart, rcCorners) };
}

RECT CNineGridUI::DestCentre(const RECT& rc, const RECT& rcCorners)
{
    return CRectUI(rc.left + rcCorners.left, rc.top + rcCorners.top, rc.right - rcCorners.right,
                   rc.bottom - rcCorners.bottom);
}

RECT CNineGridUI::SourceCentre(const RECT& rcBmpPart, const RECT& rcCorners)
{
    return CRectUI(rcBmpPart.left + rcCorners.left, rcBmpPart.top + rcCorners.top, rcBmpPart.right - rcCorners.right,
                   rcBmpPart.bottom - rcCorners.bottom);
}

} // namespace UIShared
