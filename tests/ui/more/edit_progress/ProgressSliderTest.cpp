#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "EditProgressTestKit.h"
#include "EditUI.h"
#include "ProgressUI.h"
#include "SkinBuilderUI.h"
#include "SliderUI.h"

namespace {

const DWORD kRed = 0xE00000;
const DWORD kBlue = 0x0000E0;
const DWORD kWhite = 0xFFFFFF;
const DWORD kFrame = 0x4EA0D1;

TEventRecUI MouseEvent(TEventTypeUI type, int x, int y)
{
    TEventRecUI e = {};
    e.type = type;
    e.mousePoint = POINT{ x, y };
    return e;
}

// A real window with a fresh manager per test; the root is a plain container in which
// the tests place their controls with SetPos.
class ProgressSliderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        sharedHost = new CTestHostWnd;
        sharedHost->Create(nullptr, L"progress host", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 300);
        redImage = WriteSolidBmp(L"lumora_progress_red.bmp", kRed);
        blueImage = WriteSolidBmp(L"lumora_progress_blue.bmp", kBlue);
    }
    static void TearDownTestSuite()
    {
        sharedHost->Reset(false);
        ::DestroyWindow(sharedHost->GetWindowHandle());
        delete sharedHost;
        sharedHost = nullptr;
        PumpMessages();
    }
    void SetUp() override
    {
        host = sharedHost;
        hwnd = host->GetWindowHandle();
        ASSERT_NE(nullptr, hwnd);
        ASSERT_FALSE(redImage.empty());
        host->Reset(true);
        root = new CContainerUI;
        pm().AttachRoot(root);
        LayOut(hwnd);
        host->log.records.clear();
    }
    void TearDown() override
    {
        ::ReleaseCapture();
        host->Reset(false);
        PumpMessages();
    }

    CWindowManagerUI& pm() { return *host->m_pm; }
    CNotifyLog& log() { return host->log; }

    // A floating child keeps the position it is given when the tree is laid out.
    template <class T> T* Place(RECT rc)
    {
        T* p = new T;
        p->SetFloat(true);
        p->SetFixedXY(SIZE{ rc.left, rc.top });
        p->SetFixedWidth(rc.right - rc.left);
        p->SetFixedHeight(rc.bottom - rc.top);
        root->Add(p);
        LayOut(hwnd);
        return p;
    }

    void SendMouse(UINT uMsg, int x, int y)
    {
        ::SendMessageW(hwnd, uMsg, uMsg == WM_LBUTTONDOWN || uMsg == WM_MOUSEMOVE ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }

    static CTestHostWnd* sharedHost;
    static std::wstring redImage;
    static std::wstring blueImage;
    CTestHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    CContainerUI* root = nullptr;
};

CTestHostWnd* ProgressSliderTest::sharedHost = nullptr;
std::wstring ProgressSliderTest::redImage;
std::wstring ProgressSliderTest::blueImage;

} // namespace

// ---------------------------------------------------------------------------------
// Progress bar

TEST(ProgressUI, DefaultsAndAttributes)
{
    CProgressUI bar;
    EXPECT_STREQ(L"ProgressUI", bar.GetControlClass());
    EXPECT_EQ(&bar, bar.GetInterface(L"Progress"));
    EXPECT_EQ(&bar, bar.GetInterface(L"Label"));
    EXPECT_EQ(nullptr, bar.GetInterface(L"Slider"));
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_SINGLELINE), bar.GetTextStyle());
    EXPECT_EQ(12, bar.GetFixedHeight());
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(0, bar.GetMinValue());
    EXPECT_EQ(100, bar.GetMaxValue());
    EXPECT_EQ(0, bar.GetValue());
    EXPECT_EQ(0, bar.GetSecondValue());

    bar.SetAttribute(L"min", L"-5");
    bar.SetAttribute(L"max", L"250");
    bar.SetAttribute(L"value", L"42");
    bar.SetAttribute(L"hor", L"false");
    bar.SetAttribute(L"fgimage", L"fg.png");
    bar.SetAttribute(L"fgimage2", L"fg2.png");
    bar.SetAttribute(L"text", L"42%"); // to the label
    EXPECT_EQ(-5, bar.GetMinValue());
    EXPECT_EQ(250, bar.GetMaxValue());
    EXPECT_EQ(42, bar.GetValue());
    EXPECT_FALSE(bar.IsHorizontal());
    EXPECT_STREQ(L"fg.png", bar.GetFgImage());
    EXPECT_STREQ(L"fg2.png", bar.GetFgImage2());
    EXPECT_STREQ(L"42%", bar.GetText().GetData());
    bar.SetAttribute(L"hor", L"true");
    EXPECT_TRUE(bar.IsHorizontal());
}

