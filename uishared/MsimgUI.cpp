#include "MsimgUI.h"

namespace UIShared {

namespace {

typedef BOOL(WINAPI* ALPHABLENDPROC)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* GRADIENTFILLPROC)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The UI libraries are single-threaded, so plain flags suffice.
bool g_bLookedUp = false;
bool g_bUseSystem = true;
ALPHABLENDPROC g_pfnAlphaBlend = nullptr;
GRADIENTFILLPROC g_pfnGradientFill = nullptr;

} // namespace

void CMsimgUI::LookUp()
{
    if (g_bLookedUp) return;
    g_bLookedUp = true;
    g_pfnAlphaBlend = nullptr;
    g_pfnGradientFill = nullptr;
    if (!g_bUseSystem) return;
    HMODULE hMsimg = GetModuleHandleW(L"msimg32.dll");
    if (hMsimg == nullptr) hMsimg = LoadLibraryW(L"msimg32.dll");
    if (hMsimg == nullptr) return;
    g_pfnAlphaBlend = (ALPHABLENDPROC)(void*)GetProcAddress(hMsimg, "AlphaBlend");
    g_pfnGradientFill = (GRADIENTFILLPROC)(void*)GetProcAddress(hMsimg, "GradientFill");
}

void CMsimgUI::UseSystemFunctions(bool bUse)
{
    g_bUseSystem = bUse;
    g_bLookedUp = false;
}

BOOL CMsimgUI::AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                          int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend, BLENDFALLBACKPROC pfnFallback)
{
    LookUp();
    if (g_pfnAlphaBlend != nullptr)
        return g_pfnAlphaBlend(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth,
                               nSrcHeight, blend);
    return pfnFallback(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight,
                       blend);
}

bool CMsimgUI::HasAlphaBlend()
{
    LookUp();
    return g_pfnAlphaBlend != nullptr;
}

bool CMsimgUI::HasGradientFill()
{
    LookUp();
    return g_pfnGradientFill != nullptr;
}

BOOL CMsimgUI::GradientFill(HDC hDC, TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshes, ULONG ulMode)
{
    LookUp();
    if (g_pfnGradientFill == nullptr) return FALSE;
    return g_pfnGradientFill(hDC, pVertices, nVertices, pMesh, nMeshes, ulMode);
}

} // namespace UIShared
