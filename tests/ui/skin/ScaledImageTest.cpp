#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "DibCanvas.h"
#include "ImageDescUI.h"
#include "MsimgUI.h"
#include "PainterUI.h"
#include "ScaledImageCacheUI.h"
#include "SkinTestPaths.h"
#include "WindowManagerUI.h"

namespace {

// A background no drawing leaves alone by chance: every pixel differs from its neighbours.
void FillPattern(CDibCanvas& canvas, int cx, int cy)
{
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            SetPixelV(canvas.DC(), x, y, RGB((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 11) & 0xFF));
    GdiFlush();
}

// A stretched image drawn through its description, as controls draw, against the same
// image drawn directly on every paint (the way it was drawn before copies were kept).
struct TScaledCase
{
    LPCWSTR pstrDesc;
    LPCWSTR pstrFile;
    RECT rcCorners;
    BYTE uFade;
    bool bHole;
    bool bCopied; // false: drawn directly, as before
};

const TScaledCase kCases[] = {
    { L"backdrop.png", L"backdrop.png", { 0, 0, 0, 0 }, 255, false, true },
    { L"file='backdrop.png' fade='230'", L"backdrop.png", { 0, 0, 0, 0 }, 230, false, true },
    { L"file='frame.png' corner='3,3,3,3'", L"frame.png", { 3, 3, 3, 3 }, 255, false, true },
    { L"file='framea.png' corner='3,3,3,3'", L"framea.png", { 3, 3, 3, 3 }, 255, false, true },
    { L"file='framea.png' corner='3,3,3,3' hole='true' fade='200'", L"framea.png", { 3, 3, 3, 3 }, 200, true, true },
    { L"file='frame.png' corner='3,3,3,3' hole='true'", L"frame.png", { 3, 3, 3, 3 }, 255, true, false },
    { L"file='frames.png' source='10,0,20,10'", L"frames.png", { 0, 0, 0, 0 }, 255, false, true },
};

const int kCanvas = 120;

class ScaledImages : public ::testing::TestWithParam<bool>
{
protected:
    ScaledImages() { m_manager.SetSkinFile(TestSkinFile().c_str()); }
    void SetUp() override { CMsimgUI::UseSystemFunctions(GetParam()); }
    void TearDown() override { CMsimgUI::UseSystemFunctions(true); }

    // The whole item drawn at once, unclipped.
    void DrawDirect(CDibCanvas& canvas, const TScaledCase& c, const RECT& rcItem)
    {
        TImageRecUI* pImage = m_manager.GetImageEx(c.pstrFile);
        ASSERT_NE(pImage, nullptr) << c.pstrFile;
        CImageDescUI desc(rcItem);
        desc.sFile = c.pstrDesc;
        desc.Parse(c.pstrDesc);
        RECT rcSource = desc.rcSource;
        if (IsRectEmpty(&rcSource)) rcSource = RECT{ 0, 0, pImage->nWidth, pImage->nHeight };
        CPainterUI::DrawImage(canvas.DC(), pImage->hBitmap, rcItem, rcItem, rcSource, c.rcCorners, pImage->bAlpha,
                              c.uFade, c.bHole);
    }

    CWindowManagerUI m_manager;
};

int LargestColourDifference(DWORD a, DWORD b)
{
    int nMax = 0;
    for (int shift = 0; shift < 24; shift += 8)
        nMax = std::max(nMax, abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)));
    return nMax;
}

