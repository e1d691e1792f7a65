// The resampled copies of stretched images against GDI's HALFTONE stretch of the same
// pictures: the real skins' images, enlarged and shrunk, with and without corners.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImageDecoderUI.h"
#include "PainterUI.h"
#include "PictureSet.h"
#include "ScaledCopyUI.h"

using namespace UpdUI;

namespace {

// Enlarged, the resampler and GDI's HALFTONE stretch interpolate between the same
// neighbours at the same places: they differ by rounding only, at most this much in any
// colour byte of any pixel.
const int kMaxEnlargedDifference = 1;
// Shrunk, GDI's stretch takes one point of the source per target pixel while the
// resampler averages the area each covers, so the copy keeps the picture's mean colour;
// each colour's mean over the copy stays this close to the source's.
const double kMaxShrunkMeanShift = 2.0;

TImageRecUI* LoadPicture(const std::wstring& path)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return nullptr;
    std::vector<BYTE> bytes(GetFileSize(hFile, nullptr));
    DWORD dwRead = 0;
    const BOOL bRead = ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead, nullptr);
    CloseHandle(hFile);
    if (!bRead || dwRead != bytes.size() || bytes.empty()) return nullptr;
    return CImageDecoderUI::Decode(bytes.data(), dwRead, 0);
}

const std::vector<TPictureScale> kEnlarged = {
    { 3, 1, false, false }, { 5, 2, true, false }, { 17, 1, false, false }, { 4, 3, true, false }, { 3, 1, true, true }
};
const std::vector<TPictureScale> kShrunk = { { 1, 2, false, false }, { 2, 3, false, false }, { 1, 3, false, false } };

HBITMAP Resampled(const TImageRecUI& image, SIZE size, const RECT& rcPart, const RECT& rcCorners, bool bTiled)
{
    return CScaledCopyUI::Resample(image, size.cx, size.cy, rcPart, rcCorners, false, bTiled, bTiled);
}

class UpdScaledCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (LPCWSTR pstrFolder : { L"\\skins\\update\\down\\", L"\\skins\\test\\pic\\", L"\\skins\\updtest\\down\\" })
            m_pictures.LoadFolder(std::wstring(LUMORA_TEST_SRC_DIR) + pstrFolder);
        ASSERT_GE(m_pictures.Count(), 10u);
    }

    CPictureSet<TImageRecUI> m_pictures{ LoadPicture, [](TImageRecUI* pImage) { CPainterUI::FreeImage(pImage); } };
};

// The skins' opaque pictures enlarged: the copies the painter keeps are GDI's HALFTONE
// stretch of them, within rounding.
TEST_F(UpdScaledCopies, EnlargedCopiesAreGdisHalftoneStretch)
{
    HDC hScreen = GetDC(nullptr);
    auto stretched = [hScreen](const TImageRecUI& image, SIZE size, const RECT& rcPart, const RECT& rcCorners,
                               bool bTiled) {
        return CPainterUI::StretchCopy(hScreen, &image, size.cx, size.cy, rcPart, rcCorners, false, false, bTiled,
                                       bTiled);
    };
    // A translucent picture's copy is blended by GDI's AlphaBlend, not stretched.
    const auto opaque = [](const TImageRecUI& image) { return !image.bAlpha; };
    EXPECT_GE(m_pictures.ExpectCopiesAlike(kEnlarged, kMaxEnlargedDifference, Resampled, stretched, opaque), 3);
    ReleaseDC(nullptr, hScreen);
}

// Shrunk, every picture keeps its mean colour: the copy averages what it covers.
TEST_F(UpdScaledCopies, ShrunkCopiesKeepTheirMeanColour)
{
    m_pictures.ExpectMeanColourKept(kShrunk, kMaxShrunkMeanShift, Resampled);
}

// A part that reaches outside the image, is mirrored, or whose corners overlap is not
// read by the resampler: the painter then makes the copy with GDI's stretch.
TEST(UpdScaledCopyParts, PartsOutsideTheImageAreLeftToGdi)
{
    DWORD* pBits = nullptr;
    TImageRecUI image = { CImageDecoderUI::CreateTopDownDib(nullptr, 8, 8, &pBits), 8, 8, true };
    ASSERT_NE(image.hBitmap, nullptr);
    const RECT noCorners = { 0, 0, 0, 0 };
    const RECT outside[] = { { 0, 0, 9, 8 }, { -1, 0, 8, 8 }, { 4, 4, 12, 12 }, { 0, 0, 8, 9 }, { 8, 0, 0, 8 } };
    for (const RECT& rcPart : outside)
        EXPECT_EQ(CScaledCopyUI::Resample(image, 20, 20, rcPart, noCorners, false, false, false), nullptr)
            << rcPart.left << "," << rcPart.top << "," << rcPart.right << "," << rcPart.bottom;
    const RECT wideCorners = { 6, 0, 6, 0 };
    EXPECT_EQ(CScaledCopyUI::Resample(image, 10, 20, RECT{ 0, 0, 8, 8 }, wideCorners, false, false, false), nullptr);
    HBITMAP hCopy = CScaledCopyUI::Resample(image, 20, 20, RECT{ 0, 0, 8, 8 }, noCorners, false, true, false);
    EXPECT_NE(hCopy, nullptr);
    DeleteObject(hCopy);
    DeleteObject(image.hBitmap);
}

} // namespace