// The fore image is clipped to the filled part: from the left, or from the bottom.
TEST_F(ProgressSliderTest, ForeImageFillsTheValuesShare)
{
    struct Case
    {
        const char* what;
        bool horizontal;
        int min, max, value;
        int filled; // pixels along the bar
    } const cases[] = {
        { "half of 200", true, 0, 100, 50, 100 },
        { "empty", true, 0, 100, 0, 0 },
        { "full", true, 0, 100, 100, 200 },
        { "over the top is full", true, 0, 100, 150, 200 },
        { "below the bottom is empty", true, 0, 100, -20, 0 },
        { "negative range", true, -50, 50, 0, 100 },
        { "truncated", true, 0, 3, 1, 66 },
        { "vertical quarter", false, 0, 100, 25, 50 },
        { "vertical full", false, 0, 100, 100, 200 },
    };
    for (const Case& c : cases) {
        CProgressUI* bar =
            c.horizontal ? Place<CProgressUI>(RECT{ 0, 0, 200, 20 }) : Place<CProgressUI>(RECT{ 0, 0, 20, 200 });
        bar->SetHorizontal(c.horizontal);
        bar->SetMinValue(c.min);
        bar->SetMaxValue(c.max);
        bar->SetValue(c.value);
        bar->SetFgImage(redImage.c_str());
        CDibCanvas canvas(200, 200, RGB(255, 255, 255));
        bar->DoPaint(canvas.DC(), canvas.Rect());
        if (c.horizontal) {
            EXPECT_EQ(c.filled * 20, canvas.CountOf(RECT{ 0, 0, 200, 20 }, kRed)) << c.what;
            if (c.filled > 0) {
                EXPECT_EQ(kRed, canvas.Pixel(c.filled - 1, 10)) << c.what;
            }
            if (c.filled < 200) {
                EXPECT_EQ(kWhite, canvas.Pixel(c.filled, 10)) << c.what;
            }
        } else {
            EXPECT_EQ(c.filled * 20, canvas.CountOf(RECT{ 0, 0, 20, 200 }, kRed)) << c.what;
            if (c.filled > 0) {
                EXPECT_EQ(kRed, canvas.Pixel(10, 200 - c.filled)) << c.what;
            }
            if (c.filled < 200) {
                EXPECT_EQ(kWhite, canvas.Pixel(10, 199 - c.filled)) << c.what;
            }
        }
        EXPECT_EQ(0, canvas.CountOf(canvas.Rect(), kFrame)) << c.what;
        EXPECT_GE(bar->GetValue(), c.min) << c.what; // painting clamps the stored value
        EXPECT_LE(bar->GetValue(), c.max) << c.what;
        root->Remove(bar);
    }
}

TEST_F(ProgressSliderTest, SecondValueFillsBehindTheFirst)
{
    CProgressUI* bar = Place<CProgressUI>(RECT{ 0, 0, 200, 20 });
    bar->SetValue(25);
    bar->SetSecondValue(75);
    bar->SetFgImage(redImage.c_str());
    bar->SetFgImage2(blueImage.c_str());
    CDibCanvas canvas(200, 20, RGB(255, 255, 255));
    bar->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(kRed, canvas.Pixel(49, 10));
    EXPECT_EQ(kBlue, canvas.Pixel(50, 10));
    EXPECT_EQ(kBlue, canvas.Pixel(149, 10));
    EXPECT_EQ(kWhite, canvas.Pixel(150, 10));
}

