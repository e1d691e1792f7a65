#include "PainterUI.h"

#include <vector>

#include "ImageDecoderUI.h"
#include "ImageDescUI.h"
#include "MarkupTextUI.h"
#include "MsimgUI.h"
#include "NinePartsUI.h"
#include "PaintCacheUI.h"
#include "ScaledCopyUI.h"
#include "ScaledImageCacheUI.h"
#include "SkinStorageUI.h"
#include "WindowManagerUI.h"
#include "uishared/GradientUI.h"
#include "uishared/PenDrawingUI.h"

namespace {

bool ShouldDrawPart(const TImagePartUI& part, const RECT& rcPaint)
{
    RECT rcTemp;
    return part.nSrcWidth > 0 && part.nSrcHeight > 0 && IntersectRect(&rcTemp, &rcPaint, &part.rcDest);
}

bool ReadImageBytes(LPCWSTR pstrBitmap, LPCWSTR pstrSkinFile, LPCWSTR pstrType, std::vector<BYTE>& bytes)
{
    if (pstrSkinFile != nullptr && pstrSkinFile[0] != L'\0') {
        if (IS_INTRESOURCE(pstrBitmap)) return false;
        return CSkinStorageUI::ReadStream(pstrSkinFile, L"pic", pstrBitmap, bytes);
    }
    if (IS_INTRESOURCE(pstrBitmap))
        return CSkinStorageUI::ReadResource(CWindowManagerUI::GetInstance(), (UINT)(UINT_PTR)pstrBitmap, pstrType,
                                            bytes);
    return CSkinStorageUI::ReadWholeFile(pstrBitmap, bytes);
}

} // namespace

COLORREF CPainterUI::ToColorRef(DWORD dwArgb)
{
    return RGB((dwArgb >> 16) & 0xFF, (dwArgb >> 8) & 0xFF, dwArgb & 0xFF);
}

TImageRecUI* CPainterUI::LoadImageData(LPCWSTR pstrBitmap, LPCWSTR pstrSkinFile, LPCWSTR pstrType, DWORD dwMask)
{
    if (pstrBitmap == nullptr) return nullptr;
    std::vector<BYTE> bytes;
    if (!ReadImageBytes(pstrBitmap, pstrSkinFile, pstrType, bytes) || bytes.empty()) return nullptr;
    return CImageDecoderUI::Decode(bytes.data(), (DWORD)bytes.size(), dwMask);
}

void CPainterUI::FreeImageData(TImageRecUI* pImage)
{
    if (pImage == nullptr) return;
    if (pImage->hBitmap != nullptr) DeleteObject(pImage->hBitmap);
    delete pImage->pScaled;
    delete pImage;
}

void CPainterUI::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                           const RECT& rcCorners, bool bAlphaChannel, BYTE uFade, bool bHole)
{
    if (hDC == nullptr || hBitmap == nullptr) return;
    HDC hMemDC = CPaintCacheUI::ForThisThread().MemoryDC();
    if (hMemDC == nullptr) return;
    HBITMAP hOldBitmap = (HBITMAP)SelectObject(hMemDC, hBitmap);
    SetStretchBltMode(hDC, HALFTONE);

    const bool bSameSize = rc.right - rc.left == rcBmpPart.right - rcBmpPart.left &&
        rc.bottom - rc.top == rcBmpPart.bottom - rcBmpPart.top;
    const bool bNoCorners = rcCorners.left == 0 && rcCorners.top == 0 && rcCorners.right == 0 && rcCorners.bottom == 0;
    RECT rcTemp;
    if (!bAlphaChannel && uFade == 255 && bSameSize && bNoCorners) {
        if (IntersectRect(&rcTemp, &rcPaint, &rc))
            BitBlt(hDC, rcTemp.left, rcTemp.top, rcTemp.right - rcTemp.left, rcTemp.bottom - rcTemp.top, hMemDC,
                   rcBmpPart.left + rcTemp.left - rc.left, rcBmpPart.top + rcTemp.top - rc.top, SRCCOPY);
    } else {
        TImagePartUI parts[CNinePartsUI::MAX_PARTS];
        int nParts = CNinePartsUI::Build(rc, rcBmpPart, rcCorners, bHole, parts);
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA };
        for (int i = 0; i < nParts; i++) {
            const TImagePartUI& part = parts[i];
            if (!ShouldDrawPart(part, rcPaint)) continue;
            const RECT& d = part.rcDest;
            if (bAlphaChannel || uFade < 255)
                CMsimgUI::AlphaBlend(hDC, d.left, d.top, d.right - d.left, d.bottom - d.top, hMemDC, part.nSrcX,
                                     part.nSrcY, part.nSrcWidth, part.nSrcHeight, blend);
            else
                StretchBlt(hDC, d.left, d.top, d.right - d.left, d.bottom - d.top, hMemDC, part.nSrcX, part.nSrcY,
                           part.nSrcWidth, part.nSrcHeight, SRCCOPY);
        }
    }
    SelectObject(hMemDC, hOldBitmap);
}

