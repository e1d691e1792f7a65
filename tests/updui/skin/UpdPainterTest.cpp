// The render engine drawing into a 32-bit memory bitmap: colours with alpha, image
// loading with premultiplied alpha, nine-grid pieces, tiling, image descriptions and
// tagged text.
#include <gtest/gtest.h>

#include <string>

#include "DibCanvas.h"
#include "MsimgUI.h"
#include "PainterUI.h"
#include "RuntimeCallCounter.h"
#include "WindowManagerUI.h"

using namespace UpdUI;

namespace {

const DWORD kWhite = 0x00FFFFFF;

// The test skin's images come from plain files below the resource folder here.
class UpdPainterTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetResourcePath((std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\updtest").c_str());
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"UpdPainterHost";
        RegisterClassW(&wc);
        s_hWnd = CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    }

    static void TearDownTestSuite() { DestroyWindow(s_hWnd); }

    void SetUp() override { m_manager.Init(s_hWnd); }

    void TearDown() override { CMsimgUI::UseSystemFunctions(true); }

    static HWND s_hWnd;
    CWindowManagerUI m_manager;
};

HWND UpdPainterTest::s_hWnd = nullptr;

bool Near(DWORD dwActual, DWORD dwExpected)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = (int)((dwActual >> shift) & 0xFF), e = (int)((dwExpected >> shift) & 0xFF);
        if (a - e > 2 || e - a > 2) return false;
    }
    return true;
}

class UpdPainterColorTest : public UpdPainterTest, public ::testing::WithParamInterface<bool>
{ };

// Both with msimg32's AlphaBlend and with the library's own blend.
TEST_P(UpdPainterColorTest, DrawsColoursByTheirAlpha)
{
    CMsimgUI::UseSystemFunctions(GetParam());
    CDibCanvas canvas(8, 8, RGB(255, 255, 255));
    RECT rc = { 0, 0, 4, 4 };
    CPainterUI::DrawColor(canvas.DC(), rc, 0x00FFFFFF);
    EXPECT_EQ(0, canvas.CountOtherThan(canvas.Rect(), kWhite)); // alpha 0 draws nothing
    CPainterUI::DrawColor(canvas.DC(), rc, 0x80FF0000);
    EXPECT_TRUE(Near(canvas.Pixel(1, 1), 0xFF7F7F)) << std::hex << canvas.Pixel(1, 1);
    EXPECT_EQ(kWhite, canvas.Pixel(5, 5));
    CPainterUI::DrawColor(canvas.DC(), rc, 0xFF00FF00);
    EXPECT_EQ(0x00FF00u, canvas.Pixel(3, 3));
}

INSTANTIATE_TEST_SUITE_P(Blends, UpdPainterColorTest, ::testing::Values(true, false));

TEST_F(UpdPainterTest, StoresTranslucentPixelsPremultiplied)
{
    TImageRecUI* pImage = CPainterUI::LoadImageData(L"down/alpha.png", nullptr, 0);
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(2, pImage->nWidth);
    EXPECT_EQ(1, pImage->nHeight);
    EXPECT_TRUE(pImage->bAlpha);
    DIBSECTION dib = {};
    ASSERT_EQ((int)sizeof(dib), GetObjectW(pImage->hBitmap, sizeof(dib), &dib));
    const DWORD* pBits = static_cast<const DWORD*>(dib.dsBm.bmBits);
    EXPECT_EQ(0x80800000u, pBits[0]); // alpha 128, red 255 * 128 / 255
    EXPECT_EQ(0xFF0000FFu, pBits[1]);
    CPainterUI::FreeImage(pImage);

    EXPECT_EQ(nullptr, CPainterUI::LoadImageData(L"down/missing.png", nullptr, 0));
    EXPECT_EQ(nullptr, CPainterUI::LoadImageData(L"update.xml", nullptr, 0)); // not an image
}

TEST_F(UpdPainterTest, HoleLeavesTheCentreOfANineGrid)
{
    CDibCanvas canvas(60, 60, RGB(255, 255, 255));
    RECT rcItem = { 0, 0, 60, 60 };
    ASSERT_TRUE(CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, rcItem, rcItem,
                                          L"file='down/frame.png' corner='10,10,10,10' hole='true'"));
    EXPECT_EQ(0x00FF00u, canvas.Pixel(2, 2));   // corner
    EXPECT_EQ(0x00FF00u, canvas.Pixel(30, 5));  // top edge, stretched
    EXPECT_EQ(0x00FF00u, canvas.Pixel(55, 30)); // right edge
    EXPECT_EQ(kWhite, canvas.Pixel(30, 30));    // no centre
    canvas.Fill(kWhite);
    ASSERT_TRUE(CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, rcItem, rcItem,
                                          L"file='down/frame.png' corner='10,10,10,10'"));
    EXPECT_EQ(0xFF0000u, canvas.Pixel(30, 30));
}

