#include "ScaledCopyUI.h"

#include <vector>

#include "ImageDecoderUI.h"
#include "NineGridUI.h"
#include "PainterUI.h"
#include "uishared/ResampleUI.h"

namespace UpdUI {

namespace {

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
    const RECT& s = cell.rcSource;
    const RECT& d = cell.rcDest;
    UIShared::CResampleUI::Resample(pImage + (size_t)s.top * nImageWidth + s.left, s.right - s.left, s.bottom - s.top,
                                    nImageWidth, pCopy + (size_t)d.top * nCopyWidth + d.left, d.right - d.left,
                                    d.bottom - d.top, nCopyWidth);
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
