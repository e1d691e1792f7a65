#include "NinePartsUI.h"

#include "uishared/NineGridUI.h"

namespace {

TImagePartUI PartOf(const UIShared::TGridCellUI& cell)
{
    const RECT& s = cell.rcSource;
    return TImagePartUI{ cell.rcDest, s.left, s.top, s.right - s.left, s.bottom - s.top };
}

} // namespace

// The middle is one stretched part even where the corners leave it empty or turned
// over: GDI's stretch is left to make of it what it makes.
int CNinePartsUI::Build(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners, bool bHole, TImagePartUI* pParts)
{
    using UIShared::CNineGridUI;
    int n = 0;
    if (!bHole) pParts[n++] = PartOf(CNineGridUI::StretchedCentre(rc, rcBmpPart, rcCorners));
    UIShared::TGridCellUI border[CNineGridUI::MAX_BORDER_CELLS];
    const int nBorder = CNineGridUI::BorderCells(rc, rcBmpPart, rcCorners, border);
    for (int i = 0; i < nBorder; i++) pParts[n++] = PartOf(border[i]);
    return n;
}
