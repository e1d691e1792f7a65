#include "DrawnCopyUI.h"

#include "ImageDecoderUI.h"

namespace UIShared {

HBITMAP CDrawnCopyUI::Make(HDC hDC, int cx, int cy, const FDraw& draw)
{
    DWORD* pBits = nullptr;
    HBITMAP hCopy = CImageDecoderUI::CreateTopDownDib(hDC, cx, cy, &pBits);
    if (hCopy == nullptr) return nullptr;
    HDC hCopyDC = CreateCompatibleDC(hDC);
    if (hCopyDC == nullptr) {
        DeleteObject(hCopy);
        return nullptr;
    }
    HGDIOBJ hOld = SelectObject(hCopyDC, hCopy);
    const RECT rcCopy = { 0, 0, cx, cy };
    draw(hCopyDC, rcCopy);
    // The pixels are read directly once the copy is handed over.
    GdiFlush();
    SelectObject(hCopyDC, hOld);
    DeleteDC(hCopyDC);
    return hCopy;
}

} // namespace UIShared
