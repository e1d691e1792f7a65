// Stretched and tiled images drawn from copies at the drawn size: what a direct drawing
// gives within rounding, one copy per size, bounded.
#include <gtest/gtest.h>

#include <string>

#include "DibCanvas.h"
#include "MsimgUI.h"
#include "PainterUI.h"
#include "ScaledImageCacheUI.h"
#include "WindowManagerUI.h"

using namespace UpdUI;

namespace {

const int kCanvas = 120;
// The copies are resampled rather than stretched by GDI: they may differ from a direct
// drawing by rounding, at most this much in any colour byte.
const int kMaxCopyDifference = 1;

int LargestByteDifference(DWORD a, DWORD b)
{
    int nMax = 0;
    for (int nShift = 0; nShift < 24; nShift += 8) {
        const int d = (int)((a >> nShift) & 0xFF) - (int)((b >> nShift) & 0xFF);
        nMax = d > nMax ? d : (-d > nMax ? -d : nMax);
    }
    return nMax;
}

// A canvas whose every pixel differs from its neighbours, so no drawing matches it by chance.
class CPatternCanvas : public CDibCanvas
{
public:
    CPatternCanvas() : CDibCanvas(kCanvas, kCanvas) { FillPattern(); }
};

struct TScaledCase
{
    LPCWSTR pstrDesc;
    LPCWSTR pstrFile;
    RECT rcCorners;
    BYTE uFade;
    bool bHole;
    bool bTiledX;
    bool bTiledY;
    bool bCopied;  // false: drawn directly, as before
    bool bBlended; // copied only with the system's blend: the fallback's is not exact enough
};

const TScaledCase kCases[] = {
    { L"down/frame.png", L"down/frame.png", { 0, 0, 0, 0 }, 255, false, false, false, true, false },
    { L"file='down/frame.png' fade='150'", L"down/frame.png", { 0, 0, 0, 0 }, 150, false, false, false, true, true },
    { L"file='down/frame.png' corner='5,5,5,5'",
      L"down/frame.png",
      { 5, 5, 5, 5 },
      255,
      false,
      false,
      false,
      true,
      false },
    { L"file='down/frame.png' corner='5,5,5,5' xtiled='true' ytiled='true'",
      L"down/frame.png",
      { 5, 5, 5, 5 },
      255,
      false,
      true,
      true,
      true,
      false },
    { L"file='down/frame.png' corner='5,5,5,5' hole='true'",
      L"down/frame.png",
      { 5, 5, 5, 5 },
      255,
      true,
      false,
      false,
      false,
      false },
    { L"file='down/frame.png' corner='5,5,5,5' hole='true' fade='200'",
      L"down/frame.png",
      { 5, 5, 5, 5 },
      200,
      true,
      false,
      false,
      true,
      true },
    { L"down/alpha.png", L"down/alpha.png", { 0, 0, 0, 0 }, 255, false, false, false, true, true },
};

class UpdScaledImageTest : public ::testing::TestWithParam<bool>
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetResourcePath((std::wstring(LUMORA_TEST_SRC_DIR) + L"\\skins\\updtest").c_str());
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"UpdScaledImageHost";
        RegisterClassW(&wc);
        s_hWnd = CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(s_hWnd); }
    void SetUp() override
    {
        m_manager.Init(s_hWnd);
        CMsimgUI::UseSystemFunctions(GetParam());
    }
    void TearDown() override { CMsimgUI::UseSystemFunctions(true); }

    // The whole item drawn at once, unclipped, without a copy.
    void DrawDirect(HDC hDC, const TScaledCase& c, const RECT& rcItem)
    {
        TImageRecUI* pImage = m_manager.GetImageEx(c.pstrFile);
        ASSERT_NE(pImage, nullptr) << c.pstrFile;
        const RECT rcSource = { 0, 0, pImage->nWidth, pImage->nHeight };
        CPainterUI::DrawImage(hDC, pImage->hBitmap, rcItem, rcItem, rcSource, c.rcCorners, pImage->bAlpha, c.uFade,
                              c.bHole, c.bTiledX, c.bTiledY);
    }

    static HWND s_hWnd;
    CWindowManagerUI m_manager;
};

HWND UpdScaledImageTest::s_hWnd = nullptr;

// The first paint makes the copy, later ones use it; a part repainted on its own looks
// as it does in a full paint (within rounding), and nothing outside the paint rectangle
// changes.
TEST_P(UpdScaledImageTest, CopiesDrawWhatADirectDrawingDraws)
{
    const RECT rcItem = { 7, 9, 7 + 97, 9 + 61 };
    const RECT paints[] = { { 0, 0, kCanvas, kCanvas }, { 30, 20, 61, 44 }, { 0, 60, 10, 80 } };
    for (const TScaledCase& c : kCases) {
        for (const RECT& rcPaint : paints) {
            for (int round = 0; round < 2; round++) {
                CPatternCanvas direct, copied, background;
                DrawDirect(direct.DC(), c, rcItem);
                EXPECT_TRUE(CPainterUI::DrawImageDesc(copied.DC(), &m_manager, rcItem, rcPaint, c.pstrDesc));
                int nDiffer = 0, nOutside = 0;
                for (int y = 0; y < kCanvas; y++)
                    for (int x = 0; x < kCanvas; x++) {
                        const POINT pt = { x, y };
                        if (PtInRect(&rcPaint, pt))
                            nDiffer +=
                                LargestByteDifference(copied.Pixel(x, y), direct.Pixel(x, y)) > kMaxCopyDifference;
                        else
                            nOutside += copied.Pixel(x, y) != background.Pixel(x, y);
                    }
                EXPECT_EQ(nDiffer, 0) << c.pstrDesc << " paint " << rcPaint.left << "," << rcPaint.top << " round "
                                      << round;
                if (c.bCopied && (GetParam() || !c.bBlended)) {
                    EXPECT_EQ(nOutside, 0) << c.pstrDesc << ": nothing outside the paint rectangle changes";
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SystemAndOwn, UpdScaledImageTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "msimg32" : "fallback";
                         });

// One copy per drawn size and way of drawing; none for an image at its own size; ever
// new sizes do not pile up copies.
TEST_P(UpdScaledImageTest, OneCopyPerSizeAndBounded)
{
    CPatternCanvas canvas;
    const RECT rcAll = { 0, 0, kCanvas, kCanvas };
    TImageRecUI* pFrame = m_manager.GetImageEx(L"down/frame.png");
    ASSERT_NE(pFrame, nullptr);
    CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, RECT{ 0, 0, 30, 30 }, rcAll, L"down/frame.png");
    EXPECT_EQ(pFrame->pScaled, nullptr) << "drawn at its own size: nothing to scale";
    for (int i = 0; i < 3; i++)
        CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, RECT{ i, i, 50 + i, 40 + i }, rcAll, L"down/frame.png");
    ASSERT_NE(pFrame->pScaled, nullptr);
    EXPECT_EQ(pFrame->pScaled->GetCount(), 1) << "one size, three places";
    CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, RECT{ 0, 0, 50, 40 }, rcAll,
                              L"file='down/frame.png' xtiled='true'");
    EXPECT_EQ(pFrame->pScaled->GetCount(), 2) << "a tiled drawing is a copy of its own";
    for (int cx = 10; cx < 110; cx++)
        CPainterUI::DrawImageDesc(canvas.DC(), &m_manager, RECT{ 0, 0, cx, 20 }, rcAll, L"down/frame.png");
    EXPECT_LE(pFrame->pScaled->GetCount(), 16);
    EXPECT_GE(pFrame->pScaled->GetCount(), 2);
}

} // namespace
