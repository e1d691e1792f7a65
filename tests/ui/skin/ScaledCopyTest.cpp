#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ImageDecoderUI.h"
#include "PainterUI.h"
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

DIBSECTION DibOf(HBITMAP hBitmap)
{
    DIBSECTION dib = {};
    GdiFlush();
    if (GetObjectW(hBitmap, sizeof(dib), &dib) != sizeof(dib)) dib.dsBm.bmBits = nullptr;
    return dib;
}

// The largest difference of a colour byte (GDI's stretch does not carry the alpha byte).
int LargestDifference(HBITMAP hA, HBITMAP hB, int cx, int cy)
{
    const DIBSECTION a = DibOf(hA), b = DibOf(hB);
    if (a.dsBm.bmBits == nullptr || b.dsBm.bmBits == nullptr) return 256;
    const BYTE* pA = static_cast<const BYTE*>(a.dsBm.bmBits);
    const BYTE* pB = static_cast<const BYTE*>(b.dsBm.bmBits);
    int nMax = 0;
    for (size_t i = 0; i < (size_t)cx * cy * 4; i++) {
        if (i % 4 != 3) nMax = std::max(nMax, abs((int)pA[i] - (int)pB[i]));
    }
    return nMax;
}

// The mean of each colour byte (blue, green, red) over a bitmap.
void MeanColour(HBITMAP hBitmap, int cx, int cy, double* pMean)
{
    const DIBSECTION dib = DibOf(hBitmap);
    pMean[0] = pMean[1] = pMean[2] = -1000.0;
    if (dib.dsBm.bmBits == nullptr) return;
    const BYTE* p = static_cast<const BYTE*>(dib.dsBm.bmBits);
    double sum[3] = {};
    for (size_t i = 0; i < (size_t)cx * cy; i++)
        for (int c = 0; c < 3; c++) sum[c] += p[i * 4 + c];
    for (int c = 0; c < 3; c++) pMean[c] = sum[c] / ((double)cx * cy);
}

std::vector<std::wstring> MainSkinPictures()
{
    std::vector<std::wstring> files;
    const std::wstring folder = std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\main\\pic\\";
    WIN32_FIND_DATAW find = {};
    HANDLE hFind = FindFirstFileW((folder + L"*.png").c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE) return files;
    do {
        files.push_back(folder + find.cFileName);
    } while (FindNextFileW(hFind, &find));
    FindClose(hFind);
    return files;
}

struct TScale
{
    int nNum, nDen; // drawn size = image size * nNum / nDen, at least 1
    bool bCorners;  // a quarter of each side kept as a corner
};

const TScale kEnlarged[] = { { 3, 1, false }, { 5, 2, true }, { 17, 1, false }, { 4, 3, true } };
const TScale kShrunk[] = { { 1, 2, false }, { 2, 3, false }, { 1, 3, false } };

class ScaledCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::wstring folder = std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\main\\pic\\";
        WIN32_FIND_DATAW find = {};
        HANDLE hFind = FindFirstFileW((folder + L"*.png").c_str(), &find);
        ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
        do {
            TImageRecUI* pImage = CPainterUI::LoadImageData((folder + find.cFileName).c_str(), nullptr, nullptr, 0);
            ASSERT_NE(pImage, nullptr) << find.cFileName;
            m_images.push_back(pImage);
            m_names.push_back(find.cFileName);
        } while (FindNextFileW(hFind, &find));
        FindClose(hFind);
        ASSERT_GE(m_images.size(), 10u);
    }
    void TearDown() override
    {
        for (TImageRecUI* pImage : m_images) CPainterUI::FreeImageData(pImage);
    }

    static SIZE DrawnSize(const TImageRecUI& image, const TScale& scale)
    {
        return SIZE{ std::max(1, image.nWidth * scale.nNum / scale.nDen),
                     std::max(1, image.nHeight * scale.nNum / scale.nDen) };
    }
    static RECT Corners(const TImageRecUI& image, const TScale& scale)
    {
        return scale.bCorners ? RECT{ image.nWidth / 4, image.nHeight / 4, image.nWidth / 4, image.nHeight / 4 }
                              : RECT{ 0, 0, 0, 0 };
    }

    std::vector<TImageRecUI*> m_images;
    std::vector<std::wstring> m_names;
};

// The main skin's own pictures enlarged, with and without corners, opaque and
// translucent alike: the copies the painter keeps are GDI's HALFTONE stretch of them.
TEST_F(ScaledCopies, EnlargedCopiesOfTheMainSkinsPicturesAreGdisHalftoneStretch)
{
    HDC hScreen = GetDC(nullptr);
    int nWorst = 0;
    for (size_t i = 0; i < m_images.size(); i++) {
        const TImageRecUI& image = *m_images[i];
        const RECT rcPart = { 0, 0, image.nWidth, image.nHeight };
        for (const TScale& scale : kEnlarged) {
            const SIZE size = DrawnSize(image, scale);
            HBITMAP hResampled = CScaledCopyUI::Resample(image, size.cx, size.cy, rcPart, Corners(image, scale), false);
            HBITMAP hStretched =
                CScaledCopyUI::Stretch(hScreen, image, size.cx, size.cy, rcPart, Corners(image, scale), false, false);
            ASSERT_NE(hResampled, nullptr) << m_names[i].c_str();
            ASSERT_NE(hStretched, nullptr) << m_names[i].c_str();
            const int nDifference = LargestDifference(hResampled, hStretched, size.cx, size.cy);
            EXPECT_LE(nDifference, kMaxEnlargedDifference) << m_names[i].c_str() << " at " << size.cx << "x" << size.cy;
            nWorst = std::max(nWorst, nDifference);
            DeleteObject(hResampled);
            DeleteObject(hStretched);
        }
    }
    ReleaseDC(nullptr, hScreen);
    printf("enlarged copies: largest colour byte difference to GDI's HALFTONE stretch %d\n", nWorst);
}

// Shrunk, every picture keeps its mean colour: the copy averages what it covers.
TEST_F(ScaledCopies, ShrunkCopiesOfTheMainSkinsPicturesKeepTheirMeanColour)
{
    double worst = 0.0;
    for (size_t i = 0; i < m_images.size(); i++) {
        const TImageRecUI& image = *m_images[i];
        if (image.nWidth < 12 || image.nHeight < 12) continue; // edges would be most of the picture
        const RECT rcPart = { 0, 0, image.nWidth, image.nHeight };
        double source[3];
        MeanColour(image.hBitmap, image.nWidth, image.nHeight, source);
        for (const TScale& scale : kShrunk) {
            const SIZE size = DrawnSize(image, scale);
            HBITMAP hResampled = CScaledCopyUI::Resample(image, size.cx, size.cy, rcPart, Corners(image, scale), false);
            ASSERT_NE(hResampled, nullptr) << m_names[i].c_str();
            double copy[3];
            MeanColour(hResampled, size.cx, size.cy, copy);
            for (int c = 0; c < 3; c++) {
                EXPECT_NEAR(copy[c], source[c], kMaxShrunkMeanShift)
                    << m_names[i].c_str() << " at " << size.cx << "x" << size.cy << ", colour byte " << c;
                worst = std::max(worst, fabs(copy[c] - source[c]));
            }
            DeleteObject(hResampled);
        }
    }
    printf("shrunk copies: largest shift of a mean colour %.2f\n", worst);
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
