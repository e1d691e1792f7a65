#pragma once
#include <windows.h>

#include "DibCanvas.h"

// The tests' canvas, with the pattern the paint benchmarks blend.
class CBenchDib : public CDibCanvas
{
public:
    CBenchDib(int cx, int cy) : CDibCanvas(cx, cy) { }

    // Premultiplied pixels whose alpha runs through every value, so a blend of this DIB
    // takes the general path on every pixel.
    void FillTranslucentPattern();
};
