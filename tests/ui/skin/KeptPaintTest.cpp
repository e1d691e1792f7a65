// A control tree that keeps what its images and texts made of the pixels under them:
// every later paint, whole or of one part, must give the very pixels a tree drawing
// everything afresh gives, also after a text, an image or the pixels under them changed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ControlUI.h"
#include "DibCanvas.h"
#include "SkinBuilderUI.h"
#include "SkinTestPaths.h"
#include "WindowManagerUI.h"

namespace {

const int kWidth = 240;
const int kHeight = 180;

const wchar_t kMarkup[] =
    L"<Window size=\"240,180\">"
    L"<Font name=\"Tahoma\" size=\"12\" default=\"true\"/>"
    L"<VerticalLayout name=\"root\" bkimage=\"backdrop.png\" inset=\"6,6,6,6\" childpadding=\"4\">"
    L"<VerticalLayout name=\"card\" height=\"130\" inset=\"4,4,4,4\" childpadding=\"4\" bkcolor=\"#A0F0F0F0\" "
    L"bkimage=\"file='framea.png' corner='3,3,3,3'\">"
    L"<Control name=\"thumb\" height=\"60\" bkimage=\"file='backdrop.png' fade='230'\" bordersize=\"1\" "
    L"bordercolor=\"#FFD0D0D0\"/>"
    L"<Label name=\"title\" height=\"20\" text=\"视频标题 1 &amp; 第 2 集\" textcolor=\"#FF202020\"/>"
    L"<Text name=\"info\" height=\"20\" showhtml=\"true\" text=\"&lt;c #FF888888&gt;播放 3.4万&lt;/c&gt; "
    L"&lt;i frames.png 2&gt;\"/>"
    L"</VerticalLayout>"
    L"<Label name=\"status\" text=\"就绪\" textcolor=\"#FF606060\"/>"
    L"</VerticalLayout>"
    L"</Window>";

// One tree built from the markup on a hidden window's manager.
class CTree
{
public:
    CTree()
    {
        m_hWnd =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
        m_manager.Init(m_hWnd);
        m_manager.SetSkinFile(TestSkinFile().c_str());
        CSkinBuilderUI builder;
        m_pRoot = builder.Build(nullptr, kMarkup, nullptr, nullptr, &m_manager);
        if (m_pRoot == nullptr) return;
        m_manager.AttachRoot(m_pRoot);
        Layout();
    }
    ~CTree()
    {
        if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
    }
    CTree(const CTree&) = delete;
    CTree& operator=(const CTree&) = delete;

    bool IsBuilt() const { return m_pRoot != nullptr; }
    CControlUI* Find(LPCWSTR pstrName) { return m_manager.FindControl(pstrName); }
    // Places the tree again, as a paint after a change does.
    void Layout() { m_pRoot->SetPos(RECT{ 0, 0, kWidth, kHeight }); }
    void Paint(CDibCanvas& canvas, const RECT& rcPaint) { m_pRoot->DoPaint(canvas.DC(), rcPaint); }

private:
    HWND m_hWnd = nullptr;
    CWindowManagerUI m_manager;
    CControlUI* m_pRoot = nullptr;
};

// The first differing pixel as "x,y", or empty when both canvases hold the same picture.
std::string FirstDifference(const CDibCanvas& a, const CDibCanvas& b)
{
    GdiFlush();
    for (int y = 0; y < kHeight; y++)
        for (int x = 0; x < kWidth; x++)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
    return std::string();
}

struct TChangeCase
{
    const char* pstrWhat;
    std::function<void(CTree&)> change;
};

const TChangeCase kChanges[] = {
    { "nothing", [](CTree&) {} },
    { "a label's text", [](CTree& t) { t.Find(L"title")->SetText(L"视频标题 9 & 第 8 集"); } },
    { "a tagged text", [](CTree& t) { t.Find(L"info")->SetText(L"<c #FF204080>播放 7.1万</c> <i frames.png 1>"); } },
    { "a label's colour", [](CTree& t) { t.Find(L"title")->SetAttribute(L"textcolor", L"#FFC02020"); } },
    { "a translucent colour", [](CTree& t) { t.Find(L"card")->SetBkColor(0x80102030); } },
    { "an image", [](CTree& t) { t.Find(L"thumb")->SetBkImage(L"file='backdrop.png' fade='120'"); } },
    { "the pixels under the card", [](CTree& t) { t.Find(L"root")->SetBkImage(L"file='backdrop.png' fade='160'"); } },
    { "the pixels under a text", [](CTree& t) { t.Find(L"card")->SetBkImage(L"file='frame.png' corner='3,3,3,3'"); } },
    { "the control's size", [](CTree& t) { t.Find(L"card")->SetFixedHeight(120); } },
};

class KeptPaint : public ::testing::TestWithParam<TChangeCase>
{ };

// Three whole paints make the kept results and use them; the change comes before the
// fourth, which must show what a tree drawn afresh with the change shows.
TEST_P(KeptPaint, RepaintsEqualAFreshTree)
{
    const TChangeCase& c = GetParam();
    CTree kept, fresh;
    ASSERT_TRUE(kept.IsBuilt() && fresh.IsBuilt());
    CDibCanvas canvas(kWidth, kHeight), expected(kWidth, kHeight);
    const RECT rcAll = { 0, 0, kWidth, kHeight };
    // Each paint starts from black, as the fresh tree's does: a translucent root shows what lies under it.
    for (int i = 0; i < 3; i++) {
        canvas.Fill(0);
        kept.Paint(canvas, rcAll);
    }
    fresh.Paint(expected, rcAll);
    ASSERT_EQ(FirstDifference(expected, canvas), "") << "before the change";

    c.change(kept);
    kept.Layout();
    CDibCanvas fromScratch(kWidth, kHeight);
    CTree fresher;
    c.change(fresher);
    fresher.Layout();
    fresher.Paint(fromScratch, rcAll);
    for (int i = 0; i < 2; i++) {
        canvas.Fill(0);
        kept.Paint(canvas, rcAll);
        EXPECT_EQ(FirstDifference(fromScratch, canvas), "") << c.pstrWhat << ", paint " << i + 4;
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, KeptPaint, ::testing::ValuesIn(kChanges));

// A paint of a part over the whole picture leaves the same picture as a whole paint,
// whether the part cuts the card's controls or holds them whole.
TEST(KeptPaintParts, PartialRepaintEqualsTheWholePaint)
{
    CTree tree;
    ASSERT_TRUE(tree.IsBuilt());
    CDibCanvas whole(kWidth, kHeight), canvas(kWidth, kHeight);
    const RECT rcAll = { 0, 0, kWidth, kHeight };
    for (int i = 0; i < 3; i++) tree.Paint(whole, rcAll);
    const RECT rcCard = tree.Find(L"card")->GetPos();
    const RECT kParts[] = { rcCard, { 0, 0, 80, 60 }, { 30, 40, 200, 100 }, tree.Find(L"title")->GetPos() };
    for (const RECT& rcPart : kParts) {
        for (int i = 0; i < 3; i++) tree.Paint(canvas, rcAll);
        // Scribble over the part, so only a real repaint can bring the picture back.
        HBRUSH hBrush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(canvas.DC(), &rcPart, hBrush);
        DeleteObject(hBrush);
        for (int i = 0; i < 2; i++) tree.Paint(canvas, rcPart);
        EXPECT_EQ(FirstDifference(whole, canvas), "")
            << "part " << rcPart.left << "," << rcPart.top << "," << rcPart.right << "," << rcPart.bottom;
    }
}

} // namespace