// Without a drawable fore image the bar is a thin frame, and a broken description is
// not tried again.
TEST_F(ProgressSliderTest, MissingForeImageLeavesAFrame)
{
    CProgressUI* bar = Place<CProgressUI>(RECT{ 0, 0, 200, 20 });
    bar->SetValue(50);
    bar->SetFgImage(L"no-such-image.bmp");
    CDibCanvas canvas(200, 20, RGB(255, 255, 255));
    bar->DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_STREQ(L"", bar->GetFgImage());
    EXPECT_EQ(kFrame, canvas.Pixel(0, 10));
    EXPECT_EQ(kFrame, canvas.Pixel(199, 10));
    EXPECT_EQ(kFrame, canvas.Pixel(100, 0));
    EXPECT_EQ(kWhite, canvas.Pixel(1, 10));
}

TEST_F(ProgressSliderTest, EmptyRangeIsWidenedByPainting)
{
    struct Case
    {
        int min, max, value;
        int expectMax, expectValue;
    } const cases[] = {
        { 10, 10, 5, 11, 10 },
        { 10, 10, 20, 11, 11 },
        { 10, 3, 10, 11, 10 },
        { INT_MAX, INT_MAX, 0, INT_MAX, INT_MAX - 1 },
    };
    for (const Case& c : cases) {
        CProgressUI* bar = Place<CProgressUI>(RECT{ 0, 0, 200, 20 });
        bar->SetMinValue(c.min);
        bar->SetMaxValue(c.max);
        bar->SetValue(c.value);
        CDibCanvas canvas(200, 20, RGB(255, 255, 255));
        bar->DoPaint(canvas.DC(), canvas.Rect());
        EXPECT_EQ(c.expectMax, bar->GetMaxValue()) << c.min << ".." << c.max;
        EXPECT_EQ(c.expectValue, bar->GetValue()) << c.min << ".." << c.max;
        EXPECT_LT(bar->GetMinValue(), bar->GetMaxValue());
        root->Remove(bar);
    }
}

// ---------------------------------------------------------------------------------
// Slider geometry

TEST(SliderUI, DefaultsAndAttributes)
{
    CSliderUI slider;
    EXPECT_STREQ(L"SliderUI", slider.GetControlClass());
    EXPECT_EQ(&slider, slider.GetInterface(L"Slider"));
    EXPECT_EQ(&slider, slider.GetInterface(L"Progress"));
    EXPECT_EQ(&slider, slider.GetInterface(L"Label"));
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_SINGLELINE), slider.GetTextStyle());
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), slider.GetControlFlags());
    EXPECT_EQ(10, slider.GetThumbSize().cx);
    EXPECT_EQ(10, slider.GetThumbSize().cy);
    slider.SetAttribute(L"thumbsize", L"12,14");
    slider.SetAttribute(L"thumbimage", L"t.png");
    slider.SetAttribute(L"thumbhotimage", L"th.png");
    slider.SetAttribute(L"thumbpushedimage", L"tp.png");
    slider.SetAttribute(L"value", L"7"); // to the progress bar
    EXPECT_EQ(12, slider.GetThumbSize().cx);
    EXPECT_EQ(14, slider.GetThumbSize().cy);
    EXPECT_STREQ(L"t.png", slider.GetThumbImage());
    EXPECT_STREQ(L"th.png", slider.GetThumbHotImage());
    EXPECT_STREQ(L"tp.png", slider.GetThumbPushedImage());
    EXPECT_EQ(7, slider.GetValue());
    slider.SetEnabled(false);
    EXPECT_EQ(0u, slider.GetControlFlags());
}

