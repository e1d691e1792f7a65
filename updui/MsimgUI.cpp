#include "MsimgUI.h"

#include "PainterUI.h"
#include "uishared/MsimgUI.h"

namespace UpdUI {

BOOL CMsimgUI::AlphaBlend(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                          int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    return UIShared::CMsimgUI::AlphaBlend(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth,
                                          nSrcHeight, blend, &CPainterUI::AlphaBlendFallback);
}

bool CMsimgUI::HasAlphaBlend()
{
    return UIShared::CMsimgUI::HasAlphaBlend();
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

} // namespace UpdUI
