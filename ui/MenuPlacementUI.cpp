#include "MenuPlacementUI.h"

namespace {

// The popup window ends this much above the computed bottom.
const int kBottomTrim = 9;

} // namespace

int CMenuPlacementUI::ItemsBottom(int nTop, const TMenuSizeUI& size)
{
    return static_cast<int>(nTop + size.nItems * size.nItemHeight + 16.5);
}

// Separators are thinner than items: each takes back most of an item's height.
int CMenuPlacementUI::SeparatorAdjust(int nSeparators)
{
    return (nSeparators / 2) * 2 - (nSeparators * 49) / 2 - 2;
}

RECT CMenuPlacementUI::TopPopup(POINT pt, const TMenuSizeUI& size, SIZE szMonitor)
{
    RECT rc = { pt.x, pt.y, pt.x + size.nWidth, ItemsBottom(pt.y, size) };
    if (size.nSeparators > 0) rc.bottom += SeparatorAdjust(size.nSeparators);
    if (szMonitor.cy < rc.bottom) {
        rc.top = 2 * pt.y - rc.bottom + 5;
        rc.bottom = pt.y + 5;
    }
    if (szMonitor.cx < pt.x + size.nWidth) {
        rc.left = 2 * pt.x - (pt.x + size.nWidth);
        rc.right = pt.x;
    }
    rc.bottom -= kBottomTrim;
    return rc;
}

RECT CMenuPlacementUI::SubPopup(const RECT& rcParent, const RECT& rcItem, const TMenuSizeUI& size, SIZE szMonitor)
{
    int nTop = rcItem.top + rcParent.top;
    RECT rc = { rcParent.right + 3, nTop, rcParent.right + size.nWidth, 0 };
    rc.bottom = ItemsBottom(nTop, size) + SeparatorAdjust(size.nSeparators);
    if (szMonitor.cy < rc.bottom) {
        rc.top = 2 * nTop - rc.bottom + 30;
        rc.bottom = nTop + 30;
    }
    if (szMonitor.cx < rc.right) {
        int nShift = (rcParent.right - rcParent.left) + (rc.right - rc.left) + 6;
        rc.left -= nShift;
        rc.right -= nShift;
    }
    rc.bottom -= kBottomTrim;
    return rc;
}
