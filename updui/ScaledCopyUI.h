#pragma once
#include <windows.h>

namespace UpdUI {

struct TImageRecUI;

// Makes the copy of a part of a decoded image at the size it is drawn, with an
// area-averaging resampler working on the pixels directly: corners kept, edges and
// middle stretched (or the middle tiled), over nothing, premultiplied. GDI's HALFTONE
// stretch gives the same picture but costs far more the first time it is used, and a
// window's first paint makes every copy.
class CScaledCopyUI
{
public:
    // Null when a piece would read outside the image, the part is mirrored or the
    // corners overlap (where GDI blends one over the other); the caller then draws the
    // copy with GDI.
    static HBITMAP Resample(const TImageRecUI& image, int cx, int cy, const RECT& rcBmpPart, const RECT& rcCorners,
                            bool bHole, bool bTiledX, bool bTiledY);
};

} // namespace UpdUI
