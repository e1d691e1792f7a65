#include "NinePartsUI.h"

int CNinePartsUI::Build(const RECT& rc, const RECT& rcBmpPart, const RECT& rcCorners, bool bHole, TImagePartUI* pParts)
{
    const int cl = rcCorners.left, ct = rcCorners.top, cr = rcCorners.right, cb = rcCorners.bottom;
    const int sw = rcBmpPart.right - rcBmpPart.left, sh = rcBmpPart.bottom - rcBmpPart.top;
    const int sl = rcBmpPart.left, st = rcBmpPart.top, sr = rcBmpPart.right, sb = rcBmpPart.bottom;
    int n = 0;
    auto add = [&](int l, int t, int r, int b, int x, int y, int w, int h) {
        pParts[n++] = TImagePartUI{ { l, t, r, b }, x, y, w, h };
    };
    if (!bHole)
        add(rc.left + cl, rc.top + ct, rc.right - cr, rc.bottom - cb, sl + cl, st + ct, sw - cl - cr, sh - ct - cb);
    if (cl > 0 && ct > 0) add(rc.left, rc.top, rc.left + cl, rc.top + ct, sl, st, cl, ct);
    if (ct > 0) add(rc.left + cl, rc.top, rc.right - cr, rc.top + ct, sl + cl, st, sw - cl - cr, ct);
    if (cr > 0 && ct > 0) add(rc.right - cr, rc.top, rc.right, rc.top + ct, sr - cr, st, cr, ct);
    if (cl > 0) add(rc.left, rc.top + ct, rc.left + cl, rc.bottom - cb, sl, st + ct, cl, sh - ct - cb);
    if (cr > 0) add(rc.right - cr, rc.top + ct, rc.right, rc.bottom - cb, sr - cr, st + ct, cr, sh - ct - cb);
    if (cl > 0 && cb > 0) add(rc.left, rc.bottom - cb, rc.left + cl, rc.bottom, sl, sb - cb, cl, cb);
    if (cb > 0) add(rc.left + cl, rc.bottom - cb, rc.right - cr, rc.bottom, sl + cl, sb - cb, sw - cl - cr, cb);
    if (cr > 0 && cb > 0) add(rc.right - cr, rc.bottom - cb, rc.right, rc.bottom, sr - cr, sb - cb, cr, cb);
    return n;
}
