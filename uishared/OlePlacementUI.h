#pragma once
#include <windows.h>
#include <ole2.h>

namespace UIShared {

// Where both libraries' ActiveX controls tell their hosted object it stands, each time the
// control is placed.
class COlePlacementUI
{
public:
    // Hands pObject its size in HIMETRIC, the in-place object (when there is one) its
    // rectangle, and moves a windowed object's own window (hwndHost) over rcItem.
    static void Place(IOleObject* pObject, IOleInPlaceObject* pInPlace, bool bWindowless, HWND hwndHost,
                      const RECT& rcItem);
    // rcItem as the hosted object sees it: a windowed object lives in its own child window,
    // so its rectangle starts at the origin.
    static RECT ObjectRect(const RECT& rcItem, bool bWindowless);
    // nPixels along the screen's axis nIndex (LOGPIXELSX or LOGPIXELSY) in HIMETRIC units.
    static LONG PixelsToHimetric(int nPixels, int nIndex);
};

} // namespace UIShared
