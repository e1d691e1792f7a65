#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImageDecoderUI.h"
#include "PainterUI.h"
#include "PictureSet.h"
#include "ScaledCopyUI.h"
#include "SkinTestPaths.h"

namespace {

// Enlarged, the resampler's copy and GDI's HALFTONE stretch interpolate between the
// same neighbours at the same places: they differ by rounding only, at most this much
// in any colour byte of any pixel.
const int kMaxEnlargedDifference = 1;
// Shrunk, GDI's stretch here takes one point of the source per target pixel while the
// resampler averages the area each covers, so the copy keeps the picture's mean colour
// (a thin line fades instead of vanishing or staying whole); each colour's mean over
// the copy stays this close to the source's.
const double kMaxShrunkMeanShift = 2.0;

const std::vector<TPictureScale> kEnlarged = {
    { 3, 1, false, false }, { 5, 2, true, false }, { 17, 1, false, false }, { 4, 3, true, false }
};
const std::vector<TPictureScale> kShrunk = { { 1, 2, false, false }, { 2, 3, false, false }, { 1, 3, false, false } };

HBITMAP Resampled(const TImageRecUI& image, SIZE size, const RECT& rcPart, const RECT& rcCorners, bool /*bTiled*/)
{
    return CScaledCopyUI::Resample(image, size.cx, size.cy, rcPart, rcCorners, false);
}

class ScaledCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pictures.LoadFolder(std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\main\\pic\\");
        ASSERT_GE(m_pictures.Count(), 10u);
    }

    CPictureSet<TImageRecUI> m_pictures{ [](const std::wstring& path) {
                                            return CPainterUI::LoadImageData(path.c_str(), nullptr, nullptr, 0);
                                        },
                                         [](TImageRecUI* pImage) { CPainterUI::FreeImageData(pImage); } };
};

// The main skin's own pictures enlarged, with and without corners, opaque and
// translucent alike: the copies the painter keeps are GDI's HALFTONE stretch of them.
TEST_F(ScaledCopies, EnlargedCopiesOfTheMainSkinsPicturesAreGdisHalftoneStretch)
{
    HDC hScreen = GetDC(nullptr);
    auto stretched = [hScreen](const TImageRecUI& image, SIZE size, const RECT& rcPart, const RECT& rcCorners, bool) {
        return CScaledCopyUI::Stretch(hScreen, image, size.cx, size.cy, rcPart, rcCorners, false, false);
    };
    const auto all = [](const TImageRecUI&) { return true; };
    EXPECT_EQ(m_pictures.ExpectCopiesAlike(kEnlarged, kMaxEnlargedDifference, Resampled, stretched, all),
              (int)m_pictures.Count());
    ReleaseDC(nullptr, hScreen);
}

// Shrunk, every picture keeps its mean colour: the copy averages what it covers.
TEST_F(ScaledCopies, ShrunkCopiesOfTheMainSkinsPicturesKeepTheirMeanColour)
{
    m_pictures.ExpectMeanColourKept(kShrunk, kMaxShrunkMeanShift, Resampled);
}

// A part that reaches outside the image, or whose corners leave it no middle, is not
// read by the resampler: the painter then makes the copy with GDI's stretch.
TEST(ScaledCopyParts, PartsOutsideTheImageAreLeftToGdi)
{
    DWORD* pBits = nullptr;
    TImageRecUI image = { CImageDecoderUI::CreateTopDownDib(8, 8, &pBits), 8, 8, true };
    ASSERT_NE(image.hBitmap, nullptr);
    const RECT noCorners = { 0, 0, 0, 0 };
    const RECT outside[] = { { 0, 0, 9, 8 }, { -1, 0, 8, 8 }, { 4, 4, 12, 12 }, { 0, 0, 8, 9 } };
    for (const RECT& rcPart : outside)
        EXPECT_EQ(CScaledCopyUI::Resample(image, 20, 20, rcPart, noCorners, false), nullptr)
            << rcPart.left << "," << rcPart.top << "," << rcPart.right << "," << rcPart.bottom;
    // Corners wider than the drawn size overlap, where GDI blends one over the other.
    const RECT wideCorners = { 6, 0, 6, 0 };
    EXPECT_EQ(CScaledCopyUI::Resample(image, 10, 20, RECT{ 0, 0, 8, 8 }, wideCorners, false), nullptr);
    HBITMAP hCopy = CScaledCopyUI::Resample(image, 20, 20, RECT{ 0, 0, 8, 8 }, noCorners, false);
    EXPECT_NE(hCopy, nullptr);
    DeleteObject(hCopy);
    DeleteObject(image.hBitmap);
}

} // namespace
