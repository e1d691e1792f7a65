#pragma once
#include <windows.h>

namespace UIShared {

// A library's own blend, with AlphaBlend's parameters.
typedef BOOL (*BLENDFALLBACKPROC)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

// AlphaBlend and GradientFill of "msimg32.dll", looked up once on first use. Each library
// names the blend that stands in when AlphaBlend is missing; a missing GradientFill is
// reported so the caller draws bands instead.
class CMsimgUI
{
public:
    static BOOL AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                           int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend,
                           BLENDFALLBACKPROC pfnFallback);
    static bool HasAlphaBlend();
    static bool HasGradientFill();
    static BOOL GradientFill(HDC hDC, TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshes, ULONG ulMode);

    // Behave as on a system whose msimg32 lacks both functions (false), or look them up
    // again (true); lets the fallbacks run where msimg32 exists.
    static void UseSystemFunctions(bool bUse);

private:
    static void LookUp();
};

} // namespace UIShared
