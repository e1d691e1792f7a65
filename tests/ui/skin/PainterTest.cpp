#include <gtest/gtest.h>

#include <memory>

#include "DibCanvas.h"
#include "ImageDescUI.h"
#include "MsimgUI.h"
#include "PainterUI.h"
#include "SkinTestPaths.h"
#include "WindowManagerUI.h"

namespace {

struct ImageDeleter
{
    void operator()(TImageRecUI* p) const { CPainterUI::FreeImageData(p); }
};
typedef std::unique_ptr<TImageRecUI, ImageDeleter> ImagePtr;

ImagePtr LoadFromSkin(LPCWSTR name, DWORD mask = 0)
{
    return ImagePtr(CPainterUI::LoadImageData(name, TestSkinFile().c_str(), nullptr, mask));
}

std::vector<DWORD> ImagePixels(const TImageRecUI& image)
{
    DIBSECTION dib = {};
    GetObjectW(image.hBitmap, sizeof(dib), &dib);
    const DWORD* bits = (const DWORD*)dib.dsBm.bmBits;
    return std::vector<DWORD>(bits, bits + image.nWidth * image.nHeight);
}

bool Near(DWORD actual, DWORD expected, int tolerance = 1)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > tolerance || e - a > tolerance) return false;
    }
    return true;
}

// Runs a check once with msimg32's functions and once with the library's own fallbacks.
class PainterBothBlends : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override { CMsimgUI::UseSystemFunctions(GetParam()); }
    void TearDown() override { CMsimgUI::UseSystemFunctions(true); }
};

const RECT kNoCorners = { 0, 0, 0, 0 };
const RECT kFrameCorners = { 3, 3, 3, 3 };

} // namespace

TEST(PainterImages, DecodedPixelsArePremultiplied)
{
    ImagePtr image = LoadFromSkin(L"premul.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->nWidth, 2);
    EXPECT_EQ(image->nHeight, 2);
    EXPECT_TRUE(image->bAlpha);
    EXPECT_EQ(ImagePixels(*image), (std::vector<DWORD>{ 0xFFFF0000, 0x80800000, 0x00000000, 0x40000040 }));

    ImagePtr opaque = LoadFromSkin(L"frame.png");
    ASSERT_TRUE(opaque);
    EXPECT_FALSE(opaque->bAlpha);
    EXPECT_EQ(ImagePixels(*opaque)[0], 0xFFFF0000u);
}

TEST(PainterImages, MaskColourTurnsMatchingPixelsTransparent)
{
    ImagePtr masked = LoadFromSkin(L"mask.png", 0xFFFF00FF);
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->bAlpha);
    EXPECT_EQ(ImagePixels(*masked), (std::vector<DWORD>{ 0x00000000, 0xFFFFFFFF }));

    ImagePtr withoutAlpha = LoadFromSkin(L"mask.png", 0x00FF00FF);
    ASSERT_TRUE(withoutAlpha);
    EXPECT_FALSE(withoutAlpha->bAlpha) << "a mask must include the pixel's alpha";
}

TEST(PainterImages, LoadFailures)
{
    EXPECT_FALSE(LoadFromSkin(L"nosuch.png"));
    EXPECT_FALSE(LoadFromSkin(L"storage.xml")) << "xml streams are not pictures";
    EXPECT_FALSE(CPainterUI::LoadImageData(MAKEINTRESOURCEW(7), TestSkinFile().c_str(), L"PNG", 0));
    const std::wstring source = TestSkinSource(L"pic\\frame.png");
    ImagePtr fromFile(CPainterUI::LoadImageData(source.c_str(), nullptr, nullptr, 0));
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->nWidth, 9);
    const std::wstring markup = TestSkinSource(L"xml\\storage.xml");
    EXPECT_FALSE(CPainterUI::LoadImageData(markup.c_str(), nullptr, nullptr, 0)) << "undecodable bytes";
}

