#include "ResampleUI.h"

#include <cstring>

#include "ResampleKernelUI.h"

namespace UIShared {

bool CResampleUI::UseSse2()
{
#ifdef LUMORA_RESAMPLE_SSE2_KERNEL
    // 32-bit Windows runs on processors without SSE2: ask once.
    static const bool bHasSse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
    return bHasSse2;
#else
    return false;
#endif
}

void CResampleUI::Resample(const DWORD* pSrc, int nSrcWidth, int nSrcHeight, int nSrcRowLength, DWORD* pDst,
                           int nDstWidth, int nDstHeight, int nDstRowLength)
{
    if (nDstWidth == nSrcWidth && nDstHeight == nSrcHeight) {
        for (int y = 0; y < nDstHeight; y++)
            memcpy(pDst + (size_t)y * nDstRowLength, pSrc + (size_t)y * nSrcRowLength,
                   (size_t)nDstWidth * sizeof(DWORD));
        return;
    }
    const TResampleBlockUI block = { pSrc, nSrcWidth, nSrcHeight, nSrcRowLength,
                                     pDst, nDstWidth, nDstHeight, nDstRowLength };
#ifdef LUMORA_RESAMPLE_SSE2_KERNEL
    if (UseSse2()) {
        ResampleKernelSse2::Resample(block);
        return;
    }
#endif
    ResampleKernelPlain::Resample(block);
}

} // namespace UIShared
