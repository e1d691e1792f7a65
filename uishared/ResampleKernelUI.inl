// The resampler and its one call, compiled once per kernel. The resampler's functions are
// static, so each kernel keeps its own copy, compiled with its own flags, and the including
// file wraps ResampleBlock in its kernel's name.
#include "ResampleKernelUI.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include "stb_image_resize.h"

namespace {

const int kBytesPerPixel = 4;
const int kAlphaChannel = 3; // the pixels are B, G, R, A in memory

float EnlargedShift(float fScale)
{
    return fScale > 1.0f ? 0.5f * fScale - 0.5f : 0.0f;
}

void ResampleBlock(const UIShared::TResampleBlockUI& b)
{
    // The triangle filter averages the area a target pixel covers when shrinking and
    // interpolates between neighbours when enlarging. Enlarged, the shift puts source
    // pixel k at target pixel k * scale, where GDI's stretch puts it, rather than centre
    // on centre, so the picture does not move by a fraction of a pixel against a
    // GDI-drawn one; shrunk, centre on centre keeps the picture's mean colour.
    // The pixels are premultiplied already: the resampler must not weight them again.
    const float fScaleX = (float)b.nDstWidth / (float)b.nSrcWidth;
    const float fScaleY = (float)b.nDstHeight / (float)b.nSrcHeight;
    stbir_resize_subpixel(b.pSrc, b.nSrcWidth, b.nSrcHeight, b.nSrcRowLength * kBytesPerPixel, b.pDst, b.nDstWidth,
                          b.nDstHeight, b.nDstRowLength * kBytesPerPixel, STBIR_TYPE_UINT8, kBytesPerPixel,
                          kAlphaChannel, STBIR_FLAG_ALPHA_PREMULTIPLIED, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                          STBIR_FILTER_TRIANGLE, STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr, fScaleX,
                          fScaleY, EnlargedShift(fScaleX), EnlargedShift(fScaleY));
}

} // namespace
