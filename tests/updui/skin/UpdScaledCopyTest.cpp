// The resampled copies of stretched images against GDI's HALFTONE stretch of the same
// pictures: the real skins' images, enlarged and shrunk, with and without corners.
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

using namespace UpdUI;

namespace {

// Enlarged, the resampler and GDI's HALFTONE stretch interpolate between the same
// neighbours at the same places: they differ by rounding only, at most this much in any
// colour or alpha byte of any pixel.
const int kMaxEnlargedDifference = 1;
// Shrunk, GDI's stretch takes one point of the source per target pixel while the
// resampler averages the area each covers, so the copy keeps the picture's mean colour;
// each colour's mean over the copy stays this close to the source's.
const double kMaxShrunkMeanShift = 2.0;

DIBSECTION DibOf(HBITMAP hBitmap)
{
    DIBSECTION dib = {};
    GdiFlush();
    if (GetObjectW(hBitmap, sizeof(dib), &dib) != sizeof(dib)) dib.dsBm.bmBits = nullptr;
    return dib;
}

// The largest difference of a byte; the alpha byte only where the copy is blended (an
// opaque copy is copied, its alpha byte is never read).
int LargestDifference(HBITMAP hA, HBITMAP hB, int cx, int cy, bool bBlend)
{
    const DIBSECTION a = DibOf(hA), b = DibOf(hB);
    if (a.dsBm.bmBits == nullptr || b.dsBm.bmBits == nullptr) return 256;
    const BYTE* pA = static_cast<const BYTE*>(a.dsBm.bmBits);
    const BYTE* pB = static_cast<const BYTE*>(b.dsBm.bmBits);
    int nMax = 0;
    for (size_t i = 0; i < (size_t)cx * cy * 4; i++) {
        if (bBlend || i % 4 != 3) nMax = std::max(nMax, abs((int)pA[i] - (int)pB[i]));
    }
    return nMax;
}

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

struct TScale
{
    int nNum, nDen; // drawn size = image size * nNum / nDen, at least 1
    bool bCorners;  // a quarter of each side kept as a corner
    bool bTiled;    // the middle tiled instead of stretched
};

const TScale kEnlarged[] = {
    { 3, 1, false, false }, { 5, 2, true, false }, { 17, 1, false, false }, { 4, 3, true, false }, { 3, 1, true, true }
};
const TScale kShrunk[] = { { 1, 2, false, false }, { 2, 3, false, false }, { 1, 3, false, false } };

class UpdScaledCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (LPCWSTR pstrFolder : { L"\\skins\\update\\down\\", L"\\skins\\test\\pic\\", L"\\skins\\updtest\\down\\" })
            LoadFolder(std::wstring(LUMORA_TEST_SRC_DIR) + pstrFolder);
        ASSERT_GE(m_images.size(), 10u);
    }
    void TearDown() override
    {
        for (TImageRecUI* pImage : m_images) CPainterUI::FreeImage(pImage);
    }
    void LoadFolder(const std::wstring& folder)
    {
        WIN32_FIND_DATAW find = {};
        HANDLE hFind = FindFirstFileW((folder + L"*.png").c_str(), &find);
        ASSERT_NE(hFind, INVALID_HANDLE_VALUE) << folder.c_str();
        do {
            TImageRecUI* pImage = LoadPicture(folder + find.cFileName);
            ASSERT_NE(pImage, nullptr) << find.cFileName;
            m_images.push_back(pImage);
            m_names.push_back(find.cFileName);
        } while (FindNextFileW(hFind, &find));
        FindClose(hFind);
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

// The skins' opaque pictures enlarged: the copies the painter keeps are GDI's HALFTONE
// stretch of them, within rounding.
TEST_F(UpdScaledCopies, EnlargedCopiesAreGdisHalftoneStretch)
{
    HDC hScreen = GetDC(nullptr);
    int nWorst = 0, nCompared = 0;
    for (size_t i = 0; i < m_images.size(); i++) {
        const TImageRecUI& image = *m_images[i];
        if (image.bAlpha) continue; // a translucent picture's copy is blended by GDI's AlphaBlend
        const RECT rcPart = { 0, 0, image.nWidth, image.nHeight };
        nCompared++;
        for (const TScale& scale : kEnlarged) {
            const SIZE size = DrawnSize(image, scale);
            const RECT rcCorners = Corners(image, scale);
            HBITMAP hResampled =
                CScaledCopyUI::Resample(image, size.cx, size.cy, rcPart, rcCorners, false, scale.bTiled, scale.bTiled);
            HBITMAP hStretched = CPainterUI::StretchCopy(hScreen, &image, size.cx, size.cy, rcPart, rcCorners,
                                                         image.bAlpha, false, scale.bTiled, scale.bTiled);
            ASSERT_NE(hResampled, nullptr) << m_names[i].c_str();
            ASSERT_NE(hStretched, nullptr) << m_names[i].c_str();
            const int nDifference = LargestDifference(hResampled, hStretched, size.cx, size.cy, image.bAlpha);
            EXPECT_LE(nDifference, kMaxEnlargedDifference) << m_names[i].c_str() << " at " << size.cx << "x" << size.cy;
            nWorst = std::max(nWorst, nDifference);
            DeleteObject(hResampled);
            DeleteObject(hStretched);
        }
    }
    ReleaseDC(nullptr, hScreen);
    EXPECT_GE(nCompared, 3);
    printf("enlarged copies: largest byte difference to GDI's HALFTONE stretch %d\n", nWorst);
}

// Shrunk, every picture keeps its mean colour: the copy averages what it covers.
TEST_F(UpdScaledCopies, ShrunkCopiesKeepTheirMeanColour)
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
            HBITMAP hResampled =
                CScaledCopyUI::Resample(image, size.cx, size.cy, rcPart, Corners(image, scale), false, false, false);
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
