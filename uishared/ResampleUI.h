#pragma once
#include <windows.h>

namespace UIShared {

// Scales a block of premultiplied 32-bit pixels into another, for the copies both UI
// libraries keep of their images at the size they are drawn. On 32-bit x86 the
// resampler's float maths is compiled twice: for any processor (the x87 unit) and for
// SSE2, which makes the copy about twice as fast. The SSE2 build is used where the
// processor has it; both give the same bytes.
class CResampleUI
{
public:
    // Rows are nSrcRowLength and nDstRowLength pixels apart, so either block may be part of
    // a larger image. Blocks of the same size are copied as they are.
    static void Resample(const DWORD* pSrc, int nSrcWidth, int nSrcHeight, int nSrcRowLength, DWORD* pDst,
                         int nDstWidth, int nDstHeight, int nDstRowLength);

private:
    static bool UseSse2();
};

} // namespace UIShared
