#pragma once
#include <windows.h>

#include <functional>

namespace UIShared {

// A drawing made once into a surface of its own, to be copied or blended from later: a
// zeroed (fully transparent) 32-bit top-down DIB section the drawing is made into.
class CDrawnCopyUI
{
public:
    // Draws rcCopy (0, 0, cx, cy) into hCopyDC.
    using FDraw = std::function<void(HDC hCopyDC, const RECT& rcCopy)>;

    // The surface with the drawing, its pixels flushed; null when it cannot be made.
    static HBITMAP Make(HDC hDC, int cx, int cy, const FDraw& draw);
};

} // namespace UIShared
