#pragma once
#include <windows.h>

// Measures over the bytes of 32-bit top-down DIB sections, for comparing two ways of
// making the same picture.
class CDibBytes
{
public:
    // The largest difference of a colour byte between two pictures of cx by cy (the
    // alpha byte is left out: GDI's stretch does not carry it); 256 when either is no
    // DIB section.
    static int LargestColourDifference(HBITMAP hA, HBITMAP hB, int cx, int cy);
    // The mean of each colour byte (blue, green, red) into pMean; -1000 each when the
    // bitmap is no DIB section.
    static void MeanColour(HBITMAP hBitmap, int cx, int cy, double* pMean);

private:
    // The section's bits are null when it is none.
    static DIBSECTION DibOf(HBITMAP hBitmap);
};
