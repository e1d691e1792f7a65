#include "RenderClipUI.h"

namespace UpdUI {

CRenderClipUI::CRenderClipUI() : rcItem(), hDC(nullptr), hRgn(nullptr), hOldRgn(nullptr) { }

CRenderClipUI::~CRenderClipUI()
{
    if (hDC != nullptr) SelectClipRgn(hDC, hOldRgn);
    if (hOldRgn != nullptr) DeleteObject(hOldRgn);
    if (hRgn != nullptr) DeleteObject(hRgn);
}

// A clip object is generated once; a second call would otherwise leak the first regions.
void CRenderClipUI::Save(HDC hDCTarget, const RECT& rc)
{
    if (hOldRgn != nullptr) DeleteObject(hOldRgn);
    if (hRgn != nullptr) DeleteObject(hRgn);
    RECT rcClip = {};
    GetClipBox(hDCTarget, &rcClip);
    hOldRgn = CreateRectRgnIndirect(&rcClip);
    hDC = hDCTarget;
    rcItem = rc;
}

void CRenderClipUI::Generate(HDC hDC, const RECT& rc, CRenderClipUI& clip)
{
    clip.Save(hDC, rc);
    clip.hRgn = CreateRectRgnIndirect(&rc);
    ExtSelectClipRgn(hDC, clip.hRgn, RGN_AND);
}

void CRenderClipUI::GenerateRound(HDC hDC, const RECT& rc, const RECT& rcItem, int width, int height,
                                  CRenderClipUI& clip)
{
    clip.Save(hDC, rc);
    clip.hRgn = CreateRectRgnIndirect(&rc);
    HRGN hRgnRound = CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height);
    if (hRgnRound != nullptr) {
        CombineRgn(clip.hRgn, clip.hRgn, hRgnRound, RGN_AND);
        DeleteObject(hRgnRound);
    }
    ExtSelectClipRgn(hDC, clip.hRgn, RGN_AND);
}

void CRenderClipUI::SelectOldClip(HDC hDC, CRenderClipUI& clip)
{
    SelectClipRgn(hDC, clip.hOldRgn);
}

void CRenderClipUI::SelectNewClip(HDC hDC, CRenderClipUI& clip)
{
    SelectClipRgn(hDC, clip.hRgn);
}

} // namespace UpdUI
