#include "BenchDib.h"

void CBenchDib::FillTranslucentPattern()
{
    GdiFlush();
    DWORD* pBits = Bits();
    for (int y = 0; y < Height(); y++) {
        for (int x = 0; x < Width(); x++) {
            const DWORD a = static_cast<DWORD>((x + y) & 0xFF);
            const DWORD r = 0xC0 * a / 255, g = 0x40 * a / 255, b = 0x80 * a / 255;
            pBits[y * Width() + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
}