TEST(SliderUI, ThumbRectFollowsTheValue)
{
    struct Case
    {
        bool horizontal;
        int value;
        RECT expect;
    } const cases[] = {
        { true, 0, { 10, 25, 20, 35 } }, // bar (10,20)-(210,40), thumb 10 x 10
        { true, 100, { 200, 25, 210, 35 } }, { true, 50, { 105, 25, 115, 35 } },
        { false, 0, { 15, 210, 25, 220 } }, // bar (10,20)-(30,220)
        { false, 100, { 15, 20, 25, 30 } },  { false, 50, { 15, 115, 25, 125 } },
    };
    for (const Case& c : cases) {
        CSliderUI slider;
        slider.SetHorizontal(c.horizontal);
        slider.SetPos(c.horizontal ? RECT{ 10, 20, 210, 40 } : RECT{ 10, 20, 30, 220 });
        slider.SetValue(c.value);
        const RECT rc = slider.GetThumbRect();
        EXPECT_EQ(c.expect.left, rc.left) << c.horizontal << " " << c.value;
        EXPECT_EQ(c.expect.top, rc.top) << c.horizontal << " " << c.value;
        EXPECT_EQ(c.expect.right, rc.right) << c.horizontal << " " << c.value;
        EXPECT_EQ(c.expect.bottom, rc.bottom) << c.horizontal << " " << c.value;
    }
}

TEST(SliderUI, ValueUnderThePointer)
{
    struct Case
    {
        bool horizontal;
        int along; // x for horizontal, y for vertical, on a 0..200 bar with a 10-pixel thumb
        int expect;
    } const cases[] = {
        { true, -30, 0 },  { true, 5, 0 },     { true, 6, 0 },     { true, 100, 50 },
        { true, 194, 99 }, { true, 195, 100 }, { true, 400, 100 }, { false, -30, 100 },
        { false, 5, 100 }, { false, 100, 50 }, { false, 195, 0 },  { false, 400, 0 },
    };
    for (const Case& c : cases) {
        CSliderUI slider;
        slider.SetHorizontal(c.horizontal);
        slider.SetPos(c.horizontal ? RECT{ 0, 0, 200, 20 } : RECT{ 0, 0, 20, 200 });
        const POINT pt = c.horizontal ? POINT{ c.along, 10 } : POINT{ 10, c.along };
        EXPECT_EQ(c.expect, slider.GetValueAt(pt)) << c.horizontal << " " << c.along;
    }
}

// Before the first paint the range may still be empty; the geometry must neither
// divide by zero nor leave the range.
TEST(SliderUI, EmptyRangeBeforePaintingIsSafe)
{
    CSliderUI slider;
    slider.SetPos(RECT{ 0, 0, 200, 20 });
    slider.SetMinValue(10);
    slider.SetMaxValue(10);
    slider.SetValue(10);
    EXPECT_EQ(0, slider.GetThumbRect().left);
    EXPECT_EQ(10, slider.GetValueAt(POINT{ 0, 10 }));
    EXPECT_EQ(11, slider.GetValueAt(POINT{ 200, 10 }));
    EXPECT_EQ(10, slider.GetValueAt(POINT{ 100, 10 }));

    // A slider no wider than its thumb has no track to divide by.
    slider.SetPos(RECT{ 0, 0, 10, 20 });
    for (int x = -2; x <= 12; x++) {
        const int v = slider.GetValueAt(POINT{ x, 10 });
        EXPECT_TRUE(v == 10 || v == 11) << x;
    }

    // A range as wide as an int can hold.
    slider.SetPos(RECT{ 0, 0, 200, 20 });
    slider.SetMinValue(INT_MIN);
    slider.SetMaxValue(INT_MAX);
    EXPECT_EQ(INT_MAX, slider.GetValueAt(POINT{ 200, 10 }));
    const int mid = slider.GetValueAt(POINT{ 100, 10 });
    EXPECT_GT(mid, INT_MIN / 4);
    EXPECT_LT(mid, INT_MAX / 4);
}

// ---------------------------------------------------------------------------------
// Slider with the mouse, through the window

