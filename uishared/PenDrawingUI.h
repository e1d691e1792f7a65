#pragma once
#include <windows.h>

namespace UIShared {

// The lines and frames both painters draw with a cached pen; colours are COLORREFs.
class CPenDrawingUI
{
public:
    // A solid pen of nSize from (left, top) to (right, bottom).
    static void Line(HDC hDC, const RECT& rc, int nSize, COLORREF clr);
    // An inside-frame pen of nSize round rc, the inside left as it is.
    static void Frame(HDC hDC, const RECT& rc, int nSize, COLORREF clr);
};

} // namespace UIShared
