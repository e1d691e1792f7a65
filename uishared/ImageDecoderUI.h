#pragma once
#include <windows.h>

#include <stddef.h>

namespace UIShared {

// Turns encoded image bytes (any format stb_image reads) into a premultiplied 32-bit
// top-down DIB section; each library wraps the result in its own image record.
class CImageDecoderUI
{
public:
    // Null when the bytes are no image or no bitmap can be made; otherwise the bitmap
    // with its size and whether any pixel is not opaque (a masked pixel counts).
    static HBITMAP DecodeToDib(const BYTE* pData, DWORD dwSize, DWORD dwMask, int* pcx, int* pcy, bool* pbAlpha);
    // A zeroed (fully transparent) 32-bit top-down DIB section; null for an empty size.
    static HBITMAP CreateTopDownDib(HDC hDC, int cx, int cy, DWORD** ppBits);

private:
    static bool ConvertPixels(const BYTE* pRgba, DWORD* pBits, size_t nPixels, DWORD dwMask);
};

} // namespace UIShared
