#pragma once
#include <windows.h>

namespace UpdUI {

struct TImageRecUI;

// Turns encoded image bytes (any format stb_image reads) into a premultiplied 32-bit
// top-down DIB section.
class CImageDecoderUI
{
public:
    static TImageRecUI* Decode(const BYTE* pData, DWORD dwSize, DWORD dwMask);
    static HBITMAP CreateTopDownDib(HDC hDC, int cx, int cy, DWORD** ppBits);
};

} // namespace UpdUI
