#include "UpdControlsTestSupport.h"

using namespace UpdControlsTest;

namespace {

class CUpdProgress : public CControlsFixture
{
protected:
    template <class T> T* PlacedIn(LPCWSTR pstrPos)
    {
        T* pControl = new T;
        pControl->SetFloat(true);
        pControl->SetAttribute(L"pos", pstrPos);
        pRoot = new CContainerUI;
        pRoot->Add(pControl);
        Attach(pRoot);
        return pControl;
    }
    CContainerUI* pRoot = nullptr;
};

} // namespace

TEST_F(CUpdProgress, FilledPartAndRangeRepairAtPaintTime)
{
    struct Case
    {
        bool bHorizontal;
        int nMin, nMax, nValue;
        RECT rcFilled;
        int nMaxAfter, nValueAfter;
    } cases[] = {
        { true, 0, 100, 50, { 0, 0, 100, 12 }, 100, 50 },   { true, 10, 10, 10, { 0, 0, 0, 12 }, 11, 10 },
        { true, 0, 100, 150, { 0, 0, 200, 12 }, 100, 100 }, { true, 0, 100, -5, { 0, 0, 0, 12 }, 100, 0 },
        { false, 0, 100, 50, { 0, 6, 200, 12 }, 100, 50 },  { false, 0, 3, 1, { 0, 8, 200, 12 }, 3, 1 },
    };
    CProgressUI* pProgress = PlacedIn<CProgressUI>(L"10,10,210,22");
    for (const Case& c : cases) {
        pProgress->SetHorizontal(c.bHorizontal);
        pProgress->SetMinValue(c.nMin);
        pProgress->SetMaxValue(c.nMax);
        pProgress->SetValue(c.nValue);
        PaintNow(hWnd);
        RECT rc = pProgress->GetFilledRect();
        EXPECT_EQ(c.rcFilled.left, rc.left) << c.nMin << ".." << c.nMax << " @" << c.nValue;
        EXPECT_EQ(c.rcFilled.top, rc.top) << c.nMin << ".." << c.nMax << " @" << c.nValue;
        EXPECT_EQ(c.rcFilled.right, rc.right) << c.nMin << ".." << c.nMax << " @" << c.nValue;
        EXPECT_EQ(c.rcFilled.bottom, rc.bottom) << c.nMin << ".." << c.nMax << " @" << c.nValue;
        EXPECT_EQ(c.nMaxAfter, pProgress->GetMaxValue());
        EXPECT_EQ(c.nValueAfter, pProgress->GetValue());
    }
    EXPECT_EQ(12, pProgress->GetFixedHeight());
}

// The fore image is squeezed into the filled part, or with "isstretchfore" false cut at
// it: a 200-pixel image, left half red and right half blue, half filled.
TEST_F(CUpdProgress, StretchedOrCutForeImage)
{
    std::wstring sFolder = MakeTempFolder(L"updprogress");
    ASSERT_TRUE(WriteBmp(sFolder + L"fore.bmp", 200, 12, [](int x, int) { return x < 100 ? 0xFF0000u : 0x0000FFu; }));
    CWindowManagerUI::SetResourcePath(sFolder.c_str());
    CProgressUI* pProgress = PlacedIn<CProgressUI>(L"0,0,200,12");
    pProgress->SetAttribute(L"foreimage", L"fore.bmp");
    pProgress->SetAttribute(L"value", L"50");
    pProgress->SetBkColor(0xFFFFFFFF);
    RECT rcAll = { 0, 0, 300, 50 };

    CDibCanvas stretched(300, 50);
    stretched.Paint(pRoot, rcAll);
    EXPECT_EQ(0xFF0000u, stretched.Pixel(20, 6));
    EXPECT_EQ(0x0000FFu, stretched.Pixel(80, 6));
    EXPECT_EQ(0xFFFFFFu, stretched.Pixel(150, 6));

    pProgress->SetAttribute(L"isstretchfore", L"false");
    CDibCanvas cut(300, 50);
    cut.Paint(pRoot, rcAll);
    EXPECT_EQ(0xFF0000u, cut.Pixel(20, 6));
    EXPECT_EQ(0xFF0000u, cut.Pixel(80, 6));
    EXPECT_EQ(0xFFFFFFu, cut.Pixel(150, 6));
    CWindowManagerUI::SetResourcePath(L"");
}

TEST_F(CUpdProgress, WheelStepsAreStoredRawAndClampedWhenPainted)
{
    CSliderUI* pSlider = PlacedIn<CSliderUI>(L"10,10,210,30");
    pSlider->SetAttribute(L"step", L"30");
    pSlider->SetValue(90);
    Deliver(pSlider, EventScrollWheel, 50, 20, 0);
    EXPECT_EQ(120, pSlider->GetValue());
    EXPECT_EQ(1, log.Count(L"valuechanged"));
    PaintNow(hWnd);
    EXPECT_EQ(100, pSlider->GetValue());
    Deliver(pSlider, EventScrollWheel, 50, 20, 1);
    EXPECT_EQ(70, pSlider->GetValue());
    EXPECT_EQ(2, log.Count(L"valuechanged"));
}

TEST_F(CUpdProgress, ThumbFollowsTheDragAndReportsOnRelease)
{
    CSliderUI* pSlider = PlacedIn<CSliderUI>(L"10,10,210,30");
    pSlider->SetAttribute(L"thumbsize", L"10,10");
    // Thumb of value 0: left edge of the track, vertically centred.
    RECT rcThumb = pSlider->GetThumbRect();
    EXPECT_EQ(10, rcThumb.left);
    EXPECT_EQ(15, rcThumb.top);
    EXPECT_EQ(20, rcThumb.right);

    Send(WM_MOUSEMOVE, 0, 14, 20);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 14, 20);
    EXPECT_NE(0u, pSlider->GetButtonState() & UISTATE_CAPTURED);
    // The middle of the track: 5 + (110 - 5 - 10) * 100 / 190 = 50.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 110, 20);
    EXPECT_EQ(50, pSlider->GetValue());
    EXPECT_EQ(0, log.Count(L"valuechanged"));
    Send(WM_MOUSEMOVE, MK_LBUTTON, 300, 20);
    EXPECT_EQ(100, pSlider->GetValue());
    Send(WM_LBUTTONUP, 0, 12, 20);
    EXPECT_EQ(0, pSlider->GetValue());
    EXPECT_EQ(1, log.Count(L"valuechanged"));
    EXPECT_EQ(0u, pSlider->GetButtonState() & UISTATE_CAPTURED);

    // A vertical slider counts from the bottom.
    pSlider->SetHorizontal(false);
    pSlider->SetValue(100);
    RECT rcTop = pSlider->GetThumbRect();
    EXPECT_EQ(10, rcTop.top);
}

// A disabled slider shows its value but a click or the wheel does not change it.
TEST_F(CUpdProgress, DisabledSliderIgnoresReleaseAndWheel)
{
    CSliderUI* pSlider = PlacedIn<CSliderUI>(L"10,10,210,30");
    pSlider->SetValue(40);
    pSlider->SetEnabled(false);
    Click(200, 20);
    Deliver(pSlider, EventScrollWheel, 50, 20, 0);
    EXPECT_EQ(40, pSlider->GetValue());
    EXPECT_EQ(0, log.Count(L"valuechanged"));
    EXPECT_EQ(0u, pSlider->GetControlFlags());
}
