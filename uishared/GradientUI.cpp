#include "GradientUI.h"

#include "MsimgUI.h"

namespace UIShared {

namespace {

void SetVertex(TRIVERTEX& vertex, LONG x, LONG y, DWORD dwColor)
{
    vertex.x = x;
    vertex.y = y;
    vertex.Red = (COLOR16)(((dwColor >> 16) & 0xFF) << 8);
    vertex.Green = (COLOR16)(((dwColor >> 8) & 0xFF) << 8);
    vertex.Blue = (COLOR16)((dwColor & 0xFF) << 8);
    vertex.Alpha = 0xFF00;
}

} // namespace

bool CGradientUI::Fill(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical)
{
    if (!CMsimgUI::HasGradientFill()) return false;
    TRIVERTEX vertices[2] = {};
    SetVertex(vertices[0], rc.left, rc.top, dwFirst);
    SetVertex(vertices[1], rc.right, rc.bottom, dwSecond);
    GRADIENT_RECT mesh = { 0, 1 };
    CMsimgUI::GradientFill(hDC, vertices, 2, &mesh, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    return true;
}

int CGradientUI::BandCount(int nSteps)
{
    int n = 2;
    while (n < 64 && nSteps >= n * 2) n *= 2;
    return n;
}

RECT CGradientUI::Band(const RECT& rc, bool bVertical, int i, int n)
{
    RECT rcBand = rc;
    const int nSize = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
    if (bVertical) {
        rcBand.top = rc.bottom - nSize * (i + 1) / n;
        rcBand.bottom = rc.bottom - nSize * i / n;
    } else {
        rcBand.left = rc.right - nSize * (i + 1) / n;
        rcBand.right = rc.right - nSize * i / n;
    }
    return rcBand;
}

DWORD CGradientUI::BandColor(DWORD dwFirst, DWORD dwSecond, int i, int n)
{
    DWORD dwColor = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        DWORD c1 = (dwFirst >> shift) & 0xFF, c2 = (dwSecond >> shift) & 0xFF;
        dwColor |= ((c2 * (n - i) + c1 * i) / n) << shift;
    }
    return dwColor;
}

} // namespace UIShared
