#include "PainterUI.h"

#include <math.h>

#include <vector>

#include "ImageDecoderUI.h"
#include "ImageDescUI.h"
#include "NineGridUI.h"
#include "MarkupTextUI.h"
#include "MsimgUI.h"
#include "PaintCacheUI.h"
#include "ScaledCopyUI.h"
#include "ScaledImageCacheUI.h"
#include "SkinSourceUI.h"
#include "WindowManagerUI.h"
#include "uishared/DrawnCopyUI.h"
#include "uishared/GradientUI.h"
#include "uishared/PenDrawingUI.h"

namespace UpdUI {

namespace {

RECT MakeRect(int l, int t, int r, int b)
{
    RECT rc = { l, t, r, b };
    return rc;
}

int RectWidth(const RECT& rc)
{
    return rc.right - rc.left;
}

int RectHeight(const RECT& rc)
{
    return rc.bottom - rc.top;
}

void DrawCell(HDC hDC, HDC hMemDC, const TGridCellUI& cell, bool bBlend, BYTE uFade)
{
    const RECT& d = cell.rcDest;
    const RECT& s = cell.rcSource;
    if (RectWidth(d) <= 0 || RectHeight(d) <= 0 || RectWidth(s) <= 0 || RectHeight(s) <= 0) return;
    if (bBlend) {
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA };
        CMsimgUI::AlphaBlend(hDC, d.left, d.top, RectWidth(d), RectHeight(d), hMemDC, s.left, s.top, RectWidth(s),
                             RectHeight(s), blend);
    } else if (RectWidth(d) == RectWidth(s) && RectHeight(d) == RectHeight(s)) {
        BitBlt(hDC, d.left, d.top, RectWidth(d), RectHeight(d), hMemDC, s.left, s.top, SRCCOPY);
    } else {
        StretchBlt(hDC, d.left, d.top, RectWidth(d), RectHeight(d), hMemDC, s.left, s.top, RectWidth(s), RectHeight(s),
                   SRCCOPY);
    }
}

bool Meets(const RECT& rc, const RECT& rcPaint)
{
    RECT rcTemp;
    return IntersectRect(&rcTemp, &rc, &rcPaint) != FALSE;
}

// Draws the image named so far whenever a description names another one.
class CImageDescPainterUI : public CImageDescUI::IDrawSink
{
public:
    CImageDescPainterUI(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint)
        : m_hDC(hDC), m_pManager(pManager), m_rcItem(rcItem), m_rcPaint(rcPaint)
    { }

