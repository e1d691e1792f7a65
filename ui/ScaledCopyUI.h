#pragma once
#include <windows.h>

struct TImageRecUI;

// Makes the copy of a part of a decoded image at the size it is drawn, with its
// corners kept and its edges and middle stretched: a 32-bit top-down DIB section of
// premultiplied pixels over nothing, as the stretch would leave them.
class CScaledCopyUI
{
public:
    // With an area-averaging resampler working on the pixels directly. GDI's HALFTONE
    // stretch gives the same picture but costs far more the first time it is used, and
    // a window's first paint makes every copy. Null when a part lies outside the image
    // or is mirrored; the caller then makes the copy with Stretch.
    static HBITMAP Resample(const TImageRecUI& image, int cx, int cy, const RECT& rcBmpPart, const RECT& rcCorners,
                            bool bHole);
    // With GDI's stretch (HALFTONE), drawn as the painter draws the image directly.
    static HBITMAP Stretch(HDC hDC, const TImageRecUI& image, int cx, int cy, const RECT& rcBmpPart,
                           const RECT& rcCorners, bool bBlend, bool bHole);

private:
    static bool ReadablePart(const TImageRecUI& image, const RECT& rcDest, int x, int y, int w, int h);
};
