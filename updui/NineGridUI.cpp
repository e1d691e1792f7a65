#include "NineGridUI.h"

namespace UpdUI {

namespace {

RECT MakeRect(int l, int t, int r, int b)
{
    RECT rc = { l, t, r, b };
    return rc;
}

int RectWidth(const RECT& rc)
{
    return rc.right - rc.left;
}

int RectHeight(const RECT& rc)
{
    return rc.bottom - rc.top;
}

} // namespace

void CNineGridUI::AddCentreTiles(const RECT& rcDest, const RECT& rcSource, bool bTiledX, bool bTiledY,
                                 std::vector<TGridCellUI>& cells)
{
    const int cxTile = RectWidth(rcSource), cyTile = RectHeight(rcSource);
    if (cxTile <= 0 || cyTile <= 0 || RectWidth(rcDest) <= 0 || RectHeight(rcDest) <= 0) return;
    const int cxStep = bTiledX ? cxTile : RectWidth(rcDest);
    const int cyStep = bTiledY ? cyTile : RectHeight(rcDest);
    for (int y = rcDest.top; y < rcDest.bottom; y += cyStep) {
        const int cy = y + cyStep > rcDest.bottom ? rcDest.bottom - y : cyStep;
        const int cySource = bTiledY ? cy : cyTile;
        for (int x = rcDest.left; x < rcDest.right; x += cxStep) {
            const int cx = x + cxStep > rcDest.right ? rcDest.right - x : cxStep;
            const int cxSource = bTiledX ? cx : cxTile;
            cells.push_back(TGridCellUI{
                MakeRect(x, y, x + cx, y + cy),
                MakeRect(rcSource.left, rcSource.top, rcSource.left + cxSource, rcSource.top + cySource) });
        }
    }
}

void CNineGridUI::AddBorderCells(const RECT& rc, const RECT& src, const RECT& cr, std::vector<TGridCellUI>& cells)
{
    auto add = [&](bool bWanted, RECT rcDest, RECT rcSource) {
        if (bWanted) cells.push_back(TGridCellUI{ rcDest, rcSource });
    };
    const int l = cr.left, t = cr.top, r = cr.right, b = cr.bottom;
    add(l > 0 && t > 0, MakeRect(rc.left, rc.top, rc.left + l, rc.top + t),
        MakeRect(src.left, src.top, src.left + l, src.top + t));
    add(t > 0, MakeRect(rc.left + l, rc.top, rc.right - r, rc.top + t),
        MakeRect(src.left + l, src.top, src.right - r, src.top + t));
    add(r > 0 && t > 0, MakeRect(rc.right - r, rc.top, rc.right, rc.top + t),
        MakeRect(src.right - r, src.top, src.right, src.top + t));
    add(l > 0, MakeRect(rc.left, rc.top + t, rc.left + l, rc.bottom - b),
        MakeRect(src.left, src.top + t, src.left + l, src.bottom - b));
    add(r > 0, MakeRect(rc.right - r, rc.top + t, rc.right, rc.bottom - b),
        MakeRect(src.right - r, src.top + t, src.right, src.bottom - b));
    add(l > 0 && b > 0, MakeRect(rc.left, rc.bottom - b, rc.left + l, rc.bottom),
        MakeRect(src.left, src.bottom - b, src.left + l, src.bottom));
    add(b > 0, MakeRect(rc.left + l, rc.bottom - b, rc.right - r, rc.bottom),
        MakeRect(src.left + l, src.bottom - b, src.right - r, src.bottom));
    add(r > 0 && b > 0, MakeRect(rc.right - r, rc.bottom - b, rc.right, rc.bottom),
        MakeRect(src.right - r, src.bottom - b, src.right, src.bottom));
}

RECT CNineGridUI::DestCentre(const RECT& rc, const RECT& rcCorners)
{
    return MakeRect(rc.left + rcCorners.left, rc.top + rcCorners.top, rc.right - rcCorners.right,
                    rc.bottom - rcCorners.bottom);
}

RECT CNineGridUI::SourceCentre(const RECT& rcBmpPart, const RECT& rcCorners)
{
    return MakeRect(rcBmpPart.left + rcCorners.left, rcBmpPart.top + rcCorners.top, rcBmpPart.right - rcCorners.right,
                    rcBmpPart.bottom - rcCorners.bottom);
}

} // namespace UpdUI