    void DrawPending(const CImageDescUI& desc) override
    {
        CPainterUI::DrawNamedImage(m_hDC, m_pManager, m_rcItem, m_rcPaint, desc.sName.GetData(),
                                   desc.sResType.IsEmpty() ? nullptr : desc.sResType.GetData(), desc.rcDest,
                                   desc.rcSource, desc.rcCorner, desc.dwMask, desc.uFade, desc.bHole, desc.bTiledX,
                                   desc.bTiledY);
    }

private:
    HDC m_hDC;
    CWindowManagerUI* m_pManager;
    RECT m_rcItem;
    RECT m_rcPaint;
};

float HueToChannel(float p, float q, float t)
{
    if (t < 0.0f) t += 1.0f;
    if (t > 1.0f) t -= 1.0f;
    if (t < 1.0f / 6.0f) return p + (q - p) * 6.0f * t;
    if (t < 0.5f) return q;
    if (t < 2.0f / 3.0f) return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

DWORD ClampChannel(float f)
{
    int n = (int)(f * 255.0f + 0.5f);
    return (DWORD)(n < 0 ? 0 : (n > 255 ? 255 : n));
}

} // namespace

COLORREF CPainterUI::ToColorRef(DWORD dwArgb)
{
    return RGB((dwArgb >> 16) & 0xFF, (dwArgb >> 8) & 0xFF, dwArgb & 0xFF);
}

TImageRecUI* CPainterUI::LoadImageData(LPCWSTR pstrName, LPCWSTR pstrType, DWORD dwMask)
{
    std::vector<BYTE> bytes;
    if (!CSkinSourceUI::ReadImage(pstrName, pstrType, bytes) || bytes.empty()) return nullptr;
    return CImageDecoderUI::Decode(bytes.data(), (DWORD)bytes.size(), dwMask);
}

void CPainterUI::FreeImage(TImageRecUI* pImage)
{
    if (pImage == nullptr) return;
    if (pImage->hBitmap != nullptr) DeleteObject(pImage->hBitmap);
    delete pImage->pScaled;
    delete pImage;
}

void CPainterUI::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                           const RECT& rcCorners, bool bAlphaChannel, BYTE uFade, bool bHole, bool bTiledX,
                           bool bTiledY)
{
    if (hDC == nullptr || hBitmap == nullptr) return;
    HDC hMemDC = CPaintCacheUI::ForThisThread().MemoryDC();
    if (hMemDC == nullptr) return;
    HBITMAP hOldBitmap = (HBITMAP)SelectObject(hMemDC, hBitmap);
    SetStretchBltMode(hDC, HALFTONE);
    SetBrushOrgEx(hDC, 0, 0, nullptr);

    const bool bBlend = bAlphaChannel || uFade < 255;
    const bool bNoCorners = rcCorners.left == 0 && rcCorners.top == 0 && rcCorners.right == 0 && rcCorners.bottom == 0;
    RECT rcTemp;
    if (!bBlend && bNoCorners && !bTiledX && !bTiledY && RectWidth(rc) == RectWidth(rcBmpPart) &&
        RectHeight(rc) == RectHeight(rcBmpPart)) {
        // Nothing to scale or blend: copy just the part being painted.
        if (IntersectRect(&rcTemp, &rcPaint, &rc))
            BitBlt(hDC, rcTemp.left, rcTemp.top, RectWidth(rcTemp), RectHeight(rcTemp), hMemDC,
                   rcBmpPart.left + rcTemp.left - rc.left, rcBmpPart.top + rcTemp.top - rc.top, SRCCOPY);
    } else {
        std::vector<TGridCellUI> cells;
        const RECT rcDestCentre = CNineGridUI::DestCentre(rc, rcCorners);
        if (!bHole && Meets(rcDestCentre, rcPaint))
            CNineGridUI::AddCentreTiles(rcDestCentre, CNineGridUI::SourceCentre(rcBmpPart, rcCorners), bTiledX, bTiledY,
                                        cells);
        CNineGridUI::AddBorderCells(rc, rcBmpPart, rcCorners, cells);
        for (const TGridCellUI& cell : cells) {
            if (Meets(cell.rcDest, rcPaint)) DrawCell(hDC, hMemDC, cell, bBlend, uFade);
        }
    }
    SelectObject(hMemDC, hOldBitmap);
}

