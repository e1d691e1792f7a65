#include <gtest/gtest.h>

#include <string>

#include "DibCanvas.h"
#include "PainterUI.h"
#include "RuntimeCallCounter.h"
#include "SkinTestPaths.h"
#include "WindowManagerUI.h"

namespace {

// Measures and draws tagged text with a manager whose images come from the test skin.
class MarkupText : public ::testing::Test
{
protected:
    MarkupText() : m_canvas(200, 100)
    {
        m_manager.SetSkinFile(TestSkinFile().c_str());
        m_canvas.Fill(0x000000);
    }

    SIZE Extent(HFONT hFont, LPCWSTR text)
    {
        HGDIOBJ hOld = SelectObject(m_canvas.DC(), hFont);
        SIZE sz = {};
        GetTextExtentPoint32W(m_canvas.DC(), text, (int)wcslen(text), &sz);
        SelectObject(m_canvas.DC(), hOld);
        return sz;
    }
    int LineHeight(HFONT hFont)
    {
        HGDIOBJ hOld = SelectObject(m_canvas.DC(), hFont);
        TEXTMETRICW tm = {};
        GetTextMetricsW(m_canvas.DC(), &tm);
        SelectObject(m_canvas.DC(), hOld);
        return tm.tmHeight + tm.tmExternalLeading;
    }
    RECT Measure(LPCWSTR text, RECT rc, UINT style = 0)
    {
        m_nLinks = 4;
        CPainterUI::DrawMarkupText(m_canvas.DC(), &m_manager, rc, text, 0xFFFFFFFF, m_rcLinks, m_sLinks, m_nLinks,
                                   style | DT_CALCRECT);
        return rc;
    }

    CWindowManagerUI m_manager;
    CDibCanvas m_canvas;
    RECT m_rcLinks[4] = {};
    CStringUI m_sLinks[4];
    int m_nLinks = 0;
};

} // namespace