// A stretched image is drawn from its copy at the drawn size, made on first use, so the
// scaling is paid once per size and not on every paint. The copy holds what the same
// stretch gives over nothing (premultiplied), so drawing it is one copy or one blend of
// just the part being painted. False when the image is drawn directly instead.
bool CPainterUI::DrawScaledCopy(HDC hDC, TImageRecUI* pImage, const RECT& rc, const RECT& rcPaint,
                                const RECT& rcBmpPart, const RECT& rcCorners, BYTE uFade, bool bHole)
{
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx == rcBmpPart.right - rcBmpPart.left && cy == rcBmpPart.bottom - rcBmpPart.top)
        return false; // nothing is stretched
    const bool bBlend = pImage->bAlpha || uFade < 255;
    // An opaque copy would be copied over the hole, which must keep what is below.
    if ((bHole && !bBlend) || !CScaledImageCacheUI::IsKeepable(cx, cy)) return false;
    if (pImage->pScaled == nullptr) pImage->pScaled = new CScaledImageCacheUI;
    const CScaledImageCacheUI::TKeyUI key = { rcBmpPart, rcCorners, cx, cy, (bBlend ? 1u : 0u) | (bHole ? 2u : 0u) };
    HBITMAP hCopy = pImage->pScaled->Find(key);
    if (hCopy == nullptr) {
        hCopy = CScaledCopyUI::Resample(*pImage, cx, cy, rcBmpPart, rcCorners, bHole);
        if (hCopy == nullptr) hCopy = CScaledCopyUI::Stretch(hDC, *pImage, cx, cy, rcBmpPart, rcCorners, bBlend, bHole);
        if (hCopy == nullptr) return false;
        pImage->pScaled->Add(key, hCopy);
    }
    RECT rcPart;
    if (!IntersectRect(&rcPart, &rc, &rcPaint)) return true;
    HDC hMemDC = CPaintCacheUI::ForThisThread().MemoryDC();
    if (hMemDC == nullptr) return false;
    HGDIOBJ hOld = SelectObject(hMemDC, hCopy);
    const int x = rcPart.left, y = rcPart.top, w = rcPart.right - rcPart.left, h = rcPart.bottom - rcPart.top;
    if (bBlend) {
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA };
        CMsimgUI::AlphaBlend(hDC, x, y, w, h, hMemDC, x - rc.left, y - rc.top, w, h, blend);
    } else {
        BitBlt(hDC, x, y, w, h, hMemDC, x - rc.left, y - rc.top, SRCCOPY);
    }
    SelectObject(hMemDC, hOld);
    return true;
}

bool CPainterUI::DrawImageDesc(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                               LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    if (pManager == nullptr || pStrImage == nullptr) return false;
    CImageDescUI desc(rcItem);
    desc.sFile = pStrImage;
    desc.Parse(pStrImage);
    desc.Parse(pStrModify);
    TImageRecUI* pImage = pManager->GetImageEx(
        desc.sFile.GetData(), desc.sResType.IsEmpty() ? nullptr : desc.sResType.GetData(), desc.dwMask);
    if (pImage == nullptr) return false;
    RECT rcSource = desc.rcSource;
    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0)
        rcSource = RECT{ 0, 0, pImage->nWidth, pImage->nHeight };
    RECT rcTemp;
    if (IntersectRect(&rcTemp, &desc.rcDest, &rcItem) && IntersectRect(&rcTemp, &desc.rcDest, &rcPaint) &&
        !DrawScaledCopy(hDC, pImage, desc.rcDest, rcPaint, rcSource, desc.rcCorner, desc.uFade, desc.bHole))
        DrawImage(hDC, pImage->hBitmap, desc.rcDest, rcPaint, rcSource, desc.rcCorner, pImage->bAlpha, desc.uFade,
                  desc.bHole);
    return true;
}

void CPainterUI::DrawColor(HDC hDC, const RECT& rc, DWORD dwColor)
{
    const DWORD dwAlpha = dwColor >> 24;
    if (dwAlpha == 0 || IsRectEmpty(&rc)) return;
    if (dwAlpha == 255) {
        SetBkColor(hDC, ToColorRef(dwColor));
        ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        return;
    }
    // The blend expects premultiplied pixels, as every loaded image is.
    DWORD dwPremultiplied = (dwAlpha << 24) | ((((dwColor >> 16) & 0xFF) * dwAlpha / 255) << 16) |
        ((((dwColor >> 8) & 0xFF) * dwAlpha / 255) << 8) | ((dwColor & 0xFF) * dwAlpha / 255);
    HDC hPixelDC = CPaintCacheUI::ForThisThread().PixelDC(dwPremultiplied);
    if (hPixelDC == nullptr) return;
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    CMsimgUI::AlphaBlend(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hPixelDC, 0, 0, 1, 1, blend);
}

void CPainterUI::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    if (!UIShared::CGradientUI::Fill(hDC, rc, dwFirst, dwSecond, bVertical))
        DrawGradientBands(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
}

// Without GradientFill: solid brush bands, empty ones skipped.
void CPainterUI::DrawGradientBands(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const int n = UIShared::CGradientUI::BandCount(nSteps);
    for (int i = 0; i < n; i++) {
        RECT rcBand = UIShared::CGradientUI::Band(rc, bVertical, i, n);
        if (IsRectEmpty(&rcBand)) continue;
        HBRUSH hBrush = CreateSolidBrush(ToColorRef(UIShared::CGradientUI::BandColor(dwFirst, dwSecond, i, n)));
        FillRect(hDC, &rcBand, hBrush);
        DeleteObject(hBrush);
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

void CPainterUI::DrawPlainText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                               int iFont, UINT uStyle)
{
    if (pstrText == nullptr) return;
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, ToColorRef(dwTextColor));
    HFONT hFont = pManager != nullptr ? pManager->GetFont(iFont) : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HFONT hOldFont = (HFONT)SelectObject(hDC, hFont);
    DrawTextW(hDC, pstrText, -1, &rc, uStyle);
    SelectObject(hDC, hOldFont);
}

void CPainterUI::DrawMarkupText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                                RECT* prcLinks, CStringUI* sLinks, int& nLinkRects, UINT uStyle)
{
    CMarkupTextUI renderer(hDC, pManager, dwTextColor, prcLinks, sLinks, nLinkRects, uStyle);
    renderer.Draw(rc, pstrText);
}
