#include "ImageDecoderUI.h"

#include <limits.h>

// The one place the decoder's implementation is compiled into the program.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#include <stb_image.h>

namespace UIShared {

HBITMAP CImageDecoderUI::DecodeToDib(const BYTE* pData, DWORD dwSize, DWORD dwMask, int* pcx, int* pcy, bool* pbAlpha)
{
    if (pData == nullptr || dwSize == 0 || dwSize > INT_MAX) return nullptr;
    int cx = 0, cy = 0, nChannels = 0;
    stbi_uc* pRgba = stbi_load_from_memory(pData, (int)dwSize, &cx, &cy, &nChannels, 4);
    if (pRgba == nullptr) return nullptr;
    DWORD* pBits = nullptr;
    HBITMAP hBitmap = CreateTopDownDib(nullptr, cx, cy, &pBits);
    if (hBitmap != nullptr) {
        *pbAlpha = ConvertPixels(pRgba, pBits, (size_t)cx * (size_t)cy, dwMask);
        *pcx = cx;
        *pcy = cy;
    }
    stbi_image_free(pRgba);
    return hBitmap;
}

HBITMAP CImageDecoderUI::CreateTopDownDib(HDC hDC, int cx, int cy, DWORD** ppBits)
{
    *ppBits = nullptr;
    if (cx <= 0 || cy <= 0) return nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HBITMAP hBitmap = CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, (void**)ppBits, nullptr, 0);
    if (hBitmap != nullptr && *ppBits == nullptr) {
        DeleteObject(hBitmap);
        return nullptr;
    }
    return hBitmap;
}

// RGBA bytes to premultiplied 0xAARRGGBB; returns whether any pixel is not opaque.
bool CImageDecoderUI::ConvertPixels(const BYTE* pRgba, DWORD* pBits, size_t nPixels, DWORD dwMask)
{
    bool bAlpha = false;
    for (size_t i = 0; i < nPixels; i++, pRgba += 4) {
        DWORD r = pRgba[0], g = pRgba[1], b = pRgba[2], a = pRgba[3];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            bAlpha = true;
        }
        DWORD dwPixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (dwPixel == dwMask) {
            dwPixel = 0;
            bAlpha = true;
        }
        pBits[i] = dwPixel;
    }
    return bAlpha;
}

} // namespace UIShared
