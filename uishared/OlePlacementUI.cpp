#include "OlePlacementUI.h"

namespace UIShared {

namespace {

const int kHimetricPerInch = 2540;

} // namespace

void COlePlacementUI::Place(IOleObject* pObject, IOleInPlaceObject* pInPlace, bool bWindowless, HWND hwndHost,
                            const RECT& rcItem)
{
    SIZEL hmSize = { PixelsToHimetric(rcItem.right - rcItem.left, LOGPIXELSX),
                     PixelsToHimetric(rcItem.bottom - rcItem.top, LOGPIXELSY) };
    pObject->SetExtent(DVASPECT_CONTENT, &hmSize);
    RECT rcObject = ObjectRect(rcItem, bWindowless);
    if (pInPlace != nullptr) pInPlace->SetObjectRects(&rcObject, &rcObject);
    if (!bWindowless && hwndHost != nullptr)
        ::MoveWindow(hwndHost, rcItem.left, rcItem.top, rcItem.right - rcItem.left, rcItem.bottom - rcItem.top, TRUE);
}

RECT COlePlacementUI::ObjectRect(const RECT& rcItem, bool bWindowless)
{
    RECT rc = rcItem;
    if (!bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

LONG COlePlacementUI::PixelsToHimetric(int nPixels, int nIndex)
{
    HDC hDC = ::GetDC(nullptr);
    int nDpi = hDC != nullptr ? ::GetDeviceCaps(hDC, nIndex) : 0;
    if (hDC != nullptr) ::ReleaseDC(nullptr, hDC);
    return ::MulDiv(kHimetricPerInch, nPixels, nDpi > 0 ? nDpi : 96);
}

} // namespace UIShared
