#pragma once
#include <windows.h>

// AlphaBlend and GradientFill of "msimg32.dll", looked up on first use. When AlphaBlend
// is missing the library's own blend takes its place; a missing GradientFill is reported
// so the caller can draw bands instead.
class CMsimgUI
{
public:
    static BOOL AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                           int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend);
    static bool HasGradientFill();
    static BOOL GradientFill(HDC hDC, TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshes, ULONG ulMode);

    // The blend used when msimg32 has no AlphaBlend: premultiplied source over the target.
    static BOOL OwnAlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                              int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend);

    // Makes the library behave as on a system whose msimg32 lacks both functions (false),
    // or look them up again (true); lets the fallbacks be exercised where msimg32 exists.
    static void UseSystemFunctions(bool bUse);

private:
    static void BlendPixels(DWORD* pDest, const DWORD* pSrc, int nPixels, BYTE uConstantAlpha);
};
