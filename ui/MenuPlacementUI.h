#pragma once
#include <windows.h>

// Where menu popups go: sized from their items and kept on the monitor by opening
// upward or to the left. Rectangles are window rectangles in screen coordinates.
class CMenuPlacementUI
{
public:
    struct TMenuSizeUI
    {
        int nItems; // every child, separators included
        int nSeparators;
        int nItemHeight;
        int nWidth;
    };

    static RECT TopPopup(POINT pt, const TMenuSizeUI& size, SIZE szMonitor);
    static RECT SubPopup(const RECT& rcParent, const RECT& rcItem, const TMenuSizeUI& size, SIZE szMonitor);

private:
    static int ItemsBottom(int nTop, const TMenuSizeUI& size);
    static int SeparatorAdjust(int nSeparators);
};