// A stretched or tiled image is drawn from its copy at the drawn size, made on first
// use, so the scaling is paid once per size and not on every paint. The copy holds what
// the same drawing gives over nothing (premultiplied), so drawing it is one copy or one
// blend of just the part being painted. False when the image is drawn directly instead.
bool CPainterUI::DrawScaledCopy(HDC hDC, TImageRecUI* pImage, const RECT& rc, const RECT& rcPaint,
                                const RECT& rcBmpPart, const RECT& rcCorners, BYTE uFade, bool bHole, bool bTiledX,
                                bool bTiledY)
{
    const int cx = RectWidth(rc), cy = RectHeight(rc);
    if (cx == RectWidth(rcBmpPart) && cy == RectHeight(rcBmpPart)) return false; // nothing is stretched or tiled
    const bool bBlend = pImage->bAlpha || uFade < 255;
    // An opaque copy would be copied over the hole, which must keep what is below; the
    // fallback blend does not keep a copy's alpha exact.
    if ((bHole && !bBlend) || (bBlend && !CMsimgUI::HasAlphaBlend()) || !CScaledImageCacheUI::IsKeepable(cx, cy))
        return false;
    if (pImage->pScaled == nullptr) pImage->pScaled = new CScaledImageCacheUI;
    const UINT uFlags = (bBlend ? 1u : 0u) | (bHole ? 2u : 0u) | (bTiledX ? 4u : 0u) | (bTiledY ? 8u : 0u);
    const CScaledImageCacheUI::TKeyUI key = { rcBmpPart, rcCorners, cx, cy, uFlags };
    HBITMAP hCopy = pImage->pScaled->Find(key);
    if (hCopy == nullptr) {
        hCopy = MakeScaledCopy(hDC, pImage, cx, cy, rcBmpPart, rcCorners, bBlend, bHole, bTiledX, bTiledY);
        if (hCopy == nullptr) return false;
        pImage->pScaled->Add(key, hCopy);
    }
    RECT rcPart;
    if (!IntersectRect(&rcPart, &rc, &rcPaint)) return true;
    HDC hMemDC = CPaintCacheUI::ForThisThread().MemoryDC();
    if (hMemDC == nullptr) return false;
    HGDIOBJ hOld = SelectObject(hMemDC, hCopy);
    const int x = rcPart.left, y = rcPart.top, w = RectWidth(rcPart), h = RectHeight(rcPart);
    if (bBlend) {
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA };
        CMsimgUI::AlphaBlend(hDC, x, y, w, h, hMemDC, x - rc.left, y - rc.top, w, h, blend);
    } else {
        BitBlt(hDC, x, y, w, h, hMemDC, x - rc.left, y - rc.top, SRCCOPY);
    }
    SelectObject(hMemDC, hOld);
    return true;
}

HBITMAP CPainterUI::MakeScaledCopy(HDC hDC, const TImageRecUI* pImage, int cx, int cy, const RECT& rcBmpPart,
                                   const RECT& rcCorners, bool bBlend, bool bHole, bool bTiledX, bool bTiledY)
{
    // A blended copy is GDI's AlphaBlend stretch, which takes the nearest pixel rather
    // than averaging: only the HALFTONE stretch of opaque pictures is the resampler's.
    HBITMAP hCopy =
        bBlend ? nullptr : CScaledCopyUI::Resample(*pImage, cx, cy, rcBmpPart, rcCorners, bHole, bTiledX, bTiledY);
    if (hCopy != nullptr) return hCopy;
    return StretchCopy(hDC, pImage, cx, cy, rcBmpPart, rcCorners, bBlend, bHole, bTiledX, bTiledY);
}

// The copy is drawn by DrawImage itself into a transparent surface, so it has exactly
// the pixels a direct drawing would have had: a blend over nothing leaves the source as
// it is.
HBITMAP CPainterUI::StretchCopy(HDC hDC, const TImageRecUI* pImage, int cx, int cy, const RECT& rcBmpPart,
                                const RECT& rcCorners, bool bBlend, bool bHole, bool bTiledX, bool bTiledY)
{
    return UIShared::CDrawnCopyUI::Make(hDC, cx, cy, [&](HDC hCopyDC, const RECT& rcCopy) {
        DrawImage(hCopyDC, pImage->hBitmap, rcCopy, rcCopy, rcBmpPart, rcCorners, bBlend, 255, bHole, bTiledX, bTiledY);
    });
}

bool CPainterUI::DrawImageDesc(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                               LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    if (pManager == nullptr || hDC == nullptr) return false;
    if (pStrImage == nullptr) return true;
    CImageDescUI desc(rcItem, pStrImage);
    CImageDescPainterUI painter(hDC, pManager, rcItem, rcPaint);
    desc.Read(pStrImage, painter);
    desc.Read(pStrModify, painter);
    painter.DrawPending(desc);
    return true;
}

