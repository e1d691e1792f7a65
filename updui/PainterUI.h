#pragma once
#include <windows.h>

#include "ScaledImageCacheUI.h"
#include "StringUI.h"

namespace UpdUI {

class CWindowManagerUI;

// A decoded image: a 32-bit top-down DIB section with premultiplied alpha. The window
// manager fills in the resource type and mask it was loaded with.
struct TImageRecUI
{
    HBITMAP hBitmap;
    int nWidth;
    int nHeight;
    bool bAlpha; // some pixel is translucent, or was made transparent by the mask
    CStringUI sResType;
    DWORD dwMask;
    CScaledImageCacheUI* pScaled = nullptr; // copies at the sizes drawn, made on first use
};

// The library's stateless drawing toolbox on a GDI DC in client coordinates. Colours are
// 0xAARRGGBB.
class CPainterUI
{
public:
    // pstrName is an image name, or a resource number made with MAKEINTRESOURCE when
    // pstrType names a resource type. Null when the image cannot be read or decoded.
    static TImageRecUI* LoadImageData(LPCWSTR pstrName, LPCWSTR pstrType, DWORD dwMask);
    static void FreeImage(TImageRecUI* pImage);

    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, bool bAlphaChannel, BYTE uFade = 255, bool bHole = false,
                          bool bTiledX = false, bool bTiledY = false);
    static bool DrawImageDesc(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                              LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);
    static bool DrawNamedImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                               LPCWSTR pStrName, LPCWSTR pStrType, const RECT& rcDest, const RECT& rcSource,
                               const RECT& rcCorners, DWORD dwMask, BYTE uFade, bool bHole, bool bTiledX, bool bTiledY);
    static void DrawColor(HDC hDC, const RECT& rc, DWORD dwColor);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor);
    static void DrawPlainText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                              int iFont, UINT uStyle);
    // Tagged rich text. nLinkRects is the capacity of both link arrays on entry and the
    // number of links found on return.
    static void DrawMarkupText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                               RECT* prcLinks, CStringUI* sLinks, int& nLinkRects, UINT uStyle);

    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
    static void RgbToHsl(DWORD dwColor, float* H, float* S, float* L);
    static void HslToRgb(DWORD* pColor, float H, float S, float L);
    static DWORD MixColors(DWORD dwSrc, DWORD dwDest, float fAlpha);
    // Takes AlphaBlend's place where msimg32 lacks it: same arguments and result.
    static BOOL AlphaBlendFallback(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC,
                                   int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend);

    static COLORREF ToColorRef(DWORD dwArgb);
    // The copy of an image part at the drawn size made with GDI's stretch (HALFTONE), as a
    // direct drawing over nothing would leave it; null when it cannot be made.
    static HBITMAP StretchCopy(HDC hDC, const TImageRecUI* pImage, int cx, int cy, const RECT& rcBmpPart,
                               const RECT& rcCorners, bool bBlend, bool bHole, bool bTiledX, bool bTiledY);

private:
    static bool DrawScaledCopy(HDC hDC, TImageRecUI* pImage, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                               const RECT& rcCorners, BYTE uFade, bool bHole, bool bTiledX, bool bTiledY);
    static HBITMAP MakeScaledCopy(HDC hDC, const TImageRecUI* pImage, int cx, int cy, const RECT& rcBmpPart,
                                  const RECT& rcCorners, bool bBlend, bool bHole, bool bTiledX, bool bTiledY);
};

} // namespace UpdUI
