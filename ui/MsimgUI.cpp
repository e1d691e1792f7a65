#include "MsimgUI.h"

#include "uishared/ImageDecoderUI.h"
#include "uishared/MsimgUI.h"

BOOL CMsimgUI::AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                          int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    return UIShared::CMsimgUI::AlphaBlend(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth,
                                          nSrcHeight, blend, &OwnAlphaBlend);
}

bool CMsimgUI::HasGradientFill()
{
    return UIShared::CMsimgUI::HasGradientFill();
}

BOOL CMsimgUI::GradientFill(HDC hDC, TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshes, ULONG ulMode)
{
    return UIShared::CMsimgUI::GradientFill(hDC, pVertices, nVertices, pMesh, nMeshes, ulMode);
}

void CMsimgUI::UseSystemFunctions(bool bUse)
{
    UIShared::CMsimgUI::UseSystemFunctions(bUse);
}

// Source pixels are premultiplied: each colour channel already carries its own alpha,
// so only the constant alpha scales it, and the target keeps (1 - effective alpha). The
// target's alpha is blended the same way, as the system's blend does, so a blend into a
// transparent surface leaves a source that can itself be blended later.
void CMsimgUI::BlendPixels(DWORD* pDest, const DWORD* pSrc, int nPixels, BYTE uConstantAlpha)
{
    for (int i = 0; i < nPixels; i++) {
        DWORD src = pSrc[i];
        DWORD dst = pDest[i];
        DWORD a = (src >> 24) * uConstantAlpha / 255;
        DWORD result = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            DWORD s = (src >> shift) & 0xFF;
            DWORD d = (dst >> shift) & 0xFF;
            DWORD c = (s * uConstantAlpha + d * (255 - a)) / 255;
            result |= (c > 255 ? 255 : c) << shift;
        }
        DWORD alpha = a + (dst >> 24) * (255 - a) / 255;
        pDest[i] = result | (alpha > 255 ? 255 : alpha) << 24;
    }
}

BOOL CMsimgUI::OwnAlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                             int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    if (nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0) return FALSE;
    HDC hTempDC = CreateCompatibleDC(hDC);
    if (hTempDC == nullptr) return FALSE;
    DWORD* pSrcBits = nullptr;
    DWORD* pDestBits = nullptr;
    HBITMAP hSrcBmp = UIShared::CImageDecoderUI::CreateTopDownDib(hDC, nDestWidth, nDestHeight, &pSrcBits);
    HBITMAP hDestBmp = UIShared::CImageDecoderUI::CreateTopDownDib(hDC, nDestWidth, nDestHeight, &pDestBits);
    BOOL bOk = FALSE;
    if (hSrcBmp != nullptr && hDestBmp != nullptr) {
        HBITMAP hOld = (HBITMAP)SelectObject(hTempDC, hSrcBmp);
        SetStretchBltMode(hTempDC, COLORONCOLOR);
        bOk = StretchBlt(hTempDC, 0, 0, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight, SRCCOPY);
        SelectObject(hTempDC, hDestBmp);
        bOk = bOk && BitBlt(hTempDC, 0, 0, nDestWidth, nDestHeight, hDC, nDestX, nDestY, SRCCOPY);
        if (bOk) {
            GdiFlush();
            BlendPixels(pDestBits, pSrcBits, nDestWidth * nDestHeight, blend.SourceConstantAlpha);
            bOk = BitBlt(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hTempDC, 0, 0, SRCCOPY);
        }
        SelectObject(hTempDC, hOld);
    }
    if (hSrcBmp != nullptr) DeleteObject(hSrcBmp);
    if (hDestBmp != nullptr) DeleteObject(hDestBmp);
    DeleteDC(hTempDC);
    return bOk;
}