TEST_F(UpdPainterTest, TilesTheCentreAndCutsTheLastTile)
{
    // A 10 x 1 strip whose first column is blue: every tile starts with a blue column.
    DWORD* pBits = nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 10;
    bmi.bmiHeader.biHeight = -1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    HBITMAP hStrip = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, (void**)&pBits, nullptr, 0);
    ASSERT_NE(nullptr, hStrip);
    for (int i = 0; i < 10; i++) pBits[i] = i == 0 ? 0xFF0000FF : 0xFFFF0000;
    for (bool bAlpha : { false, true }) {
        CDibCanvas canvas(30, 1, RGB(255, 255, 255));
        RECT rcDest = { 0, 0, 25, 1 }, rcSource = { 0, 0, 10, 1 }, rcCorners = {};
        CPainterUI::DrawImage(canvas.DC(), hStrip, rcDest, rcDest, rcSource, rcCorners, bAlpha, 255, false, true,
                              false);
        EXPECT_EQ(0x0000FFu, canvas.Pixel(0, 0)) << bAlpha;
        EXPECT_EQ(0xFF0000u, canvas.Pixel(9, 0)) << bAlpha;
        EXPECT_EQ(0x0000FFu, canvas.Pixel(10, 0)) << bAlpha;
        EXPECT_EQ(0x0000FFu, canvas.Pixel(20, 0)) << bAlpha; // the 5-pixel tile starts like the others
        EXPECT_EQ(0xFF0000u, canvas.Pixel(24, 0)) << bAlpha;
        EXPECT_EQ(kWhite, canvas.Pixel(25, 0)) << bAlpha;
    }
    DeleteObject(hStrip);
}

TEST_F(UpdPainterTest, ASecondFileDrawsTheFirstImageWithItsSettings)
{
    CDibCanvas canvas(60, 30, RGB(255, 255, 255));
    RECT rcItem = { 0, 0, 60, 30 };
    ASSERT_TRUE(CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, rcItem, rcItem,
                                          L"file='down/frame.png' dest='0,0,30,30' file='down/frame.png' "
                                          L"dest='40,0,50,10' source='10,10,20,20'"));
    EXPECT_EQ(0x00FF00u, canvas.Pixel(1, 1)); // the first image, whole, on the left
    EXPECT_EQ(0xFF0000u, canvas.Pixel(15, 15));
    EXPECT_EQ(0xFF0000u, canvas.Pixel(45, 5)); // the second: only the red centre
    EXPECT_EQ(kWhite, canvas.Pixel(35, 5));
    EXPECT_EQ(kWhite, canvas.Pixel(45, 20));
}

TEST_F(UpdPainterTest, CalcRectMeasuresWithoutDrawing)
{
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    RECT rc = { 0, 0, 200, 60 };
    int nLinks = 0;
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rc, L"<b>Bold</b> and plain", 0xFF000000, nullptr, nullptr,
                               nLinks, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(0, canvas.CountOtherThan(canvas.Rect(), kWhite));
    EXPECT_GT(rc.right, 20);
    EXPECT_LT(rc.right, 200);
    EXPECT_GT(rc.bottom, 5);
}

// A text far longer than its box wraps line by line; each line looks only at what can fit
// on it (looking at the whole rest for every line took minutes for this text).
TEST_F(UpdPainterTest, AVeryLongTextWrapsLineByLine)
{
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    std::wstring sText;
    for (int i = 0; i < 400000; i++) sText += L"i,";
    RECT rc = { 0, 0, 200, 60 };
    int nLinks = 0;
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rc, sText.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_WORDBREAK);
    HFONT hOld = (HFONT)SelectObject(canvas.DC(), m_manager.GetDefaultFontInfo()->hFont);
    SIZE szPair = {};
    GetTextExtentPoint32W(canvas.DC(), L"i,", 2, &szPair);
    TEXTMETRICW tm = {};
    GetTextMetricsW(canvas.DC(), &tm);
    SelectObject(canvas.DC(), hOld);
    ASSERT_GT(szPair.cx, 0);
    const int nPerLine = 200 / szPair.cx, nLines = (400000 + nPerLine - 1) / nPerLine;
    const long nExpected = (long)nLines * (tm.tmHeight + tm.tmExternalLeading);
    EXPECT_GT(rc.bottom, nExpected * 9 / 10);
    EXPECT_LT(rc.bottom, nExpected * 11 / 10);
    EXPECT_LE(rc.right, 200);
}