// A name the skin lacks is looked for once (every paint of every control naming it read the
// skin file again: a window of a few thousand such controls took seconds a paint), until
// the skin changes.
TEST(PainterImages, AMissingImageStaysMissingUntilTheSkinChanges)
{
    CWindowManagerUI manager;
    const std::wstring nowhere = TestSkinFile() + L".none";
    manager.SetSkinFile(nowhere.c_str());
    for (int i = 0; i < 3; i++) EXPECT_EQ(manager.GetImageEx(L"frame.png"), nullptr);
    manager.SetSkinFile(TestSkinFile().c_str());
    TImageRecUI* pImage = manager.GetImageEx(L"frame.png");
    ASSERT_NE(pImage, nullptr) << "the new skin's image is found";
    EXPECT_EQ(pImage->nWidth, 9);
    EXPECT_EQ(manager.AddImage(L"frame.png", nullptr, 0), nullptr) << "a name already there keeps its image";
    EXPECT_EQ(manager.GetImageEx(L"frame.png"), pImage);
    EXPECT_EQ(manager.GetImageEx(L"nosuch.png"), nullptr);
    EXPECT_EQ(manager.AddImage(L"nosuch.png", nullptr, 0), nullptr);
    manager.RemoveAllImages();
    EXPECT_NE(manager.GetImageEx(L"frame.png"), nullptr);
    EXPECT_EQ(manager.GetImageEx(L"nosuch.png"), nullptr);
}

TEST_P(PainterBothBlends, NinePartFrameWithAndWithoutHole)
{
    for (LPCWSTR name : { L"frame.png", L"framea.png" }) {
        ImagePtr image = LoadFromSkin(name);
        ASSERT_TRUE(image);
        for (bool hole : { false, true }) {
            CDibCanvas canvas(30, 30);
            canvas.Fill(0x000000);
            const RECT rcDest = { 10, 10, 19, 19 };
            CPainterUI::DrawImage(canvas.DC(), image->hBitmap, rcDest, canvas.Rect(), RECT{ 0, 0, 9, 9 }, kFrameCorners,
                                  image->bAlpha, 255, hole);
            const DWORD borders[3][3] = { { 0xFF0000, 0x00FF00, 0x0000FF },
                                          { 0xFFFF00, 0, 0x00FFFF },
                                          { 0xFF00FF, 0x808080, 0x000000 } };
            for (int row = 0; row < 3; row++)
                for (int col = 0; col < 3; col++) {
                    if (row == 1 && col == 1) continue;
                    RECT part = { 10 + col * 3, 10 + row * 3, 13 + col * 3, 13 + row * 3 };
                    EXPECT_TRUE(canvas.AllPixels(part, borders[row][col])) << name << " part " << row << "," << col;
                }
            const RECT centre = { 13, 13, 16, 16 };
            DWORD expectedCentre = hole ? 0x000000 : (image->bAlpha ? 0x808080 : 0xFFFFFF);
            EXPECT_TRUE(canvas.AllPixels(centre, expectedCentre))
                << name << " hole " << hole << " centre " << std::hex << canvas.Pixel(14, 14);
            EXPECT_TRUE(canvas.AllPixels(RECT{ 0, 0, 30, 10 }, 0)) << "nothing outside the destination";
        }
    }
}

TEST_P(PainterBothBlends, FadeBlendsEvenAnOpaqueImage)
{
    ImagePtr image = LoadFromSkin(L"frame.png");
    ASSERT_TRUE(image);
    CDibCanvas canvas(9, 9);
    canvas.Fill(0x000000);
    CPainterUI::DrawImage(canvas.DC(), image->hBitmap, RECT{ 0, 0, 9, 9 }, canvas.Rect(), RECT{ 0, 0, 9, 9 },
                          kNoCorners, false, 128);
    EXPECT_TRUE(Near(canvas.Pixel(0, 0), 0x800000)) << std::hex << canvas.Pixel(0, 0);
    EXPECT_TRUE(Near(canvas.Pixel(4, 4), 0x808080)) << std::hex << canvas.Pixel(4, 4);
}

