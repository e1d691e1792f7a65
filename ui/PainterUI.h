#pragma once
#include <windows.h>

#include "RenderClipUI.h"
#include "ScaledImageCacheUI.h"
#include "StringUI.h"

class CWindowManagerUI;

// A decoded image: a 32-bit top-down DIB section with premultiplied alpha.
struct TImageRecUI
{
    HBITMAP hBitmap;
    int nWidth;
    int nHeight;
    bool bAlpha;                            // some pixel is translucent, or was made transparent by the mask
    CScaledImageCacheUI* pScaled = nullptr; // copies at the sizes drawn, made on first use
};

// The UI library's stateless drawing functions on a Win32 DC.
class CPainterUI
{
public:
    // pstrBitmap is an image name, or a resource id made with MAKEINTRESOURCE.
    static TImageRecUI* LoadImageData(LPCWSTR pstrBitmap, LPCWSTR pstrSkinFile, LPCWSTR pstrType, DWORD dwMask);
    static void FreeImageData(TImageRecUI* pImage);

    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, bool bAlphaChannel, BYTE uFade = 255, bool bHole = false);
    static bool DrawImageDesc(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                              LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);
    static void DrawColor(HDC hDC, const RECT& rc, DWORD dwColor);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawPlainText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                              int iFont, UINT uStyle);
    // Tagged rich text; see CMarkupTextUI. nLinkRects is the capacity of both arrays on
    // entry and the number of links found on return.
    static void DrawMarkupText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                               RECT* prcLinks, CStringUI* sLinks, int& nLinkRects, UINT uStyle);

    static COLORREF ToColorRef(DWORD dwArgb);

private:
    static bool DrawScaledCopy(HDC hDC, TImageRecUI* pImage, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                               const RECT& rcCorners, BYTE uFade, bool bHole);
    static void DrawGradientBands(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
};