// Thousands of font tags with hardly any text (damaged text) measure as the few that hold
// text; each tag once read its font's metrics from the DC again, taking seconds, and the
// tags still open were copied at every line's start.
TEST_F(UpdPainterTest, ThousandsOfFontTagsMeasureAsTheTextTheyHold)
{
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    std::wstring sText;
    for (int i = 0; i < 20000; i++) sText += L"<b>";
    sText += L"W";
    for (int i = 0; i < 20000; i++) sText += L"</b>";
    for (int i = 0; i < 10000; i++) sText += L"<u></u><b></b>";
    sText += L"W";
    int nLinks = 0;
    RECT rcMany = { 0, 0, 200, 60 }, rcFew = { 0, 0, 200, 60 };
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcMany, sText.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_WORDBREAK);
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcFew, L"<b>W</b><u></u>W", 0xFF000000, nullptr, nullptr,
                               nLinks, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rcFew.right, rcMany.right);
    EXPECT_EQ(rcFew.bottom, rcMany.bottom);
    EXPECT_GT(rcMany.right, 0);

    // Open tags carried over a text of many lines (every line once copied them all).
    const std::wstring sWords(6000, L'W');
    std::wstring sDeep;
    for (int i = 0; i < 20000; i++) sDeep += L"<b>";
    sDeep += sWords;
    const std::wstring sShallow = L"<b>" + sWords;
    RECT rcDeep = { 0, 0, 200, 60 }, rcShallow = { 0, 0, 200, 60 };
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcDeep, sDeep.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_WORDBREAK);
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcShallow, sShallow.c_str(), 0xFF000000, nullptr, nullptr,
                               nLinks, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rcShallow.right, rcDeep.right);
    EXPECT_EQ(rcShallow.bottom, rcDeep.bottom);
    EXPECT_GT(rcDeep.bottom, 60) << "the text wraps over many lines";
}

// A link's address is kept once however many lines its text covers: every line's start
// once copied it with the rest of the tags' state, so a long address over a long text (as
// damaged text has) took seconds to measure. Counted here as the allocations the size of
// the address made while measuring.
TEST_F(UpdPainterTest, ALongLinkOverManyLinesIsNotCopiedPerLine)
{
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    const std::wstring sAddress = L"http://127.0.0.1/" + std::wstring(20000, L'x');
    std::wstring sWords;
    for (int i = 0; i < 6000; i++) sWords += L"i,";
    const std::wstring sLinked = L"<a " + sAddress + L">" + sWords + L"</a>";
    int nLinks = 0;
    RECT rcPlain = { 0, 0, 200, 60 }, rcLinked = { 0, 0, 200, 60 };
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcPlain, sWords.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_WORDBREAK);
    int nCopies = 0;
    {
        CLargeAllocationCounter counter(sAddress.size() * sizeof(wchar_t));
        CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcLinked, sLinked.c_str(), 0xFF000000, nullptr, nullptr,
                                   nLinks, DT_CALCRECT | DT_WORDBREAK);
        nCopies = counter.Count();
    }
    HFONT hOld = (HFONT)SelectObject(canvas.DC(), m_manager.GetDefaultFontInfo()->hFont);
    TEXTMETRICW tm = {};
    GetTextMetricsW(canvas.DC(), &tm);
    SelectObject(canvas.DC(), hOld);
    ASSERT_GT(rcPlain.bottom, 50 * tm.tmHeight) << "the text covers many lines";
    EXPECT_EQ(rcPlain.bottom, rcLinked.bottom) << "the link lays out as its text";
    EXPECT_EQ(rcPlain.right, rcLinked.right);
    EXPECT_LE(nCopies, 4) << "the address was copied for the lines of its text";

    // The address is still what a drawn link reports, on every line it covers.
    RECT rcLinks[3] = {};
    CStringUI sLinks[3];
    nLinks = 3;
    RECT rcDraw = { 0, 0, 200, 60 };
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcDraw, sLinked.c_str(), 0xFF000000, rcLinks, sLinks, nLinks,
                               DT_WORDBREAK);
    ASSERT_EQ(3, nLinks);
    for (int i = 0; i < 3; i++) {
        EXPECT_STREQ(sAddress.c_str(), sLinks[i].GetData()) << i;
        EXPECT_GT(rcLinks[i].right, rcLinks[i].left) << i;
    }
    EXPECT_LT(rcLinks[0].top, rcLinks[1].top);
}

