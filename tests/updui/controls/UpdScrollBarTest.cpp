#include "UpdControlsTestSupport.h"

using namespace UpdControlsTest;

namespace {

class CUpdScrollBar : public CControlsFixture
{
protected:
    // A stand-alone bar at fixed coordinates.
    CScrollBarUI* PlacedBar(LPCWSTR pstrPos, bool bHorizontal = false)
    {
        CScrollBarUI* pBar = new CScrollBarUI;
        pBar->SetHorizontal(bHorizontal);
        pBar->SetFloat(true);
        pBar->SetAttribute(L"pos", pstrPos);
        pRoot = new CContainerUI;
        pRoot->Add(pBar);
        Attach(pRoot);
        return pBar;
    }
    void Tick(CScrollBarUI* pBar, int nTimes)
    {
        for (int i = 0; i < nTimes; ++i) Deliver(pBar, EventTimer, 0, 0, CScrollBarUI::REPEAT_TIMER_KEY);
    }
    CContainerUI* pRoot = nullptr;
};

int Extent(const RECT& rc, bool bHorizontal)
{
    return bHorizontal ? rc.right - rc.left : rc.bottom - rc.top;
}

} // namespace

TEST(UpdScrollBarLayout, PartsForRangesAndLengths)
{
    struct Case
    {
        bool bHorizontal;
        int nLength;
        int nRange;
        int nPos;
        int nButton;
        int nThumbStart;
        int nThumb;
    } cases[] = {
        // 100 * (100 - 32) / (100 + 200) = 22.
        { false, 100, 200, 0, 16, 16, 22 },
        { true, 100, 200, 0, 16, 16, 22 },
        { false, 100, 200, 200, 16, 62, 22 },
        // No range: the thumb fills the track.
        { false, 100, 0, 0, 16, 16, 68 },
        // A huge range keeps at least a button-sized thumb.
        { false, 100, 100000, 100000, 16, 68, 16 },
        // Shorter than two buttons: half-size buttons and no thumb.
        { false, 20, 200, 0, 10, 0, 0 },
        { true, 30, 200, 0, 15, 0, 0 },
    };
    for (const Case& c : cases) {
        CScrollBarUI bar;
        bar.SetHorizontal(c.bHorizontal);
        bar.SetScrollRange(c.nRange);
        bar.SetScrollPos(c.nPos);
        RECT rc = c.bHorizontal ? RECT{ 0, 0, c.nLength, 16 } : RECT{ 0, 0, 16, c.nLength };
        bar.SetPos(rc);
        EXPECT_EQ(c.nButton, Extent(bar.GetButton1Rect(), c.bHorizontal)) << c.nLength << "/" << c.nRange;
        EXPECT_EQ(c.nButton, Extent(bar.GetButton2Rect(), c.bHorizontal)) << c.nLength << "/" << c.nRange;
        EXPECT_EQ(c.nThumb, Extent(bar.GetThumbRect(), c.bHorizontal)) << c.nLength << "/" << c.nRange;
        if (c.nThumb > 0) {
            RECT rcThumb = bar.GetThumbRect();
            EXPECT_EQ(c.nThumbStart, c.bHorizontal ? rcThumb.left : rcThumb.top) << c.nLength << "/" << c.nRange;
        }
    }
}

TEST(UpdScrollBarLayout, PositionIsKeptWithinTheRange)
{
    CScrollBarUI bar;
    bar.SetPos(RECT{ 0, 0, 16, 100 });
    bar.SetScrollRange(50);
    bar.SetScrollPos(80);
    EXPECT_EQ(50, bar.GetScrollPos());
    bar.SetScrollPos(-3);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetScrollPos(40);
    bar.SetScrollRange(-7);
    EXPECT_EQ(0, bar.GetScrollRange());
    EXPECT_EQ(0, bar.GetScrollPos());

    bar.SetAttribute(L"hor", L"true");
    EXPECT_EQ(0, bar.GetFixedWidth());
    EXPECT_EQ(16, bar.GetFixedHeight());
    bar.SetAttribute(L"thumbhotimage", L"file='t.png'");
    EXPECT_STREQ(L"file='t.png'", bar.GetPartImage(ScrollPartThumb, ScrollImageHot));
    bar.SetAttribute(L"linesize", L"5");
    EXPECT_EQ(5, bar.GetLineSize());
}

