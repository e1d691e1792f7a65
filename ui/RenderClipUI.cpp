#include "RenderClipUI.h"

CRenderClipUI::CRenderClipUI() : rcItem(), hDC(nullptr), hRgn(nullptr), hOldRgn(nullptr) { }

CRenderClipUI::~CRenderClipUI()
{
    if (hDC != nullptr) SelectClipRgn(hDC, hOldRgn);
    if (hOldRgn != nullptr) DeleteObject(hOldRgn);
    if (hRgn != nullptr) DeleteObject(hRgn);
}

void CRenderClipUI::Generate(HDC hDC, const RECT& rc, CRenderClipUI& clip)
{
    RECT rcClip = {};
    GetClipBox(hDC, &rcClip);
    clip.hOldRgn = CreateRectRgnIndirect(&rcClip);
    clip.hRgn = CreateRectRgnIndirect(&rc);
    ExtSelectClipRgn(hDC, clip.hRgn, RGN_AND);
    clip.hDC = hDC;
    clip.rcItem = rc;
}

void CRenderClipUI::SelectOldClip(HDC hDC, CRenderClipUI& clip)
{
    SelectClipRgn(hDC, clip.hOldRgn);
}

void CRenderClipUI::SelectNewClip(HDC hDC, CRenderClipUI& clip)
{
    SelectClipRgn(hDC, clip.hRgn);
}
