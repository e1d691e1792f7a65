#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "uishared/ResampleKernelUI.h"
#include "uishared/ResampleUI.h"

using UIShared::CResampleUI;
using UIShared::TResampleBlockUI;

namespace {

// No resampled premultiplied pixel has a colour byte above its alpha (give or take the
// rounding of the two sums); a pixel the resampler left alone does.
const DWORD kUntouched = 0x00FFFFFF;
// The blocks sit this far inside larger images, as the parts of a nine-part copy do.
const int kMargin = 3;

struct TResampleCase
{
    int nSrcWidth, nSrcHeight, nDstWidth, nDstHeight;
};

// Enlarged, shrunk, and one of each at once; the first is a window's backdrop.
const TResampleCase kCases[] = { { 64, 32, 1132, 750 }, { 3, 5, 17, 11 }, { 40, 30, 13, 7 }, { 10, 20, 25, 8 } };

std::string CaseName(const TResampleCase& c)
{
    return std::to_string(c.nSrcWidth) + "x" + std::to_string(c.nSrcHeight) + " to " + std::to_string(c.nDstWidth) +
        "x" + std::to_string(c.nDstHeight);
}

// A picture of premultiplied pixels of every kind, fully transparent ones too.
std::vector<DWORD> NoiseImage(int nWidth, int nHeight, unsigned nSeed)
{
    std::mt19937 random(nSeed);
    std::vector<DWORD> pixels((size_t)nWidth * nHeight);
    for (DWORD& pixel : pixels) {
        const DWORD alpha = random() % 4 == 0 ? 255 : random() % 256;
        pixel = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8) pixel |= (alpha == 0 ? 0 : random() % (alpha + 1)) << shift;
    }
    return pixels;
}

// A block of the case's target size inside an image filled with untouched pixels.
struct TTarget
{
    explicit TTarget(const TResampleCase& c)
        : nRowLength(c.nDstWidth + 2 * kMargin), pixels((size_t)nRowLength * (c.nDstHeight + 2 * kMargin), kUntouched)
    { }
    DWORD* Block() { return pixels.data() + (size_t)kMargin * nRowLength + kMargin; }

    int nRowLength;
    std::vector<DWORD> pixels;
};

TResampleBlockUI BlockOf(const TResampleCase& c, const std::vector<DWORD>& source, TTarget& target)
{
    const int nSrcRowLength = c.nSrcWidth + 2 * kMargin;
    return { source.data() + (size_t)kMargin * nSrcRowLength + kMargin,
             c.nSrcWidth,
             c.nSrcHeight,
             nSrcRowLength,
             target.Block(),
             c.nDstWidth,
             c.nDstHeight,
             target.nRowLength };
}

bool IsPremultiplied(DWORD pixel)
{
    const DWORD alpha = pixel >> 24;
    for (int shift = 0; shift < 24; shift += 8)
        if (((pixel >> shift) & 0xFF) > alpha + 1) return false;
    return true;
}

// Every pixel of the block written, and none around it.
void ExpectOnlyTheBlockWritten(const TResampleCase& c, const TTarget& target)
{
    int nUnwritten = 0, nOverwritten = 0;
    for (int y = 0; y < c.nDstHeight + 2 * kMargin; y++) {
        for (int x = 0; x < target.nRowLength; x++) {
            const DWORD pixel = target.pixels[(size_t)y * target.nRowLength + x];
            const bool bInside =
                x >= kMargin && y >= kMargin && x < kMargin + c.nDstWidth && y < kMargin + c.nDstHeight;
            if (bInside && !IsPremultiplied(pixel)) nUnwritten++;
            if (!bInside && pixel != kUntouched) nOverwritten++;
        }
    }
    EXPECT_EQ(nUnwritten, 0);
    EXPECT_EQ(nOverwritten, 0);
}

// What both libraries call, with a block as the kernels take it.
void ResampleThroughTheSharedEntry(const TResampleBlockUI& b)
{
    CResampleUI::Resample(b.pSrc, b.nSrcWidth, b.nSrcHeight, b.nSrcRowLength, b.pDst, b.nDstWidth, b.nDstHeight,
                          b.nDstRowLength);
}

int CountDifferentPixels(const TTarget& a, const TTarget& b)
{
    if (a.pixels.size() != b.pixels.size()) return -1;
    int nDifferent = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        if (a.pixels[i] != b.pixels[i]) nDifferent++;
    return nDifferent;
}

std::vector<DWORD> SourceFor(const TResampleCase& c, unsigned nSeed)
{
    return NoiseImage(c.nSrcWidth + 2 * kMargin, c.nSrcHeight + 2 * kMargin, nSeed);
}

} // namespace

// The resampler built for any processor scales the block it is given and nothing else.
TEST(ResampleKernels, ThePlainKernelWritesTheWholeBlockAndNothingBeside)
{
    for (const TResampleCase& c : kCases) {
        SCOPED_TRACE(CaseName(c));
        const std::vector<DWORD> source = SourceFor(c, 7);
        TTarget target(c);
        UIShared::ResampleKernelPlain::Resample(BlockOf(c, source, target));
        ExpectOnlyTheBlockWritten(c, target);
    }
}

// A picture of one colour stays that colour at any size: the filter's weights add up to one.
TEST(ResampleKernels, OneColourStaysThatColour)
{
    const DWORD kColour = 0xC0806010;
    for (const TResampleCase& c : kCases) {
        SCOPED_TRACE(CaseName(c));
        const std::vector<DWORD> source((size_t)(c.nSrcWidth + 2 * kMargin) * (c.nSrcHeight + 2 * kMargin), kColour);
        TTarget target(c);
        ResampleThroughTheSharedEntry(BlockOf(c, source, target));
        int nOther = 0;
        for (int y = 0; y < c.nDstHeight; y++)
            for (int x = 0; x < c.nDstWidth; x++)
                if (target.Block()[(size_t)y * target.nRowLength + x] != kColour) nOther++;
        EXPECT_EQ(nOther, 0);
    }
}

// Whichever kernel a processor gets, the copy has the same bytes: the one the shared entry
// picks and, where it is built, the SSE2 one, called directly.
TEST(ResampleKernels, EveryKernelGivesTheSameBytes)
{
#ifdef LUMORA_RESAMPLE_SSE2_KERNEL
    const bool bHasSse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
#endif
    for (const TResampleCase& c : kCases) {
        SCOPED_TRACE(CaseName(c));
        const std::vector<DWORD> source = SourceFor(c, 11);
        TTarget plain(c), picked(c);
        UIShared::ResampleKernelPlain::Resample(BlockOf(c, source, plain));
        ResampleThroughTheSharedEntry(BlockOf(c, source, picked));
        EXPECT_EQ(CountDifferentPixels(picked, plain), 0);
#ifdef LUMORA_RESAMPLE_SSE2_KERNEL
        if (bHasSse2) {
            TTarget sse2(c);
            UIShared::ResampleKernelSse2::Resample(BlockOf(c, source, sse2));
            EXPECT_EQ(CountDifferentPixels(sse2, plain), 0);
        }
#endif
    }
#ifdef LUMORA_RESAMPLE_SSE2_KERNEL
    if (!bHasSse2) GTEST_SKIP() << "this processor has no SSE2: the SSE2 kernel was not called";
#endif
}