TEST_P(PainterBothBlends, TranslucentColourFillIsPremultiplied)
{
    CDibCanvas canvas(8, 8);
    canvas.Fill(0x000000);
    CPainterUI::DrawColor(canvas.DC(), RECT{ 0, 0, 4, 8 }, 0x80FF0000);
    EXPECT_TRUE(Near(canvas.Pixel(1, 1), 0x800000)) << "about half red, got " << std::hex << canvas.Pixel(1, 1);
    EXPECT_EQ(canvas.Pixel(5, 1), 0u);

    canvas.Fill(0xFFFFFF);
    CPainterUI::DrawColor(canvas.DC(), RECT{ 0, 0, 8, 8 }, 0x400000FF);
    EXPECT_TRUE(Near(canvas.Pixel(3, 3), 0xBFBFFF)) << std::hex << canvas.Pixel(3, 3);

    canvas.Fill(0x123456);
    CPainterUI::DrawColor(canvas.DC(), canvas.Rect(), 0x00FF0000);
    EXPECT_TRUE(canvas.AllPixels(canvas.Rect(), 0x123456)) << "alpha 0 draws nothing";
    CPainterUI::DrawColor(canvas.DC(), RECT{ 2, 2, 4, 4 }, 0xFF00FF00);
    EXPECT_TRUE(canvas.AllPixels(RECT{ 2, 2, 4, 4 }, 0x00FF00));
    EXPECT_EQ(canvas.Pixel(1, 1), 0x123456u);
}

INSTANTIATE_TEST_SUITE_P(SystemAndOwn, PainterBothBlends, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "msimg32" : "fallback";
                         });

TEST(PainterImages, OpaqueSameSizeImageCopiesOnlyThePaintRect)
{
    ImagePtr image = LoadFromSkin(L"frame.png");
    ASSERT_TRUE(image);
    CDibCanvas canvas(20, 20);
    canvas.Fill(0x000001);
    const RECT rcPaint = { 0, 0, 20, 8 };
    CPainterUI::DrawImage(canvas.DC(), image->hBitmap, RECT{ 5, 5, 14, 14 }, rcPaint, RECT{ 0, 0, 9, 9 }, kNoCorners,
                          false);
    EXPECT_EQ(canvas.Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(13, 7), 0x0000FFu) << "row 7 is inside the paint rect";
    EXPECT_TRUE(canvas.AllPixels(RECT{ 5, 8, 14, 14 }, 0x000001)) << "rows below the paint rect stay";
}

TEST(PainterGradient, BandFallbackDrawsTheBandsOfTheStepCount)
{
    CMsimgUI::UseSystemFunctions(false);
    CDibCanvas canvas(4, 80);
    CPainterUI::DrawGradient(canvas.DC(), canvas.Rect(), 0xFF000000, 0xFF00FF00, true, 10);
    CMsimgUI::UseSystemFunctions(true);
    // 8 bands of 10 rows, the second colour at the bottom.
    for (int band = 0; band < 8; band++) {
        int i = 7 - band; // band index counted from the bottom
        DWORD expected = (DWORD)(255 * (8 - i) / 8) << 8;
        EXPECT_TRUE(canvas.AllPixels(RECT{ 0, band * 10, 4, band * 10 + 10 }, expected))
            << "band " << band << " got " << std::hex << canvas.Pixel(0, band * 10);
    }

    CMsimgUI::UseSystemFunctions(false);
    CDibCanvas wide(64, 2);
    CPainterUI::DrawGradient(wide.DC(), wide.Rect(), 0xFF0000FF, 0xFFFF0000, false, 3);
    CMsimgUI::UseSystemFunctions(true);
    EXPECT_EQ(wide.Pixel(0, 0), 0x7F007Fu) << "two bands below 4 steps: the left band is the mix";
    EXPECT_EQ(wide.Pixel(63, 1), 0xFF0000u);
}

TEST(PainterGradient, GradientFillRunsFromFirstToSecondColour)
{
    CDibCanvas canvas(4, 100);
    CPainterUI::DrawGradient(canvas.DC(), canvas.Rect(), 0xFF000000, 0xFF0000FF, true, 16);
    EXPECT_LT(canvas.Pixel(0, 0) & 0xFF, 0x10u);
    EXPECT_GT(canvas.Pixel(0, 99) & 0xFF, 0xF0u);
}

