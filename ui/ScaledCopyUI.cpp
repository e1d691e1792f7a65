#include "ScaledCopyUI.h"

#include <cstring>

#include "ImageDecoderUI.h"
#include "NinePartsUI.h"
#include "PainterUI.h"
#include "uishared/DrawnCopyUI.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include "stb_image_resize.h"

namespace {

const int kBytesPerPixel = 4;
const int kAlphaChannel = 3; // the pixels are B, G, R, A in memory

float EnlargedShift(float fScale)
{
    return fScale > 1.0f ? 0.5f * fScale - 0.5f : 0.0f;
}

// One part, scaled from the image's pixels into the copy's.
void ResamplePart(const DWORD* pImage, int nImageWidth, const TImagePartUI& part, DWORD* pCopy, int nCopyWidth)
{
    const int dw = part.rcDest.right - part.rcDest.left, dh = part.rcDest.bottom - part.rcDest.top;
    const DWORD* pSrc = pImage + (size_t)part.nSrcY * nImageWidth + part.nSrcX;
    DWORD* pDst = pCopy + (size_t)part.rcDest.top * nCopyWidth + part.rcDest.left;
    if (dw == part.nSrcWidth && dh == part.nSrcHeight) {
        for (int y = 0; y < dh; y++)
            memcpy(pDst + (size_t)y * nCopyWidth, pSrc + (size_t)y * nImageWidth, (size_t)dw * sizeof(DWORD));
        return;
    }
    // The triangle filter averages the area a target pixel covers when shrinking and
    // interpolates between neighbours when enlarging. Enlarged, the shift puts source
    // pixel k at target pixel k * scale, where GDI's stretch puts it, rather than centre
    // on centre, so the picture does not move by a fraction of a pixel against a
    // GDI-drawn one; shrunk, centre on centre keeps the picture's mean colour.
    // The pixels are premultiplied already: the resampler must not weight them again.
    const float fScaleX = (float)dw / (float)part.nSrcWidth, fScaleY = (float)dh / (float)part.nSrcHeight;
    stbir_resize_subpixel(pSrc, part.nSrcWidth, part.nSrcHeight, nImageWidth * kBytesPerPixel, pDst, dw, dh,
                          nCopyWidth * kBytesPerPixel, STBIR_TYPE_UINT8, kBytesPerPixel, kAlphaChannel,
                          STBIR_FLAG_ALPHA_PREMULTIPLIED, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, STBIR_FILTER_TRIANGLE,
                          STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr, fScaleX, fScaleY,
                          EnlargedShift(fScaleX), EnlargedShift(fScaleY));
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
