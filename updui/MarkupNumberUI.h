#pragma once
#include <windows.h>
#include <wchar.h>

namespace UpdUI {

// Numbers from markup become positions, sizes, pen widths and font heights that reach
// GDI. Skins come from outside; unchecked, a huge number saturates to INT_MAX and a blit
// faults, a pen millions of pixels wide takes seconds to draw, and sums of such numbers
// overflow. Each number is held to a range no real skin comes near.
namespace MarkupNumber {

const long kMaxCoord = 32767; // positions, sizes, paddings, radii (either sign)
const long kMaxPen = 255;     // border widths
const long kMaxFont = 1000;   // font sizes

inline long Clamp(long n, long nMin, long nMax)
{
    return n < nMin ? nMin : (n > nMax ? nMax : n);
}

// Reads a decimal number as wcstol does, held to -kMaxCoord..kMaxCoord.
inline long Coord(LPCWSTR pstr, LPWSTR* ppEnd = nullptr)
{
    return Clamp(wcstol(pstr, ppEnd, 10), -kMaxCoord, kMaxCoord);
}

inline long Pen(LPCWSTR pstr)
{
    return Clamp(wcstol(pstr, nullptr, 10), 0, kMaxPen);
}

inline long Font(LPCWSTR pstr)
{
    return Clamp(wcstol(pstr, nullptr, 10), -kMaxFont, kMaxFont);
}

} // namespace MarkupNumber

} // namespace UpdUI