bool CPainterUI::DrawNamedImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR pStrName, LPCWSTR pStrType, const RECT& rcDest, const RECT& rcSource,
                                const RECT& rcCorners, DWORD dwMask, BYTE uFade, bool bHole, bool bTiledX, bool bTiledY)
{
    if (pManager == nullptr || hDC == nullptr) return false;
    if (pStrName == nullptr || pStrName[0] == L'\0') return true;
    TImageRecUI* pImage = pManager->GetImageEx(pStrName, pStrType, dwMask);
    if (pImage == nullptr) return true;
    RECT rcBmpPart = rcSource;
    if (rcBmpPart.left == 0 && rcBmpPart.top == 0 && rcBmpPart.right == 0 && rcBmpPart.bottom == 0)
        rcBmpPart = MakeRect(0, 0, pImage->nWidth, pImage->nHeight);
    if (rcBmpPart.right > pImage->nWidth) rcBmpPart.right = pImage->nWidth;
    if (rcBmpPart.bottom > pImage->nHeight) rcBmpPart.bottom = pImage->nHeight;
    if (Meets(rcDest, rcItem) && Meets(rcDest, rcPaint) &&
        !DrawScaledCopy(hDC, pImage, rcDest, rcPaint, rcBmpPart, rcCorners, uFade, bHole, bTiledX, bTiledY))
        DrawImage(hDC, pImage->hBitmap, rcDest, rcPaint, rcBmpPart, rcCorners, pImage->bAlpha, uFade, bHole, bTiledX,
                  bTiledY);
    return true;
}

void CPainterUI::DrawColor(HDC hDC, const RECT& rc, DWORD dwColor)
{
    const DWORD dwAlpha = dwColor >> 24;
    if (dwAlpha == 0 || IsRectEmpty(&rc)) return;
    if (dwAlpha == 255) {
        COLORREF clrOld = SetBkColor(hDC, ToColorRef(dwColor));
        ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        SetBkColor(hDC, clrOld);
        return;
    }
    // Images are premultiplied, and the blend expects the one pixel to be so as well.
    DWORD dwPixel = (dwAlpha << 24) | ((((dwColor >> 16) & 0xFF) * dwAlpha / 255) << 16) |
        ((((dwColor >> 8) & 0xFF) * dwAlpha / 255) << 8) | ((dwColor & 0xFF) * dwAlpha / 255);
    HDC hPixelDC = CPaintCacheUI::ForThisThread().PixelDC(dwPixel);
    if (hPixelDC == nullptr) return;
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    CMsimgUI::AlphaBlend(hDC, rc.left, rc.top, RectWidth(rc), RectHeight(rc), hPixelDC, 0, 0, 1, 1, blend);
}

void CPainterUI::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const DWORD dwAlpha = ((dwFirst >> 24) + (dwSecond >> 24)) / 2;
    if (dwAlpha == 0 || RectWidth(rc) <= 0 || RectHeight(rc) <= 0) return;
    HDC hTarget = hDC;
    RECT rcTarget = rc;
    HDC hOffDC = nullptr;
    HBITMAP hOffBitmap = nullptr, hOldBitmap = nullptr;
    if (dwAlpha < 255) {
        // A translucent gradient is drawn opaque off-screen, then blended as a whole.
        DWORD* pBits = nullptr;
        hOffDC = CreateCompatibleDC(hDC);
        hOffBitmap = CImageDecoderUI::CreateTopDownDib(hDC, RectWidth(rc), RectHeight(rc), &pBits);
        if (hOffDC == nullptr || hOffBitmap == nullptr) {
            if (hOffDC != nullptr) DeleteDC(hOffDC);
            if (hOffBitmap != nullptr) DeleteObject(hOffBitmap);
            return;
        }
        hOldBitmap = (HBITMAP)SelectObject(hOffDC, hOffBitmap);
        hTarget = hOffDC;
        rcTarget = MakeRect(0, 0, RectWidth(rc), RectHeight(rc));
    }
    if (!UIShared::CGradientUI::Fill(hTarget, rcTarget, dwFirst, dwSecond, bVertical)) {
        // The bands go on the same target as the rest: the off-screen bitmap when translucent.
        const int n = UIShared::CGradientUI::BandCount(nSteps);
        for (int i = 0; i < n; i++)
            DrawColor(hTarget, UIShared::CGradientUI::Band(rcTarget, bVertical, i, n),
                      0xFF000000 | UIShared::CGradientUI::BandColor(dwFirst, dwSecond, i, n));
    }
    if (hOffDC != nullptr) {
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, (BYTE)dwAlpha, 0 };
        CMsimgUI::AlphaBlend(hDC, rc.left, rc.top, RectWidth(rc), RectHeight(rc), hOffDC, 0, 0, RectWidth(rc),
                             RectHeight(rc), blend);
        SelectObject(hOffDC, hOldBitmap);
        DeleteObject(hOffBitmap);
        DeleteDC(hOffDC);
    }
}

