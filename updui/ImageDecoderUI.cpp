#include "ImageDecoderUI.h"

#include "PainterUI.h"
#include "uishared/ImageDecoderUI.h"

namespace UpdUI {

TImageRecUI* CImageDecoderUI::Decode(const BYTE* pData, DWORD dwSize, DWORD dwMask)
{
    int cx = 0, cy = 0;
    bool bAlpha = false;
    HBITMAP hBitmap = UIShared::CImageDecoderUI::DecodeToDib(pData, dwSize, dwMask, &cx, &cy, &bAlpha);
    if (hBitmap == nullptr) return nullptr;
    TImageRecUI* pImage = new TImageRecUI;
    pImage->hBitmap = hBitmap;
    pImage->nWidth = cx;
    pImage->nHeight = cy;
    pImage->bAlpha = bAlpha;
    pImage->dwMask = dwMask;
    return pImage;
}

HBITMAP CImageDecoderUI::CreateTopDownDib(HDC hDC, int cx, int cy, DWORD** ppBits)
{
    return UIShared::CImageDecoderUI::CreateTopDownDib(hDC, cx, cy, ppBits);
}

} // namespace UpdUI
