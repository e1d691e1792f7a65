#pragma once
#include <windows.h>

struct TImageRecUI;

// Turns encoded image bytes (any format stb_image reads) into a premultiplied 32-bit
// top-down DIB section.
class CImageDecoderUI
{
public:
    static TImageRecUI* Decode(const BYTE* pData, DWORD dwSize, DWORD dwMask);
    // A zeroed (fully transparent) 32-bit top-down DIB section.
    static HBITMAP CreateTopDownDib(int cx, int cy, DWORD** ppBits);
};