TEST_F(CUpdScrollBar, HoldingButtonTwoRepeatsAfterTheSixthTick)
{
    CScrollBarUI* pBar = PlacedBar(L"10,10,26,110");
    pBar->SetScrollRange(200);
    RECT rc2 = pBar->GetButton2Rect();
    int x = (rc2.left + rc2.right) / 2, y = (rc2.top + rc2.bottom) / 2;

    Send(WM_MOUSEMOVE, 0, x, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    EXPECT_EQ(8, pBar->GetScrollPos());
    EXPECT_EQ(1, log.Count(L"scroll"));
    EXPECT_NE(0u, pBar->GetButton2State() & UISTATE_PUSHED);

    Tick(pBar, 5);
    EXPECT_EQ(8, pBar->GetScrollPos());
    Tick(pBar, 1);
    EXPECT_EQ(16, pBar->GetScrollPos());
    Tick(pBar, 2);
    EXPECT_EQ(32, pBar->GetScrollPos());
    EXPECT_EQ(4, log.Count(L"scroll"));

    Send(WM_LBUTTONUP, 0, x, y);
    EXPECT_EQ(0u, pBar->GetButton2State() & UISTATE_PUSHED);
    // The release stopped the repeat timer.
    EXPECT_FALSE(manager->KillTimer(pBar, CScrollBarUI::REPEAT_TIMER_KEY));
    EXPECT_EQ(32, pBar->GetScrollPos());

    // Button 1 steps back the same way; the rail pages by the bar's height.
    RECT rc1 = pBar->GetButton1Rect();
    Click((rc1.left + rc1.right) / 2, (rc1.top + rc1.bottom) / 2);
    EXPECT_EQ(24, pBar->GetScrollPos());
    RECT rcThumb = pBar->GetThumbRect();
    Click(x, rcThumb.bottom + 1);
    EXPECT_EQ(124, pBar->GetScrollPos());
}

TEST_F(CUpdScrollBar, DraggedThumbMovesByItsShareOfTheFreeTrack)
{
    CScrollBarUI* pBar = PlacedBar(L"10,10,26,110");
    pBar->SetScrollRange(200);
    RECT rcThumb = pBar->GetThumbRect();
    int x = 18, y = (rcThumb.top + rcThumb.bottom) / 2;
    Send(WM_MOUSEMOVE, 0, x, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    EXPECT_NE(0u, pBar->GetThumbState() & UISTATE_CAPTURED);
    // Free track 100 - 32 - 22 = 46: 23 pixels are half the range.
    Send(WM_MOUSEMOVE, MK_LBUTTON, x, y + 23);
    Tick(pBar, 1);
    EXPECT_EQ(100, pBar->GetScrollPos());
    Send(WM_LBUTTONUP, 0, x, y + 23);
    EXPECT_EQ(0u, pBar->GetThumbState() & UISTATE_CAPTURED);
}

// With no range the thumb fills the whole track: dragging it has nowhere to go, and
// must not divide by the empty free track.
TEST_F(CUpdScrollBar, DraggingAThumbWithoutFreeTrackDoesNotMove)
{
    CScrollBarUI* pBar = PlacedBar(L"10,10,26,110");
    pBar->SetScrollRange(0);
    RECT rcThumb = pBar->GetThumbRect();
    ASSERT_EQ(68, rcThumb.bottom - rcThumb.top);
    Send(WM_MOUSEMOVE, 0, 18, 50);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 18, 50);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 18, 80);
    Tick(pBar, 1);
    EXPECT_EQ(0, pBar->GetScrollPos());
    Send(WM_LBUTTONUP, 0, 18, 80);
}

TEST_F(CUpdScrollBar, ContainerBarScrollsItsOwnerWithoutScrollNotifications)
{
    CVerticalLayoutUI* pLayout = new CVerticalLayoutUI;
    pLayout->EnableScrollBar(true, false);
    for (int i = 0; i < 10; ++i) {
        CControlUI* pChild = new CControlUI;
        pChild->SetFixedHeight(100);
        pLayout->Add(pChild);
    }
    Attach(pLayout);
    CScrollBarUI* pBar = pLayout->GetVerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pLayout, pBar->GetOwner());
    RECT rc2 = pBar->GetButton2Rect();
    Click((rc2.left + rc2.right) / 2, (rc2.top + rc2.bottom) / 2);
    EXPECT_GT(pLayout->GetScrollPos().cy, 0);
    EXPECT_EQ(pLayout->GetScrollPos().cy, pBar->GetScrollPos());
    EXPECT_EQ(0, log.Count(L"scroll"));
}

TEST_F(CUpdScrollBar, PartsWithoutImagesAreFramed)
{
    CScrollBarUI* pBar = PlacedBar(L"10,10,26,110");
    pBar->SetScrollRange(200);
    CDibCanvas canvas(100, 150);
    canvas.Paint(pRoot, RECT{ 0, 0, 100, 150 });
    const DWORD dwFrame = 0x85E4FF;
    EXPECT_EQ(dwFrame, canvas.Pixel(10, 10));
    EXPECT_EQ(dwFrame, canvas.Pixel(11, 18));
    EXPECT_EQ(dwFrame, canvas.Pixel(10, 109));
    RECT rcThumb = pBar->GetThumbRect();
    EXPECT_EQ(dwFrame, canvas.Pixel(10, rcThumb.top));
    EXPECT_NE(dwFrame, canvas.Pixel(18, 20));
}