// A part repainted on its own looks pixel for pixel as it does in a full paint, on the
// first paint (the copy is made) and on later ones (the copy is used), and nothing
// outside the paint rectangle changes. An opaque stretch looks as GDI's HALFTONE
// stretch drawn directly does, to a step of rounding; a blended one is resampled the
// same way, where GDI's blend would only pick the nearest pixel.
TEST_P(ScaledImages, CopiesDrawWhatADirectStretchDraws)
{
    const RECT rcItem = { 7, 9, 7 + 97, 9 + 61 };
    const RECT rcAll = { 0, 0, kCanvas, kCanvas };
    const RECT paints[] = { { 30, 20, 61, 44 }, { 0, 60, 10, 80 }, { 0, 0, kCanvas, kCanvas } };
    for (const TScaledCase& c : kCases) {
        CDibCanvas direct(kCanvas, kCanvas), full(kCanvas, kCanvas), background(kCanvas, kCanvas);
        FillPattern(background, kCanvas, kCanvas);
        FillPattern(direct, kCanvas, kCanvas);
        FillPattern(full, kCanvas, kCanvas);
        DrawDirect(direct, c, rcItem);
        EXPECT_TRUE(CPainterUI::DrawImageDesc(full.DC(), &m_manager, rcItem, rcAll, c.pstrDesc));
        const TImageRecUI* pImage = m_manager.GetImageEx(c.pstrFile);
        ASSERT_NE(pImage, nullptr);
        if (!pImage->bAlpha && c.uFade == 255) {
            int nWorst = 0;
            for (int y = 0; y < kCanvas; y++)
                for (int x = 0; x < kCanvas; x++)
                    nWorst = std::max(nWorst, LargestColourDifference(full.Pixel(x, y), direct.Pixel(x, y)));
            EXPECT_LE(nWorst, 1) << c.pstrDesc;
        }
        for (const RECT& rcPaint : paints) {
            for (int round = 0; round < 2; round++) {
                CDibCanvas copied(kCanvas, kCanvas);
                FillPattern(copied, kCanvas, kCanvas);
                EXPECT_TRUE(CPainterUI::DrawImageDesc(copied.DC(), &m_manager, rcItem, rcPaint, c.pstrDesc));
                int nDiffer = 0, nOutside = 0;
                for (int y = 0; y < kCanvas; y++)
                    for (int x = 0; x < kCanvas; x++) {
                        const POINT pt = { x, y };
                        if (PtInRect(&rcPaint, pt))
                            nDiffer += copied.Pixel(x, y) != full.Pixel(x, y);
                        else
                            nOutside += copied.Pixel(x, y) != background.Pixel(x, y);
                    }
                EXPECT_EQ(nDiffer, 0) << c.pstrDesc << " paint " << rcPaint.left << "," << rcPaint.top << " round "
                                      << round;
                if (c.bCopied) {
                    EXPECT_EQ(nOutside, 0) << c.pstrDesc << ": nothing outside the paint rectangle changes";
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SystemAndOwn, ScaledImages, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "msimg32" : "fallback";
                         });

// One copy per drawn size, reused while the size stays; an opaque image with a hole and
// an image drawn at its own size need none; ever new sizes do not pile up copies.
TEST(ScaledImageCopies, OnePerSizeAndBounded)
{
    CWindowManagerUI manager;
    manager.SetSkinFile(TestSkinFile().c_str());
    CDibCanvas canvas(kCanvas, kCanvas);
    const RECT rcAll = { 0, 0, kCanvas, kCanvas };
    TImageRecUI* pBackdrop = manager.GetImageEx(L"backdrop.png");
    ASSERT_NE(pBackdrop, nullptr);

    CPainterUI::DrawImageDesc(canvas.DC(), &manager, RECT{ 0, 0, 64, 32 }, rcAll, L"backdrop.png");
    EXPECT_EQ(pBackdrop->pScaled, nullptr) << "drawn at its own size: nothing to scale";

    for (int i = 0; i < 3; i++)
        CPainterUI::DrawImageDesc(canvas.DC(), &manager, RECT{ i, i, 50 + i, 40 + i }, rcAll, L"backdrop.png");
    ASSERT_NE(pBackdrop->pScaled, nullptr);
    EXPECT_EQ(pBackdrop->pScaled->GetCount(), 1) << "one size, three places";
    CPainterUI::DrawImageDesc(canvas.DC(), &manager, RECT{ 0, 0, 50, 40 }, rcAll, L"file='backdrop.png' fade='100'");
    EXPECT_EQ(pBackdrop->pScaled->GetCount(), 2) << "a blended stretch is a copy of its own";

    TImageRecUI* pFrame = manager.GetImageEx(L"frame.png");
    ASSERT_NE(pFrame, nullptr);
    CPainterUI::DrawImageDesc(canvas.DC(), &manager, RECT{ 0, 0, 40, 40 }, rcAll,
                              L"file='frame.png' corner='3,3,3,3' hole='true'");
    EXPECT_EQ(pFrame->pScaled, nullptr) << "an opaque copy would cover the hole";

    for (int cx = 10; cx < 110; cx++)
        CPainterUI::DrawImageDesc(canvas.DC(), &manager, RECT{ 0, 0, cx, 20 }, rcAll, L"backdrop.png");
    EXPECT_LE(pBackdrop->pScaled->GetCount(), 16);
    EXPECT_GE(pBackdrop->pScaled->GetCount(), 2);
}

} // namespace
