#pragma once
#include <windows.h>

#include <gtest/gtest.h>
#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "DibBytes.h"

// How a picture is drawn for a copy of it: at another size, with or without corners.
struct TPictureScale
{
    int nNum, nDen; // drawn size = image size * nNum / nDen, at least 1
    bool bCorners;  // a quarter of each side kept as a corner
    bool bTiled;    // the middle tiled instead of stretched

    SIZE DrawnSize(int cx, int cy) const
    {
        return SIZE{ std::max(1, cx * nNum / nDen), std::max(1, cy * nNum / nDen) };
    }
    RECT Corners(int cx, int cy) const
    {
        return bCorners ? RECT{ cx / 4, cy / 4, cx / 4, cy / 4 } : RECT{ 0, 0, 0, 0 };
    }
};

// The PNG pictures of skin folders as one UI library decodes them (TImage is its image
// record), and the checks of the copies the library makes of them at other sizes.
template <class TImage> class CPictureSet
{
public:
    using FLoad = std::function<TImage*(const std::wstring& path)>;
    using FFree = std::function<void(TImage*)>;
    // The copy of a whole picture drawn at size with the corners (and the middle tiled).
    using FCopy =
        std::function<HBITMAP(const TImage& image, SIZE size, const RECT& rcPart, const RECT& rcCorners, bool bTiled)>;
    using FWanted = std::function<bool(const TImage& image)>;

    CPictureSet(FLoad load, FFree free) : m_load(std::move(load)), m_free(std::move(free)) { }
    ~CPictureSet()
    {
        for (TImage* pImage : m_images) m_free(pImage);
    }
    CPictureSet(const CPictureSet&) = delete;
    CPictureSet& operator=(const CPictureSet&) = delete;

    size_t Count() const { return m_images.size(); }

    // Every picture of the folder (named with its closing backslash); the test fails when
    // there is none or one does not load.
    void LoadFolder(const std::wstring& folder)
    {
        WIN32_FIND_DATAW find = {};
        HANDLE hFind = FindFirstFileW((folder + L"*.png").c_str(), &find);
        ASSERT_NE(hFind, INVALID_HANDLE_VALUE) << folder.c_str();
        do {
            TImage* pImage = m_load(folder + find.cFileName);
            EXPECT_NE(pImage, nullptr) << find.cFileName;
            if (pImage == nullptr) continue;
            m_images.push_back(pImage);
            m_names.push_back(find.cFileName);
        } while (FindNextFileW(hFind, &find));
        FindClose(hFind);
    }

    // The pictures wanted, at each scale: the two copies differ by at most nMaxDifference
    // in any colour byte of any pixel. Returns how many pictures were compared.
    int ExpectCopiesAlike(const std::vector<TPictureScale>& scales, int nMaxDifference, const FCopy& first,
                          const FCopy& second, const FWanted& wanted) const
    {
        int nWorst = 0, nCompared = 0;
        for (size_t i = 0; i < m_images.size(); i++) {
            const TImage& image = *m_images[i];
            if (!wanted(image)) continue;
            nCompared++;
            const RECT rcPart = { 0, 0, image.nWidth, image.nHeight };
            for (const TPictureScale& scale : scales) {
                const SIZE size = scale.DrawnSize(image.nWidth, image.nHeight);
                const RECT rcCorners = scale.Corners(image.nWidth, image.nHeight);
                HBITMAP hFirst = first(image, size, rcPart, rcCorners, scale.bTiled);
                HBITMAP hSecond = second(image, size, rcPart, rcCorners, scale.bTiled);
                EXPECT_NE(hFirst, nullptr) << m_names[i].c_str();
                EXPECT_NE(hSecond, nullptr) << m_names[i].c_str();
                const int nDifference = CDibBytes::LargestColourDifference(hFirst, hSecond, size.cx, size.cy);
                EXPECT_LE(nDifference, nMaxDifference) << m_names[i].c_str() << " at " << size.cx << "x" << size.cy;
                nWorst = std::max(nWorst, nDifference);
                if (hFirst != nullptr) DeleteObject(hFirst);
                if (hSecond != nullptr) DeleteObject(hSecond);
            }
        }
        printf("copies of %d pictures: largest colour byte difference %d\n", nCompared, nWorst);
        return nCompared;
    }

    // Every picture of at least 12 by 12 (smaller, its edges would be most of it), shrunk
    // at each scale: each colour's mean over the copy stays within fMaxShift of the
    // picture's own.
    void ExpectMeanColourKept(const std::vector<TPictureScale>& scales, double fMaxShift, const FCopy& copy) const
    {
        double fWorst = 0.0;
        for (size_t i = 0; i < m_images.size(); i++) {
            const TImage& image = *m_images[i];
            if (image.nWidth < 12 || image.nHeight < 12) continue;
            const RECT rcPart = { 0, 0, image.nWidth, image.nHeight };
            double source[3];
            CDibBytes::MeanColour(image.hBitmap, image.nWidth, image.nHeight, source);
            for (const TPictureScale& scale : scales) {
                const SIZE size = scale.DrawnSize(image.nWidth, image.nHeight);
                HBITMAP hCopy = copy(image, size, rcPart, scale.Corners(image.nWidth, image.nHeight), scale.bTiled);
                ASSERT_NE(hCopy, nullptr) << m_names[i].c_str();
                double mean[3];
                CDibBytes::MeanColour(hCopy, size.cx, size.cy, mean);
                for (int c = 0; c < 3; c++) {
                    EXPECT_NEAR(mean[c], source[c], fMaxShift)
                        << m_names[i].c_str() << " at " << size.cx << "x" << size.cy << ", colour byte " << c;
                    fWorst = std::max(fWorst, fabs(mean[c] - source[c]));
                }
                DeleteObject(hCopy);
            }
        }
        printf("shrunk copies: largest shift of a mean colour %.2f\n", fWorst);
    }

private:
    FLoad m_load;
    FFree m_free;
    std::vector<TImage*> m_images;
    std::vector<std::wstring> m_names;
};