void CPainterUI::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    UIShared::CPenDrawingUI::Line(hDC, rc, nSize, ToColorRef(dwPenColor));
}

void CPainterUI::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    UIShared::CPenDrawingUI::Frame(hDC, rc, nSize, ToColorRef(dwPenColor));
}

void CPainterUI::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    HPEN hPen = CPaintCacheUI::ForThisThread().Pen(PS_SOLID | PS_INSIDEFRAME, nSize, ToColorRef(dwPenColor));
    if (hPen == nullptr) return;
    HPEN hOldPen = (HPEN)SelectObject(hDC, hPen);
    HBRUSH hOldBrush = (HBRUSH)SelectObject(hDC, GetStockObject(HOLLOW_BRUSH));
    RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
    SelectObject(hDC, hOldBrush);
    SelectObject(hDC, hOldPen);
}

void CPainterUI::DrawPlainText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                               int iFont, UINT uStyle)
{
    if (pstrText == nullptr || pManager == nullptr) return;
    int nOldMode = SetBkMode(hDC, TRANSPARENT);
    COLORREF clrOld = SetTextColor(hDC, ToColorRef(dwTextColor));
    HFONT hOldFont = (HFONT)SelectObject(hDC, pManager->GetFont(iFont));
    DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
    SelectObject(hDC, hOldFont);
    SetTextColor(hDC, clrOld);
    SetBkMode(hDC, nOldMode);
}

void CPainterUI::DrawMarkupText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                                RECT* prcLinks, CStringUI* sLinks, int& nLinkRects, UINT uStyle)
{
    CMarkupTextUI renderer(hDC, pManager, dwTextColor, prcLinks, sLinks, nLinkRects, uStyle);
    renderer.Draw(rc, pstrText);
}

// ---------------------------------------------------------------------------------------
// Colours

void CPainterUI::RgbToHsl(DWORD dwColor, float* H, float* S, float* L)
{
    const float r = ((dwColor >> 16) & 0xFF) / 255.0f;
    const float g = ((dwColor >> 8) & 0xFF) / 255.0f;
    const float b = (dwColor & 0xFF) / 255.0f;
    const float fMax = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const float fMin = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const float fDelta = fMax - fMin;
    *L = (fMax + fMin) / 2.0f;
    if (fDelta <= 0.0f) {
        *H = 0.0f;
        *S = 0.0f;
        return;
    }
    *S = *L < 0.5f ? fDelta / (fMax + fMin) : fDelta / (2.0f - fMax - fMin);
    float h;
    if (fMax == r)
        h = (g - b) / fDelta + (g < b ? 6.0f : 0.0f);
    else if (fMax == g)
        h = (b - r) / fDelta + 2.0f;
    else
        h = (r - g) / fDelta + 4.0f;
    *H = h * 60.0f;
}

void CPainterUI::HslToRgb(DWORD* pColor, float H, float S, float L)
{
    float r = L, g = L, b = L;
    if (S > 0.0f) {
        const float q = L < 0.5f ? L * (1.0f + S) : L + S - L * S;
        const float p = 2.0f * L - q;
        const float h = H / 360.0f;
        r = HueToChannel(p, q, h + 1.0f / 3.0f);
        g = HueToChannel(p, q, h);
        b = HueToChannel(p, q, h - 1.0f / 3.0f);
    }
    *pColor = (*pColor & 0xFF000000) | (ClampChannel(r) << 16) | (ClampChannel(g) << 8) | ClampChannel(b);
}