TEST_F(ProgressSliderTest, DraggingAVerticalSliderReportsAndReleaseOutsideCommits)
{
    CSliderUI* slider = Place<CSliderUI>(RECT{ 100, 50, 120, 250 });
    slider->SetHorizontal(false);
    SendMouse(WM_MOUSEMOVE, 110, 245);
    SendMouse(WM_LBUTTONDOWN, 110, 245); // the bottom end
    EXPECT_EQ(0, slider->GetValue());
    EXPECT_NE(0u, slider->GetSliderState() & UISTATE_CAPTURED);
    EXPECT_EQ(0, log().Count(NotifyValueChanging));

    SendMouse(WM_MOUSEMOVE, 110, 150);
    EXPECT_EQ(50, slider->GetValue());
    SendMouse(WM_MOUSEMOVE, 110, 52); // the top end
    EXPECT_EQ(100, slider->GetValue());
    SendMouse(WM_MOUSEMOVE, 290, 10); // dragged off the slider: still tracking
    EXPECT_EQ(100, slider->GetValue());
    EXPECT_EQ(3, log().Count(NotifyValueChanging, slider));
    EXPECT_EQ(0, log().Count(NotifyValueChanged));

    SendMouse(WM_LBUTTONUP, 290, 10);
    EXPECT_EQ(1, log().Count(NotifyValueChanged, slider));
    EXPECT_EQ(0u, slider->GetSliderState() & UISTATE_CAPTURED);
    EXPECT_EQ(100, slider->GetValue());
    PumpMessages();
}

TEST_F(ProgressSliderTest, HoveringReportsTheValueWithoutRepainting)
{
    CSliderUI* slider = Place<CSliderUI>(RECT{ 0, 100, 200, 120 });
    slider->SetValue(30);
    SendMouse(WM_MOUSEMOVE, 5, 110); // enters: hot, repainted
    EXPECT_NE(0u, slider->GetSliderState() & UISTATE_HOT);
    ::ValidateRect(hwnd, nullptr);
    log().records.clear();

    const int xs[] = { 100, 150, 195 };
    const int values[] = { 50, 76, 100 };
    for (int i = 0; i < 3; i++) {
        SendMouse(WM_MOUSEMOVE, xs[i], 110);
        const TNotifyRecUI* rec = log().Last(NotifyHoverValue);
        ASSERT_NE(nullptr, rec);
        EXPECT_EQ(slider, rec->sender);
        EXPECT_EQ(values[i], static_cast<int>(rec->lParam));
    }
    EXPECT_EQ(3, log().Count(NotifyHoverValue));
    EXPECT_EQ(0, log().Count(NotifyValueChanging));
    EXPECT_EQ(30, slider->GetValue());
    RECT rcUpdate = {};
    EXPECT_FALSE(::GetUpdateRect(hwnd, &rcUpdate, FALSE));

    SendMouse(WM_MOUSEMOVE, 250, 250); // leaves
    EXPECT_EQ(0u, slider->GetSliderState() & UISTATE_HOT);
}

TEST_F(ProgressSliderTest, DisabledSliderIgnoresPresses)
{
    CSliderUI* slider = Place<CSliderUI>(RECT{ 0, 100, 200, 120 });
    slider->SetValue(30);
    SendMouse(WM_MOUSEMOVE, 100, 110);
    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetSliderState());
    SendMouse(WM_LBUTTONDOWN, 150, 110);
    SendMouse(WM_LBUTTONUP, 150, 110);
    EXPECT_EQ(30, slider->GetValue());
    EXPECT_EQ(0, log().Count(NotifyValueChanged));
}

