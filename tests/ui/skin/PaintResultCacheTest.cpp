// Drawings kept with the pixels under them, by the cache both UI libraries paint
// through: what comes back from the cache is pixel for pixel what drawing again gives,
// and anything that changes the drawing or what lies under it makes it draw again.
#include <gtest/gtest.h>

#include <string>

#include "DibCanvas.h"
#include "uishared/PaintResultCacheUI.h"

namespace {

using UIShared::CPaintResultCacheUI;

const int kSize = 64;
const RECT kText = { 8, 10, 56, 40 };

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
    CDibCanvas square(1, 1);
    square.Fill(0x80402000); // premultiplied, with its alpha byte
    const BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    AlphaBlend(hDC, rc.left, rc.top, 12, 12, square.DC(), 0, 0, 1, 1, blend);
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
    CDibCanvas cached(kSize, kSize), direct(kSize, kSize);
    CPaintResultCacheUI cache;
    int nRenders = 0;
    std::wstring sText = L"Ab 12";
    CPaintResultCacheUI::TKeyUI key = { nullptr, 0xFF102030, DT_SINGLELINE, nullptr, false, 0 };
    const RECT rcPaint = { 0, 0, kSize, kSize };
    for (int iPaint = 0; iPaint < 3; iPaint++) {
        // Each paint starts over the pattern, as a paint starts with what lies under the text.
        const int nSeed = iPaint == 2 ? (c.change == CHANGE_PIXELS_UNDER ? 99 : 1) : iPaint;
        cached.FillPattern(nSeed);
        direct.FillPattern(nSeed);
        if (iPaint == 2) {
            if (c.change == CHANGE_TEXT) sText = L"Xy 34";
            if (c.change == CHANGE_COLOUR) key.dwColor = 0xFF806040;
            if (c.change == CHANGE_STYLE) key.uStyle |= DT_RIGHT;
            if (c.change == CHANGE_IMAGES) key.uImageGeneration++;
        }
        key.pstrText = sText.c_str();
        const COLORREF clr = RGB((key.dwColor >> 16) & 0xFF, (key.dwColor >> 8) & 0xFF, key.dwColor & 0xFF);
        auto render = [&](HDC hDC, RECT rc) {
            nRenders++;
            DrawSample(hDC, rc, sText.c_str(), clr);
        };
        if (!cache.Draw(cached.DC(), kText, rcPaint, key, render)) render(cached.DC(), kText);
        DrawSample(direct.DC(), kText, sText.c_str(), clr);
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

// A drawing may change the very text its key points at (an image that fails to draw is
// forgotten): the cache keeps the text it was given, so the same text passed again is
// copied back, and the changed one is not taken for it.
TEST(PaintResultCacheKey, TextChangedByTheDrawingIsKeptAsItWasGiven)
{
    CDibCanvas canvas(kSize, kSize);
    CPaintResultCacheUI cache;
    const RECT rcAll = { 0, 0, kSize, kSize };
    std::wstring sText = L"Ab";
    const CPaintResultCacheUI::TKeyUI key = { L"Ab", 0xFF000000, DT_SINGLELINE, nullptr, false, 0 };
    int nRenders = 0;
    auto render = [&](HDC hDC, RECT rc) {
        nRenders++;
        DrawSample(hDC, rc, L"Ab", RGB(0, 0, 0));
        sText.assign(200, L'z'); // moves the text the key pointed at and overwrites where it was
    };
    canvas.FillPattern(0);
    ASSERT_FALSE(cache.Draw(canvas.DC(), kText, rcAll, key, render));
    CPaintResultCacheUI::TKeyUI changing = key;
    changing.pstrText = sText.c_str();
    ASSERT_TRUE(cache.Draw(canvas.DC(), kText, rcAll, changing, render));
    ASSERT_EQ(1, nRenders);
    canvas.FillPattern(0);
    EXPECT_TRUE(cache.Draw(canvas.DC(), kText, rcAll, key, render));
    EXPECT_EQ(1, nRenders) << "the text as given is still what is kept";
    canvas.FillPattern(0);
    CPaintResultCacheUI::TKeyUI changed = key;
    changed.pstrText = sText.c_str();
    EXPECT_FALSE(cache.Draw(canvas.DC(), kText, rcAll, changed, render)) << "another text is only noted";
}

// Where the kept result could not stand for the drawing the caller draws directly.
TEST(PaintResultCacheRefusals, CutDrawingsAndWindowDcsAreLeftToTheCaller)
{
    CDibCanvas canvas(kSize, kSize);
    canvas.FillPattern(0);
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