DWORD CPainterUI::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100) return dwColor;
    float fH = 0.0f, fS = 0.0f, fL = 0.0f;
    RgbToHsl(dwColor, &fH, &fS, &fL);
    fH += (float)(H - 180);
    if (fH <= 0.0f) fH += 360.0f;
    if (fH >= 360.0f) fH -= 360.0f;
    fS = fS * S / 100.0f;
    fL = fL * L / 100.0f;
    if (fS > 1.0f) fS = 1.0f;
    if (fL > 1.0f) fL = 1.0f;
    DWORD dwResult = dwColor;
    HslToRgb(&dwResult, fH, fS, fL);
    return dwResult;
}

DWORD CPainterUI::MixColors(DWORD dwSrc, DWORD dwDest, float fAlpha)
{
    DWORD dwResult = dwDest & 0xFF000000;
    for (int shift = 0; shift <= 16; shift += 8) {
        float s = (float)((dwSrc >> shift) & 0xFF);
        float d = (float)((dwDest >> shift) & 0xFF);
        float c = s * fAlpha + d * (1.0f - fAlpha);
        int n = (int)(c + 0.5f);
        dwResult |= (DWORD)(n < 0 ? 0 : (n > 255 ? 255 : n)) << shift;
    }
    return dwResult;
}

BOOL CPainterUI::AlphaBlendFallback(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC,
                                    int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    if (nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0) return FALSE;
    HDC hTempDC = CreateCompatibleDC(hDC);
    if (hTempDC == nullptr) return FALSE;
    DWORD* pSrcBits = nullptr;
    DWORD* pDestBits = nullptr;
    HBITMAP hSrcBmp = CImageDecoderUI::CreateTopDownDib(hDC, nDestWidth, nDestHeight, &pSrcBits);
    HBITMAP hDestBmp = CImageDecoderUI::CreateTopDownDib(hDC, nDestWidth, nDestHeight, &pDestBits);
    BOOL bOk = FALSE;
    if (hSrcBmp != nullptr && hDestBmp != nullptr) {
        HBITMAP hOld = (HBITMAP)SelectObject(hTempDC, hSrcBmp);
        SetStretchBltMode(hTempDC, COLORONCOLOR);
        bOk = StretchBlt(hTempDC, 0, 0, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight, SRCCOPY);
        SelectObject(hTempDC, hDestBmp);
        bOk = bOk && BitBlt(hTempDC, 0, 0, nDestWidth, nDestHeight, hDC, nDestX, nDestY, SRCCOPY);
        if (bOk) {
            GdiFlush();
            const bool bSourceAlpha = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
            for (int i = 0; i < nDestWidth * nDestHeight; i++) {
                DWORD dwSrcAlpha = bSourceAlpha ? (pSrcBits[i] >> 24) : 255;
                float a = (float)dwSrcAlpha * blend.SourceConstantAlpha / 255.0f / 255.0f;
                if (a < 0.0f) a = 0.0f;
                // Premultiplied sources already carry their alpha in the colour channels.
                DWORD dwSource = pSrcBits[i];
                if (bSourceAlpha && dwSrcAlpha > 0) dwSource = MixColors(dwSource, 0, 255.0f / (float)dwSrcAlpha);
                pDestBits[i] = MixColors(dwSource, pDestBits[i], a);
            }
            bOk = BitBlt(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hTempDC, 0, 0, SRCCOPY);
        }
        SelectObject(hTempDC, hOld);
    }
    if (hSrcBmp != nullptr) DeleteObject(hSrcBmp);
    if (hDestBmp != nullptr) DeleteObject(hDestBmp);
    DeleteDC(hTempDC);
    return bOk;
}

} // namespace UpdUI
