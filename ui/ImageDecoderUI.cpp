#include "ImageDecoderUI.h"

#include "PainterUI.h"
#include "uishared/ImageDecoderUI.h"

TImageRecUI* CImageDecoderUI::Decode(const BYTE* pData, DWORD dwSize, DWORD dwMask)
{
    int cx = 0, cy = 0;
    bool bAlpha = false;
    HBITMAP hBitmap = UIShared::CImageDecoderUI::DecodeToDib(pData, dwSize, dwMask, &cx, &cy, &bAlpha);
    if (hBitmap == nullptr) return nullptr;
    return new TImageRecUI{ hBitmap, cx, cy, bAlpha };
}

HBITMAP CImageDecoderUI::CreateTopDownDib(int cx, int cy, DWORD** ppBits)
{
    return UIShared::CImageDecoderUI::CreateTopDownDib(nullptr, cx, cy, ppBits);
}