TEST(PainterShapes, LineAndRectangle)
{
    CDibCanvas canvas(20, 20);
    canvas.Fill(0x000000);
    CPainterUI::DrawRect(canvas.DC(), RECT{ 2, 2, 12, 12 }, 2, 0xFF00FF00);
    EXPECT_EQ(canvas.Pixel(2, 5), 0x00FF00u);
    EXPECT_EQ(canvas.Pixel(3, 5), 0x00FF00u);
    EXPECT_EQ(canvas.Pixel(11, 11), 0x00FF00u) << "an inside frame stays inside the rect";
    EXPECT_EQ(canvas.Pixel(12, 12), 0u);
    EXPECT_EQ(canvas.Pixel(6, 6), 0u) << "hollow";
    CPainterUI::DrawLine(canvas.DC(), RECT{ 0, 18, 20, 18 }, 1, 0xFFFF0000);
    EXPECT_EQ(canvas.Pixel(10, 18), 0xFF0000u);
}

struct ImageDescCase
{
    const wchar_t* pstrDesc;
    const wchar_t* modifier;
    const wchar_t* file;
    RECT dest, source, corner;
    DWORD mask;
    int fade;
    bool hole;
};

TEST(PainterImageDesc, DescriptionsAndModifiers)
{
    const RECT item = { 100, 50, 200, 90 };
    const ImageDescCase cases[] = {
        { L"bk.png", nullptr, L"bk.png", item, {}, {}, 0, 255, false },
        { L"file='a.png' dest='0,0,10,10'", nullptr, L"a.png", { 100, 50, 110, 60 }, {}, {}, 0, 255, false },
        { L"file='a.png' source='1,2,3,4' corner='4,4,4,4' mask='#FFFF00FF' fade='128' hole='true'",
          nullptr,
          L"a.png",
          item,
          { 1, 2, 3, 4 },
          { 4, 4, 4, 4 },
          0xFFFF00FF,
          128,
          true },
        { L"res='a.png' fade='300'", L" dest='1,1,5,5'", L"a.png", { 101, 51, 105, 55 }, {}, {}, 0, 255, false },
        { L"file='a.png' fade='9'",
          L"dest='5,6,7,8' fade='200'",
          L"a.png",
          { 105, 56, 107, 58 },
          {},
          {},
          0,
          200,
          false },
        { L"file='a.png' dest='3,4'", nullptr, L"a.png", { 103, 54, 100, 50 }, {}, {}, 0, 255, false },
        { L"file='a.png' fade='7'x hole='true'", nullptr, L"a.png", item, {}, {}, 0, 7, false },
        { L"file=a.png", nullptr, L"file=a.png", item, {}, {}, 0, 255, false },
        { L"file='' fade='12'", nullptr, L"file='' fade='12'", item, {}, {}, 0, 12, false },
    };
    for (const ImageDescCase& c : cases) {
        CImageDescUI desc(item);
        desc.sFile = c.pstrDesc;
        desc.Parse(c.pstrDesc);
        desc.Parse(c.modifier);
        EXPECT_STREQ(desc.sFile.GetData(), c.file) << c.pstrDesc;
        EXPECT_TRUE(EqualRect(&desc.rcDest, &c.dest))
            << c.pstrDesc << " dest " << desc.rcDest.left << "," << desc.rcDest.top << "," << desc.rcDest.right << ","
            << desc.rcDest.bottom;
        EXPECT_TRUE(EqualRect(&desc.rcSource, &c.source)) << c.pstrDesc;
        EXPECT_TRUE(EqualRect(&desc.rcCorner, &c.corner)) << c.pstrDesc;
        EXPECT_EQ(desc.dwMask, c.mask) << c.pstrDesc;
        EXPECT_EQ(desc.uFade, c.fade) << c.pstrDesc;
        EXPECT_EQ(desc.bHole, c.hole) << c.pstrDesc;
    }
}
