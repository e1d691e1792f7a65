#include "DibBytes.h"

#include <stdlib.h>

#include <algorithm>

DIBSECTION CDibBytes::DibOf(HBITMAP hBitmap)
{
    DIBSECTION dib = {};
    ::GdiFlush();
    if (::GetObjectW(hBitmap, sizeof(dib), &dib) != sizeof(dib)) dib.dsBm.bmBits = nullptr;
    return dib;
}

int CDibBytes::LargestColourDifference(HBITMAP hA, HBITMAP hB, int cx, int cy)
{
    const DIBSECTION a = DibOf(hA), b = DibOf(hB);
    if (a.dsBm.bmBits == nullptr || b.dsBm.bmBits == nullptr) return 256;
    const BYTE* pA = static_cast<const BYTE*>(a.dsBm.bmBits);
    const BYTE* pB = static_cast<const BYTE*>(b.dsBm.bmBits);
    int nMax = 0;
    for (size_t i = 0; i < static_cast<size_t>(cx) * cy * 4; i++) {
        if (i % 4 != 3) nMax = std::max(nMax, abs(static_cast<int>(pA[i]) - static_cast<int>(pB[i])));
    }
    return nMax;
}

void CDibBytes::MeanColour(HBITMAP hBitmap, int cx, int cy, double* pMean)
{
    const DIBSECTION dib = DibOf(hBitmap);
    pMean[0] = pMean[1] = pMean[2] = -1000.0;
    if (dib.dsBm.bmBits == nullptr) return;
    const BYTE* p = static_cast<const BYTE*>(dib.dsBm.bmBits);
    double sum[3] = {};
    for (size_t i = 0; i < static_cast<size_t>(cx) * cy; i++)
        for (int c = 0; c < 3; c++) sum[c] += p[i * 4 + c];
    for (int c = 0; c < 3; c++) pMean[c] = sum[c] / (static_cast<double>(cx) * cy);
}
