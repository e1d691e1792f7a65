#include "MsimgUI.h"

namespace {

typedef BOOL(WINAPI* ALPHABLENDPROC)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* GRADIENTFILLPROC)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The looked-up entry points; the library is single-threaded, so a plain flag suffices.
bool g_bLookedUp = false;
bool g_bUseSystem = true;
ALPHABLENDPROC g_pfnAlphaBlend = nullptr;
GRADIENTFILLPROC g_pfnGradientFill = nullptr;

} // namespace

void CMsimgUI::LookUp()
{
    if (g_bLookedUp)
        return;
    g_bLookedUp = true;
    g_pfnAlphaBlend = nullptr;
    g_pfnGradientFill = nullptr;
    if (!g_bUseSystem)
        return;
    HMODULE hMsimg = LoadLibraryW(L"msimg32.dll");
    if (hMsimg == nullptr)
        return;
    g_pfnAlphaBlend = (ALPHABLENDPROC)(void*)GetProcAddress(hMsimg, "AlphaBlend");
    g_pfnGradientFill = (GRADIENTFILLPROC)(void*)GetProcAddress(hMsimg, "GradientFill");
}

void CMsimgUI::UseSystemFunctions(bool bUse)
{
    g_bUseSystem = bUse;
    g_bLookedUp = false;
}

BOOL CMsimgUI::AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                          int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    LookUp();
    if (g_pfnAlphaBlend != nullptr)
        return g_pfnAlphaBlend(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth,
                               nSrcHeight, blend);
    return OwnAlphaBlend(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight,
                         blend);
}

bool CMsimgUI::HasGradientFill()
{
    LookUp();
    return g_pfnGradientFill != nullptr;
}

BOOL CMsimgUI::GradientFill(HDC hDC, TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshes, ULONG ulMode)
{
    LookUp();
    if (g_pfnGradientFill == nullptr)
        return FALSE;
    return g_pfnGradientFill(hDC, pVertices, nVertices, pMesh, nMeshes, ulMode);
}

HBITMAP CMsimgUI::CreateDib32(HDC hDC, int cx, int cy, DWORD** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    *ppBits = nullptr;
    return CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, (void**)ppBits, nullptr, 0);
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
    if (nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return FALSE;
    HDC hTempDC = CreateCompatibleDC(hDC);
    if (hTempDC == nullptr)
        return FALSE;
    DWORD* pSrcBits = nullptr;
    DWORD* pDestBits = nullptr;
    HBITMAP hSrcBmp = CreateDib32(hDC, nDestWidth, nDestHeight, &pSrcBits);
    HBITMAP hDestBmp = CreateDib32(hDC, nDestWidth, nDestHeight, &pDestBits);
    BOOL bOk = FALSE;
    if (hSrcBmp != nullptr && hDestBmp != nullptr) {
        HBITMAP hOld = (HBITMAP)SelectObject(hTempDC, hSrcBmp);
        SetStretchBltMode(hTempDC, COLORONCOLOR);
        bOk = StretchBlt(hTempDC, 0, 0, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight,
                         SRCCOPY);
        SelectObject(hTempDC, hDestBmp);
        bOk = bOk && BitBlt(hTempDC, 0, 0, nDestWidth, nDestHeight, hDC, nDestX, nDestY, SRCCOPY);
        if (bOk) {
            GdiFlush();
            BlendPixels(pDestBits, pSrcBits, nDestWidth * nDestHeight, blend.SourceConstantAlpha);
            bOk = BitBlt(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hTempDC, 0, 0, SRCCOPY);
        }
        SelectObject(hTempDC, hOld);
    }
    if (hSrcBmp != nullptr)
        DeleteObject(hSrcBmp);
    if (hDestBmp != nullptr)
        DeleteObject(hDestBmp);
    DeleteDC(hTempDC);
    return bOk;
}
