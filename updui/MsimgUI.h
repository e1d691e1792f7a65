#pragma once
#include <windows.h>

namespace UpdUI {

// AlphaBlend and GradientFill of "msimg32.dll", looked up once on first use. A missing
// AlphaBlend is replaced by CPainterUI::AlphaBlendFallback; a missing GradientFill is
// reported so the caller draws bands instead.
class CMsimgUI
{
public:
    static BOOL AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                           int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend);
    // False when blends go through the fallback.
    static bool HasAlphaBlend();
    static bool HasGradientFill();
    static BOOL GradientFill(HDC hDC, TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshes, ULONG ulMode);

    // Behave as on a system whose msimg32 lacks both functions (false), or look them up
    // again (true); lets the fallbacks run where msimg32 exists.
    static void UseSystemFunctions(bool bUse);
};

} // namespace UpdUI
