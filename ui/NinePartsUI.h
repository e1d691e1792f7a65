#pragma once
#include <windows.h>

// One of the nine parts of a stretchable frame: where it goes and where it comes from.
struct TImagePartUI
{
    RECT rcDest;
    int nSrcX, nSrcY, nSrcWidth, nSrcHeight;
};

// The parts of an image part with corners drawn into rc: the middle (left out for a
// hole), the four corners kept at their size and the four edges stretched along.
class CNinePartsUI
{
public:
    static const int MAX_PARTS = 9;

    // Fills pParts (MAX_PARTS long) and returns how many there are.
    static int Build(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners, bool bHole, TImagePartUI* pParts);
};
