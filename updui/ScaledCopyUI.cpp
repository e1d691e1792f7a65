#include "ScaledCopyUI.h"

#include <cstring>
#include <vector>

#include "ImageDecoderUI.h"
#include "NineGridUI.h"
#include "PainterUI.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include "stb_image_resize.h"

namespace UpdUI {

namespace {

const int kBytesPerPixel = 4;
const int kAlphaChannel = 3; // the pixels are B, G, R, A in memory

float EnlargedShift(float fScale)
{
    return fScale > 1.0f ? 0.5f * fScale - 0.5f : 0.0f;
}

bool IsEmptyCell(const TGridCellUI& cell)
{
    return cell.rcDest.right <= cell.rcDest.left || cell.rcDest.bottom <= cell.rcDest.top ||
        cell.rcSource.right <= cell.rcSource.left || cell.rcSource.bottom <= cell.rcSource.top;
}

bool IsReadable(const TImageRecUI& image, int cx, int cy, const TGridCellUI& cell)
{
    const RECT& s = cell.rcSource;
    const RECT& d = cell.rcDest;
    return s.left >= 0 && s.top >= 0 && s.right <= image.nWidth && s.bottom <= image.nHeight && d.left >= 0 &&
        d.top >= 0 && d.right <= cx && d.bottom <= cy;
}

// One cell, scaled from the image's pixels into the copy's.
void ResampleCell(const DWORD* pImage, int nImageWidth, const TGridCellUI& cell, DWORD* pCopy, int nCopyWidth)
{
    const int dw = cell.rcDest.right - cell.rcDest.left, dh = cell.rcDest.bottom - cell.rcDest.top;
    const int sw = cell.rcSource.right - cell.rcSource.left, sh = cell.rcSource.bottom - cell.rcSource.top;
    const DWORD* pSrc = pImage + (size_t)cell.rcSource.top * nImageWidth + cell.rcSource.left;
    DWORD* pDst = pCopy + (size_t)cell.rcDest.top * nCopyWidth + cell.rcDest.left;
    if (dw == sw && dh == sh) {
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
    const float fScaleX = (float)dw / (float)sw, fScaleY = (float)dh / (float)sh;
    stbir_resize_subpixel(pSrc, sw, sh, nImageWidth * kBytesPerPixel, pDst, dw, dh, nCopyWidth * kBytesPerPixel,
                          STBIR_TYPE_UINT8, kBytesPerPixel, kAlphaChannel, STBIR_FLAG_ALPHA_PREMULTIPLIED,
                          STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, STBIR_FILTER_TRIANGLE, STBIR_FILTER_TRIANGLE,
                          STBIR_COLORSPACE_LINEAR, nullptr, fScaleX, fScaleY, EnlargedShift(fScaleX),
                          EnlargedShift(fScaleY));
}

bool CornersFit(int cx, int cy, const RECT& rcCorners)
{
    return rcCorners.left >= 0 && rcCorners.top >= 0 && rcCorners.right >= 0 && rcCorners.bottom >= 0 &&
        rcCorners.left + rcCorners.right <= cx && rcCorners.top + rcCorners.bottom <= cy;
}

} // namespace

HBITMAP CScaledCopyUI::Resample(const TImageRecUI& image, int cx, int cy, const RECT& rcBmpPart, const RECT& rcCorners,
                                bool bHole, bool bTiledX, bool bTiledY)
{
    // Every decoded image is a top-down DIB section (see CImageDecoderUI).
    DIBSECTION dib = {};
    if (GetObjectW(image.hBitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmWidth != image.nWidth || dib.dsBm.bmHeight != image.nHeight)
        return nullptr;
    if (cx <= 0 || cy <= 0 || rcBmpPart.right <= rcBmpPart.left || rcBmpPart.bottom <= rcBmpPart.top ||
        !CornersFit(cx, cy, rcCorners))
        return nullptr;
    const RECT rcCopy = { 0, 0, cx, cy };
    std::vector<TGridCellUI> cells;
    if (!bHole)
        CNineGridUI::AddCentreTiles(CNineGridUI::DestCentre(rcCopy, rcCorners),
                                    CNineGridUI::SourceCentre(rcBmpPart, rcCorners), bTiledX, bTiledY, cells);
    CNineGridUI::AddBorderCells(rcCopy, rcBmpPart, rcCorners, cells);
    for (const TGridCellUI& cell : cells) {
        if (!IsEmptyCell(cell) && !IsReadable(image, cx, cy, cell)) return nullptr;
    }
    DWORD* pBits = nullptr;
    HBITMAP hCopy = CImageDecoderUI::CreateTopDownDib(nullptr, cx, cy, &pBits);
    if (hCopy == nullptr) return nullptr;
    // The image's pixels may still be the target of queued drawing.
    GdiFlush();
    const DWORD* pImage = static_cast<const DWORD*>(dib.dsBm.bmBits);
    for (const TGridCellUI& cell : cells) {
        if (!IsEmptyCell(cell)) ResampleCell(pImage, image.nWidth, cell, pBits, cx);
    }
    return hCopy;
}

} // namespace UpdUI
