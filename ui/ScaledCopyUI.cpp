#include "ScaledCopyUI.h"

#include "ImageDecoderUI.h"
#include "NinePartsUI.h"
#include "PainterUI.h"
#include "uishared/DrawnCopyUI.h"
#include "uishared/ResampleUI.h"

namespace {

// One part, scaled from the image's pixels into the copy's.
void ResamplePart(const DWORD* pImage, int nImageWidth, const TImagePartUI& part, DWORD* pCopy, int nCopyWidth)
{
    UIShared::CResampleUI::Resample(
        pImage + (size_t)part.nSrcY * nImageWidth + part.nSrcX, part.nSrcWidth, part.nSrcHeight, nImageWidth,
        pCopy + (size_t)part.rcDest.top * nCopyWidth + part.rcDest.left, part.rcDest.right - part.rcDest.left,
        part.rcDest.bottom - part.rcDest.top, nCopyWidth);
}

} // namespace

bool CScaledCopyUI::ReadablePart(const TImageRecUI& image, const RECT& rcDest, int x, int y, int w, int h)
{
    return x >= 0 && y >= 0 && w > 0 && h > 0 && x <= image.nWidth - w && y <= image.nHeight - h &&
        rcDest.right > rcDest.left && rcDest.bottom > rcDest.top;
}

HBITMAP CScaledCopyUI::Resample(const TImageRecUI& image, int cx, int cy, const RECT& rcBmpPart, const RECT& rcCorners,
                                bool bHole)
{
    // Every decoded image is a top-down DIB section (see CImageDecoderUI).
    DIBSECTION dib = {};
    if (GetObjectW(image.hBitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmWidth != image.nWidth || dib.dsBm.bmHeight != image.nHeight)
        return nullptr;
    // Corners that do not fit side by side overlap, and where they overlap GDI blends
    // one over the other.
    if (rcCorners.left < 0 || rcCorners.top < 0 || rcCorners.right < 0 || rcCorners.bottom < 0 ||
        rcCorners.left + rcCorners.right > cx || rcCorners.top + rcCorners.bottom > cy)
        return nullptr;
    const RECT rcCopy = { 0, 0, cx, cy };
    TImagePartUI parts[CNinePartsUI::MAX_PARTS];
    const int nParts = CNinePartsUI::Build(rcCopy, rcBmpPart, rcCorners, bHole, parts);
    for (int i = 0; i < nParts; i++) {
        const TImagePartUI& part = parts[i];
        // An empty source part draws nothing, as GDI's stretch skips it.
        if (part.nSrcWidth <= 0 || part.nSrcHeight <= 0) continue;
        if (!ReadablePart(image, part.rcDest, part.nSrcX, part.nSrcY, part.nSrcWidth, part.nSrcHeight)) return nullptr;
    }
    DWORD* pBits = nullptr;
    HBITMAP hCopy = CImageDecoderUI::CreateTopDownDib(cx, cy, &pBits);
    if (hCopy == nullptr) return nullptr;
    // The image's pixels may still be the target of queued drawing.
    GdiFlush();
    const DWORD* pImage = static_cast<const DWORD*>(dib.dsBm.bmBits);
    for (int i = 0; i < nParts; i++) {
        if (parts[i].nSrcWidth > 0 && parts[i].nSrcHeight > 0) ResamplePart(pImage, image.nWidth, parts[i], pBits, cx);
    }
    return hCopy;
}

// The stretch is drawn by the painter itself into a transparent surface, so the copy
// has exactly the pixels a direct drawing would have had: a blend over nothing leaves
// the source as it is.
HBITMAP CScaledCopyUI::Stretch(HDC hDC, const TImageRecUI& image, int cx, int cy, const RECT& rcBmpPart,
                               const RECT& rcCorners, bool bBlend, bool bHole)
{
    return UIShared::CDrawnCopyUI::Make(hDC, cx, cy, [&](HDC hCopyDC, const RECT& rcCopy) {
        CPainterUI::DrawImage(hCopyDC, image.hBitmap, rcCopy, rcCopy, rcBmpPart, rcCorners, bBlend, 255, bHole);
    });
}
