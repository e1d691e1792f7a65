// Drawings kept with the pixels under them: what comes back from the cache is pixel for
// pixel what drawing again gives, and anything that changes the drawing or what lies
// under it makes it draw again.
#include <gtest/gtest.h>

#include <vector>

#include "PaintResultCacheUI.h"

namespace {

const int kSize = 64;
const RECT kText = { 8, 10, 56, 40 };

// A DIB canvas with a pattern under the drawing; its pixels can be read and changed.
class CCanvas
{
public:
    explicit CCanvas(int nSeed)
    {
        m_hDC = CreateCompatibleDC(nullptr);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = kSize;
        bmi.bmiHeader.biHeight = -kSize;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, (void**)&m_pBits, nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        Fill(nSeed);
    }
    ~CCanvas()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    void Fill(int nSeed)
    {
        GdiFlush();
        for (int y = 0; y < kSize; y++)
            for (int x = 0; x < kSize; x++)
                m_pBits[y * kSize + x] =
                    (((x * 37 + nSeed) & 0xFF) << 16) | (((y * 53) & 0xFF) << 8) | ((x + y) & 0xFF);
    }
    HDC DC() const { return m_hDC; }
    std::vector<DWORD> Pixels() const
    {
        GdiFlush();
        return std::vector<DWORD>(m_pBits, m_pBits + kSize * kSize);
    }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};

// Antialiased text over the pattern and a translucent square: the drawing depends on
// every pixel under it.
void DrawSample(HDC hDC, RECT rc, LPCWSTR pstrText, COLORREF clr)
{
    HFONT hFont = CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Tahoma");
    HGDIOBJ hOldFont = SelectObject(hDC, hFont);
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, clr);
    DrawTextW(hDC, pstrText, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(hDC, hOldFont);
    DeleteObject(hFont);
    HDC hPixelDC = CreateCompatibleDC(hDC);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 1;
    bmi.bmiHeader.biHeight = 1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    DWORD* pPixel = nullptr;
    HBITMAP hPixel = CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, (void**)&pPixel, nullptr, 0);
    *pPixel = 0x80402000;
    HGDIOBJ hOld = SelectObject(hPixelDC, hPixel);
    const BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    AlphaBlend(hDC, rc.left, rc.top, 12, 12, hPixelDC, 0, 0, 1, 1, blend);
    SelectObject(hPixelDC, hOld);
    DeleteObject(hPixel);
    DeleteDC(hPixelDC);
}

enum EChange { CHANGE_NOTHING, CHANGE_PIXELS_UNDER, CHANGE_TEXT, CHANGE_COLOUR, CHANGE_STYLE, CHANGE_IMAGES };

struct TCase
{
    EChange change; // what differs at the third paint
    int nRenders;   // drawings made over the three paints
};

class PaintResultCacheTest : public ::testing::TestWithParam<TCase>
{ };

TEST_P(PaintResultCacheTest, EveryPaintEqualsDrawingAgain)
{
    const TCase& c = GetParam();
    CCanvas cached(0), direct(0);
    CPaintResultCacheUI cache;
    int nRenders = 0;
    CPaintResultCacheUI::TKeyUI key = { L"Ab 12", 0xFF102030, DT_SINGLELINE, nullptr, false, 0 };
    const RECT rcPaint = { 0, 0, kSize, kSize };
    for (int iPaint = 0; iPaint < 3; iPaint++) {
        // Each paint starts over the pattern, as a paint starts with what lies under the text.
        const int nSeed = iPaint == 2 ? (c.change == CHANGE_PIXELS_UNDER ? 99 : 1) : iPaint;
        cached.Fill(nSeed);
        direct.Fill(nSeed);
        if (iPaint == 2) {
            if (c.change == CHANGE_TEXT) key.sText = L"Xy 34";
            if (c.change == CHANGE_COLOUR) key.dwColor = 0xFF806040;
            if (c.change == CHANGE_STYLE) key.uStyle |= DT_RIGHT;
            if (c.change == CHANGE_IMAGES) key.uImageGeneration++;
        }
        const COLORREF clr = RGB((key.dwColor >> 16) & 0xFF, (key.dwColor >> 8) & 0xFF, key.dwColor & 0xFF);
        auto render = [&](HDC hDC, RECT rc) {
            nRenders++;
            DrawSample(hDC, rc, key.sText.GetData(), clr);
        };
        if (!cache.Draw(cached.DC(), kText, rcPaint, key, render)) render(cached.DC(), kText);
        DrawSample(direct.DC(), kText, key.sText.GetData(), clr);
        ASSERT_EQ(direct.Pixels(), cached.Pixels()) << "paint " << iPaint + 1;
    }
    EXPECT_EQ(c.nRenders, nRenders);
}

// The first paint only notes the drawing, the second keeps it, the third copies it back
// unless something changed.
INSTANTIATE_TEST_SUITE_P(Changes, PaintResultCacheTest,
                         ::testing::Values(TCase{ CHANGE_NOTHING, 2 }, TCase{ CHANGE_PIXELS_UNDER, 3 },
                                           TCase{ CHANGE_TEXT, 3 }, TCase{ CHANGE_COLOUR, 3 }, TCase{ CHANGE_STYLE, 3 },
                                           TCase{ CHANGE_IMAGES, 3 }));

// Where the kept result could not stand for the drawing the caller draws directly.
TEST(PaintResultCacheRefusals, CutDrawingsAndWindowDcsAreLeftToTheCaller)
{
    CCanvas canvas(0);
    CPaintResultCacheUI cache;
    const CPaintResultCacheUI::TKeyUI key = { L"Ab", 0xFF000000, DT_SINGLELINE, nullptr, false, 0 };
    auto render = [](HDC, RECT) {};
    const RECT rcAll = { 0, 0, kSize, kSize };
    const RECT rcHalf = { 0, 0, 30, kSize };
    ASSERT_FALSE(cache.Draw(canvas.DC(), kText, rcAll, key, render)) << "a first paint only notes the drawing";
    for (int i = 0; i < 2; i++) ASSERT_TRUE(cache.Draw(canvas.DC(), kText, rcAll, key, render));
    EXPECT_FALSE(cache.Draw(canvas.DC(), kText, rcHalf, key, render)) << "cut by the paint rectangle";
    const CPaintResultCacheUI::TKeyUI noClip = { L"Ab", 0xFF000000, DT_SINGLELINE | DT_NOCLIP, nullptr, false, 0 };
    EXPECT_FALSE(cache.Draw(canvas.DC(), kText, rcAll, noClip, render)) << "glyphs may reach past it";
    HRGN hRound = CreateRoundRectRgn(0, 0, kSize, kSize, 30, 30);
    SelectClipRgn(canvas.DC(), hRound);
    EXPECT_FALSE(cache.Draw(canvas.DC(), kText, rcAll, key, render)) << "a clipping that is not a rectangle";
    SelectClipRgn(canvas.DC(), nullptr);
    DeleteObject(hRound);
    HDC hScreen = GetDC(nullptr);
    EXPECT_FALSE(cache.Draw(hScreen, kText, rcAll, key, render)) << "not a memory DC";
    ReleaseDC(nullptr, hScreen);
}

} // namespace