// The thumb image is drawn over the bar at the thumb rectangle; pressed and hot images
// take its place in those states.
TEST_F(ProgressSliderTest, ThumbImageFollowsTheStateAndPosition)
{
    CSliderUI* slider = Place<CSliderUI>(RECT{ 0, 0, 200, 20 });
    slider->SetValue(50);
    slider->SetThumbImage(redImage.c_str());
    slider->SetThumbPushedImage(blueImage.c_str());
    {
        CDibCanvas canvas(200, 20, RGB(255, 255, 255));
        slider->DoPaint(canvas.DC(), canvas.Rect());
        EXPECT_EQ(100, canvas.CountOf(RECT{ 95, 5, 105, 15 }, kRed));
        EXPECT_EQ(100, canvas.CountOf(canvas.Rect(), kRed));
    }
    TEventRecUI down = MouseEvent(EventButtonDown, 100, 10);
    slider->DoEvent(down);
    {
        CDibCanvas canvas(200, 20, RGB(255, 255, 255));
        slider->DoPaint(canvas.DC(), canvas.Rect());
        EXPECT_EQ(100, canvas.CountOf(canvas.Rect(), kBlue));
        EXPECT_EQ(0, canvas.CountOf(canvas.Rect(), kRed));
    }
    TEventRecUI up = MouseEvent(EventButtonUp, 100, 10);
    slider->DoEvent(up);
    // A hot image that cannot be drawn is forgotten; the plain thumb stands in.
    slider->SetThumbHotImage(L"no-such-thumb.bmp");
    TEventRecUI enter = MouseEvent(EventMouseEnter, 100, 10);
    slider->DoEvent(enter);
    {
        CDibCanvas canvas(200, 20, RGB(255, 255, 255));
        slider->DoPaint(canvas.DC(), canvas.Rect());
        EXPECT_EQ(100, canvas.CountOf(canvas.Rect(), kRed));
        EXPECT_STREQ(L"", slider->GetThumbHotImage());
    }
}

// A mouse-disabled slider hands mouse events to its parent and keeps its value.
TEST_F(ProgressSliderTest, MouseDisabledSliderPassesMouseToTheParent)
{
    CSliderUI* slider = Place<CSliderUI>(RECT{ 0, 0, 200, 20 });
    slider->SetMouseEnabled(false);
    TEventRecUI down = MouseEvent(EventButtonDown, 150, 10);
    slider->DoEvent(down);
    TEventRecUI move = MouseEvent(EventMouseMove, 100, 10);
    slider->DoEvent(move);
    EXPECT_EQ(0, slider->GetValue());
    EXPECT_EQ(0u, slider->GetSliderState());
    EXPECT_EQ(0, log().Count(NotifyHoverValue));
}

// ---------------------------------------------------------------------------------
// Skin markup

TEST_F(ProgressSliderTest, SkinTagsBuildTheControls)
{
    CSkinBuilderUI builder;
    CControlUI* tree = builder.Build(nullptr,
                                     L"<Window><VerticalLayout>"
                                     L"<Edit name=\"e\" password=\"true\" numonly=\"true\" text=\"12\" />"
                                     L"<Progress name=\"p\" min=\"5\" max=\"50\" value=\"20\" hor=\"false\" />"
                                     L"<Slider name=\"s\" thumbsize=\"8,16\" value=\"3\" />"
                                     L"</VerticalLayout></Window>",
                                     nullptr, nullptr, &pm());
    ASSERT_NE(nullptr, tree);
    pm().AttachRoot(tree);
    PumpMessages();
    CEditUI* edit = static_cast<CEditUI*>(pm().FindControl(L"e")->GetInterface(L"Edit"));
    CProgressUI* progress = static_cast<CProgressUI*>(pm().FindControl(L"p")->GetInterface(L"Progress"));
    CSliderUI* slider = static_cast<CSliderUI*>(pm().FindControl(L"s")->GetInterface(L"Slider"));
    ASSERT_NE(nullptr, edit);
    ASSERT_NE(nullptr, progress);
    ASSERT_NE(nullptr, slider);
    EXPECT_TRUE(edit->IsPasswordMode());
    EXPECT_TRUE(edit->IsNumberOnly());
    EXPECT_STREQ(L"12", edit->GetText().GetData());
    EXPECT_FALSE(progress->IsHorizontal());
    EXPECT_EQ(5, progress->GetMinValue());
    EXPECT_EQ(50, progress->GetMaxValue());
    EXPECT_EQ(20, progress->GetValue());
    EXPECT_STREQ(L"SliderUI", slider->GetControlClass());
    EXPECT_EQ(16, slider->GetThumbSize().cy);
    EXPECT_EQ(3, slider->GetValue());
}