TEST_F(MarkupText, MeasuringShrinksTheRectAndDrawsNothing)
{
    const RECT rc = Measure(L"abc def", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(rc.right, Extent(m_manager.GetDefaultFont(), L"abc def").cx);
    EXPECT_EQ(rc.bottom, LineHeight(m_manager.GetDefaultFont()));
    EXPECT_TRUE(m_canvas.AllPixels(m_canvas.Rect(), 0)) << "nothing drawn in measuring mode";

    const RECT two = Measure(L"abc<n>def", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(two.bottom, 2 * LineHeight(m_manager.GetDefaultFont()));

    const RECT escaped = Measure(L"<{>{<}", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(escaped.right, Extent(m_manager.GetDefaultFont(), L"{<").cx);

    const RECT bold = Measure(L"<b>abc</b>abc", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(bold.right,
              Extent(m_manager.GetDefaultBoldFont(), L"abc").cx + Extent(m_manager.GetDefaultFont(), L"abc").cx);
    EXPECT_EQ(m_nLinks, 0);
}

TEST_F(MarkupText, LinkRectAndText)
{
    const int cxBefore = Extent(m_manager.GetDefaultFont(), L"see ").cx;
    const int cxWord = Extent(m_manager.GetDefaultLinkFont(), L"word").cx;
    m_sLinks[1] = L"stale";
    Measure(L"see <a page>word</a> after", RECT{ 0, 0, 200, 100 });
    ASSERT_EQ(m_nLinks, 1);
    EXPECT_STREQ(m_sLinks[0].GetData(), L"page");
    EXPECT_EQ(m_rcLinks[0].left, cxBefore);
    EXPECT_EQ(m_rcLinks[0].right, cxBefore + cxWord);
    EXPECT_EQ(m_rcLinks[0].top, 0);
    EXPECT_GT(m_rcLinks[0].bottom, 0);
    EXPECT_TRUE(IsRectEmpty(&m_rcLinks[1])) << "unused entries are emptied";
}

TEST_F(MarkupText, LinkWrappedOverTwoLinesGivesTwoEntries)
{
    HFONT hLink = m_manager.GetDefaultLinkFont();
    const int cxRight = Extent(hLink, L"one two ").cx + Extent(hLink, L"thr").cx;
    Measure(L"<a page>one two three</a>", RECT{ 0, 0, cxRight, 100 }, DT_WORDBREAK);
    ASSERT_EQ(m_nLinks, 2);
    EXPECT_STREQ(m_sLinks[0].GetData(), L"page");
    EXPECT_STREQ(m_sLinks[1].GetData(), L"page");
    EXPECT_EQ(m_rcLinks[0].left, 0);
    EXPECT_EQ(m_rcLinks[0].right, cxRight) << "the first part ends at the line end";
    EXPECT_EQ(m_rcLinks[1].left, 0);
    EXPECT_EQ(m_rcLinks[1].top, LineHeight(m_manager.GetDefaultFont()));
    EXPECT_EQ(m_rcLinks[1].right, Extent(hLink, L"three").cx);
}

TEST_F(MarkupText, LinksBeyondTheCallersCapacityAreNotRecorded)
{
    RECT rcLinks[3] = { {}, { 1, 1, 1, 1 }, { 2, 2, 2, 2 } };
    CStringUI sLinks[3];
    sLinks[1] = L"guard";
    int nLinks = 1;
    RECT rc = { 0, 0, 40, 100 };
    CPainterUI::DrawMarkupText(m_canvas.DC(), &m_manager, rc, L"<a x>first link wraps</a> <a y>second</a>", 0xFFFFFFFF,
                               rcLinks, sLinks, nLinks, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(nLinks, 1);
    EXPECT_STREQ(sLinks[0].GetData(), L"x");
    EXPECT_STREQ(sLinks[1].GetData(), L"guard");
    EXPECT_EQ(rcLinks[2].left, 2) << "nothing written past the capacity";

    nLinks = 0;
    rc = RECT{ 0, 0, 200, 100 };
    CPainterUI::DrawMarkupText(m_canvas.DC(), &m_manager, rc, L"<a x>link</a>", 0xFFFFFFFF, nullptr, nullptr, nLinks,
                               DT_CALCRECT);
    EXPECT_EQ(nLinks, 0);
}

TEST_F(MarkupText, InlineImageFrames)
{
    // frames.png is four 10 x 10 frames: red, green, blue, white.
    struct
    {
        LPCWSTR text;
        DWORD colour;
    } cases[] = {
        { L"<i frames.png 3>", 0xFFFFFF },
        { L"<i frames.png 1>", 0x00FF00 },
        { L"<i frames.png 9>", 0xFF0000 },
        { L"<i frames.png -2>", 0xFF0000 },
    };
    for (const auto& c : cases) {
        m_canvas.Fill(0x000000);
        RECT rc = { 5, 5, 200, 100 };
        int nLinks = 0;
        CPainterUI::DrawMarkupText(m_canvas.DC(), &m_manager, rc, c.text, 0xFFFFFFFF, nullptr, nullptr, nLinks, 0);
        EXPECT_TRUE(m_canvas.AllPixels(RECT{ 5, 5, 15, 15 }, c.colour)) << c.text;
        EXPECT_EQ(m_canvas.Pixel(15, 5), 0u) << c.text << ": one frame wide";
    }
    const RECT measured = Measure(L"<i frames.png 2>", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(measured.right, 10);
    const RECT whole = Measure(L"<i frames.png>", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(whole.right, 40) << "without a frame index the whole image";
    const RECT missing = Measure(L"<i nosuch.png 1>ab", RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(missing.right, Extent(m_manager.GetDefaultFont(), L"ab").cx);
}

TEST_F(MarkupText, ColourTagAndItsClosingTag)
{
    RECT rc = { 0, 0, 200, 100 };
    int nLinks = 0;
    CPainterUI::DrawMarkupText(m_canvas.DC(), &m_manager, rc, L"<c #FF0000>MMM</c>MMM", 0xFF00FF00, nullptr, nullptr,
                               nLinks, DT_SINGLELINE);
    const int cxRed = Extent(m_manager.GetDefaultFont(), L"MMM").cx;
    bool bRed = false, bGreen = false, bOther = false;
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 2 * cxRed; x++) {
            DWORD p = m_canvas.Pixel(x, y);
            if (p == 0) continue;
            if (x < cxRed && (p & 0x00FFFF) == 0)
                bRed = true;
            else if (x >= cxRed && (p & 0xFF00FF) == 0)
                bGreen = true;
            else
                bOther = true;
        }
    EXPECT_TRUE(bRed);
    EXPECT_TRUE(bGreen) << "the closing tag brings back the given colour";
    EXPECT_FALSE(bOther);
}

TEST_F(MarkupText, DrawingIsClippedToTheRect)
{
    RECT rc = { 0, 0, 20, 8 };
    int nLinks = 0;
    CPainterUI::DrawMarkupText(m_canvas.DC(), &m_manager, rc, L"<i frames.png>", 0xFFFFFFFF, nullptr, nullptr, nLinks,
                               0);
    EXPECT_EQ(m_canvas.Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(m_canvas.Pixel(5, 9), 0u);
    EXPECT_EQ(m_canvas.Pixel(25, 2), 0u);
}

// A text far longer than its box wraps line by line; each line looks only at what can fit
// on it (looking at the whole rest for every line took minutes for this text).
TEST_F(MarkupText, AVeryLongTextWrapsLineByLine)
{
    std::wstring text;
    for (int i = 0; i < 400000; i++) text += L"i,";
    const RECT rc = Measure(text.c_str(), RECT{ 0, 0, 200, 100 }, DT_WORDBREAK);
    const LONG cxPair = Extent(m_manager.GetDefaultFont(), L"i,").cx;
    ASSERT_GT(cxPair, 0);
    const long nPerLine = 200 / cxPair, nLines = (400000 + nPerLine - 1) / nPerLine;
    const long nExpected = nLines * LineHeight(m_manager.GetDefaultFont());
    EXPECT_GT(rc.bottom, nExpected * 9 / 10);
    EXPECT_LT(rc.bottom, nExpected * 11 / 10);
    EXPECT_LE(rc.right, 200);
}

// An image the skin lacks is looked for once per drawing, however often the text names
// it: every failed lookup reads the skin file again (thousands of them froze drawing).
TEST_F(MarkupText, AMissingInlineImageIsLookedForOnce)
{
    std::wstring text = L"x";
    for (int i = 0; i < 20000; i++) text += L"<i no-such-image.png 3>";
    const RECT rc = Measure(text.c_str(), RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(rc.right, Extent(m_manager.GetDefaultFont(), L"x").cx) << "missing images take no room";
}

// Every different missing name reads the skin file again; a text naming thousands of them
// (as damaged tagged text does) froze drawing for seconds each time. After a bounded number
// of missing names the text looks no image up, found or not.
TEST_F(MarkupText, ATextNamingManyMissingImagesStopsLookingImagesUp)
{
    const LONG cxImage = Measure(L"<i frames.png>", RECT{ 0, 0, 200, 100 }).right;
    ASSERT_GT(cxImage, 0);
    std::wstring text = L"<i frames.png>";
    for (int i = 0; i < 5000; i++) text += L"<i missing-" + std::to_wstring(i) + L".png>";
    text += L"<i frames.png>";
    EXPECT_EQ(Measure(text.c_str(), RECT{ 0, 0, 200, 100 }).right, cxImage)
        << "the image before the missing names is drawn, the one after them is not looked for";
    const std::wstring fewMissing = L"<i missing-a.png><i missing-b.png><i frames.png>";
    EXPECT_EQ(Measure(fewMissing.c_str(), RECT{ 0, 0, 200, 100 }).right, cxImage)
        << "a few missing names change nothing";
}

// Font tags with no text between them change nothing the text shows; tens of thousands of
// them (damaged text) once selected a font and read its metrics for every tag.
TEST_F(MarkupText, FontTagsWithoutTextBetweenThemOnlyCountForTheNextText)
{
    const LONG cxExpected =
        Extent(m_manager.GetDefaultBoldFont(), L"W").cx + Extent(m_manager.GetDefaultFont(), L"W").cx;
    std::wstring text = L"<b>";
    for (int i = 0; i < 20000; i++) text += i % 2 == 0 ? L"</b><b>" : L"<b><b>";
    text += L"W</b>";
    for (int i = 0; i < 20000; i++) text += L"<b></b>";
    text += L"W";
    const RECT rc = Measure(text.c_str(), RECT{ 0, 0, 200, 100 });
    EXPECT_EQ(rc.right, cxExpected);
    EXPECT_EQ(rc.bottom,
              LineHeight(m_manager.GetDefaultBoldFont()) > LineHeight(m_manager.GetDefaultFont())
                  ? LineHeight(m_manager.GetDefaultBoldFont())
                  : LineHeight(m_manager.GetDefaultFont()));
}

// A tag opening that is never closed is text. Thousands of them before a long rest of text
// (damaged text) each searched the whole rest for a closing bracket, so measuring took
// seconds; now the rest is searched through to its end a few times per drawing.
TEST_F(MarkupText, UnclosedTagOpeningsDoNotEachSearchTheRestOfTheText)
{
    std::wstring text;
    for (int i = 0; i < 3000; i++) text += L"<b x{c y";
    text += std::wstring(20000, L'W');
    RECT rcText = {};
    int nSearches = 0;
    {
        CFailedCharSearchCounter counter;
        rcText = Measure(text.c_str(), RECT{ 0, 0, 200, 100 }, DT_WORDBREAK);
        nSearches = counter.Count();
    }
    EXPECT_LE(nSearches, 4) << "each opening searched the rest of the text";
    const int cyLine = LineHeight(m_manager.GetDefaultFont());
    ASSERT_GT(cyLine, 0);
    EXPECT_LE(rcText.right, 200);
    EXPECT_GT(rcText.bottom, 100 * cyLine) << "the openings and the rest are text over many lines";
}
