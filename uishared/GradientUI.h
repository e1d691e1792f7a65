#pragma once
#include <windows.h>

namespace UIShared {

// The two-colour gradient both painters draw: one GradientFill rectangle where msimg32
// has it, else solid bands whose count, places and colours are worked out here. Colours
// are 0xAARRGGBB; their alpha is left to the caller.
class CGradientUI
{
public:
    // Fills rc from dwFirst (top or left) to dwSecond; false when GradientFill is missing.
    static bool Fill(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical);
    // The number of bands for nSteps: the largest power of two up to 64 not above it, at least 2.
    static int BandCount(int nSteps);
    // Band i of n, band 0 at the bottom (vertical) or right edge.
    static RECT Band(const RECT& rc, bool bVertical, int i, int n);
    // Band i's colour in 0x00RRGGBB: dwSecond at band 0, moving towards dwFirst.
    static DWORD BandColor(DWORD dwFirst, DWORD dwSecond, int i, int n);
};

} // namespace UIShared
