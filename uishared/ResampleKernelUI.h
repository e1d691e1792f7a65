#pragma once
#include <windows.h>

namespace UIShared {

// The block to scale, as CResampleUI::Resample takes it.
struct TResampleBlockUI
{
    const DWORD* pSrc;
    int nSrcWidth, nSrcHeight, nSrcRowLength;
    DWORD* pDst;
    int nDstWidth, nDstHeight, nDstRowLength;
};

// The same resampler compiled with the build's own flags, for any processor.
namespace ResampleKernelPlain {
void Resample(const TResampleBlockUI& block);
} // namespace ResampleKernelPlain

#ifdef LUMORA_RESAMPLE_SSE2_KERNEL
// Compiled with SSE2 maths, for 32-bit x86 only: call it only where the processor has SSE2.
namespace ResampleKernelSse2 {
void Resample(const TResampleBlockUI& block);
} // namespace ResampleKernelSse2
#endif

} // namespace UIShared