// A tag opening that is never closed is text. Thousands of them before a long rest of text
// (damaged text) each searched the whole rest for a closing bracket, so measuring took
// seconds; now the rest is searched through to its end a few times per drawing. The text
// measures as the same characters given as raw text.
TEST_F(UpdPainterTest, UnclosedTagOpeningsDoNotEachSearchTheRestOfTheText)
{
    CDibCanvas canvas(200, 60, RGB(255, 255, 255));
    std::wstring sText;
    for (int i = 0; i < 3000; i++) sText += L"<b x{c y";
    sText += std::wstring(20000, L'W');
    const std::wstring sRaw = L"<r>" + sText + L"</r>";
    int nLinks = 0;
    RECT rcText = { 0, 0, 200, 60 }, rcRaw = { 0, 0, 200, 60 };
    int nSearches = 0;
    {
        CFailedCharSearchCounter counter;
        CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcText, sText.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                                   DT_CALCRECT | DT_WORDBREAK);
        nSearches = counter.Count();
    }
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcRaw, sRaw.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_WORDBREAK);
    EXPECT_LE(nSearches, 4) << "each opening searched the rest of the text";
    EXPECT_EQ(rcRaw.right, rcText.right);
    EXPECT_EQ(rcRaw.bottom, rcText.bottom);
    EXPECT_GT(rcText.bottom, 60);
}

TEST_F(UpdPainterTest, RawTextShowsTagsAsCharacters)
{
    CDibCanvas canvas(300, 40, RGB(255, 255, 255));
    int nLinks = 0;
    RECT rcRaw = { 0, 0, 300, 40 }, rcBold = { 0, 0, 300, 40 };
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcRaw, L"<r><b>x</b></r>", 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_SINGLELINE);
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcBold, L"<b>x</b>", 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_SINGLELINE);
    // The same characters drawn as plain text with the window's default font.
    HFONT hOld = (HFONT)SelectObject(canvas.DC(), m_manager.GetDefaultFontInfo()->hFont);
    SIZE sz = {};
    GetTextExtentPoint32W(canvas.DC(), L"<b>x</b>", 8, &sz);
    SelectObject(canvas.DC(), hOld);
    EXPECT_EQ(sz.cx, rcRaw.right - rcRaw.left);
    EXPECT_LT(rcBold.right, rcRaw.right);
}

TEST_F(UpdPainterTest, BoldThenRedRunsDrawInTheirOwnStyles)
{
    CDibCanvas canvas(300, 40, RGB(255, 255, 255));
    RECT rc = { 0, 0, 300, 40 };
    int nLinks = 0;
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rc, L"<b>WWW</b><c #FFFF0000>WWW</c>", 0xFF000000, nullptr,
                               nullptr, nLinks, DT_SINGLELINE);
    RECT rcBold = { 0, 0, 300, 40 };
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rcBold, L"<b>WWW</b>", 0xFF000000, nullptr, nullptr, nLinks,
                               DT_CALCRECT | DT_SINGLELINE);
    const int xSplit = rcBold.right;
    int nBlackLeft = 0, nRedLeft = 0, nBlackRight = 0, nRedRight = 0;
    for (int y = 0; y < 40; y++) {
        for (int x = 0; x < 300; x++) {
            // Text is anti-aliased: judge a pixel by its hue, not by an exact value.
            DWORD c = canvas.Pixel(x, y);
            int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            bool bRed = r > g + 40 && g == b, bBlack = r == g && g == b && r < 0xC0;
            (x < xSplit ? nBlackLeft : nBlackRight) += bBlack ? 1 : 0;
            (x < xSplit ? nRedLeft : nRedRight) += bRed ? 1 : 0;
        }
    }
    EXPECT_GT(nBlackLeft, 0);
    EXPECT_EQ(0, nRedLeft);
    EXPECT_GT(nRedRight, 0);
    EXPECT_EQ(0, nBlackRight);
}

TEST_F(UpdPainterTest, RecordsLinksUpToTheCapacity)
{
    CDibCanvas canvas(300, 40, RGB(255, 255, 255));
    RECT rc = { 0, 0, 300, 40 };
    RECT rcLinks[1] = {};
    CStringUI sLinks[1];
    int nLinks = 1;
    CPainterUI::DrawMarkupText(canvas.DC(), &m_manager, rc, L"go <a first>here</a> or <a second>there</a>", 0xFF000000,
                               rcLinks, sLinks, nLinks, DT_SINGLELINE);
    EXPECT_EQ(1, nLinks);
    EXPECT_STREQ(L"first", sLinks[0].GetData());
    EXPECT_GT(rcLinks[0].left, 0);
    EXPECT_GT(rcLinks[0].right, rcLinks[0].left);
    EXPECT_GT(rcLinks[0].bottom, rcLinks[0].top);
}

TEST_F(UpdPainterTest, AdjustsColoursByHueSaturationAndLightness)
{
    EXPECT_EQ(0x80123456u, CPainterUI::AdjustColor(0x80123456, 180, 100, 100));
    EXPECT_EQ(0xFF00FF00u, CPainterUI::AdjustColor(0xFFFF0000, 300, 100, 100)); // red turned by 120 degrees
    EXPECT_EQ(0x7F000000u, CPainterUI::AdjustColor(0x7FFF0000, 180, 100, 0));   // no lightness: black, alpha kept
}

} // namespace
