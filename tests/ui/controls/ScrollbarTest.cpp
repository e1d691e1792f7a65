#include <gtest/gtest.h>

#include "ControlStateUI.h"
#include "DibCanvas.h"
#include "RectAssertions.h"
#include "ScrollbarUI.h"
#include "VerticalLayoutUI.h"

namespace {

TEventRecUI MouseEvent(TEventTypeUI type, int x, int y)
{
    TEventRecUI e = {};
    e.type = type;
    e.mousePoint = POINT{ x, y };
    return e;
}

TEventRecUI RepeatTick()
{
    TEventRecUI e = {};
    e.type = EventTimer;
    e.wParam = CScrollbarUI::REPEAT_TIMER_KEY;
    return e;
}

// RGB of the fallback frame colour 0xFF85E4FF, as the canvas reads it (0xRRGGBB).
const DWORD kFrame = 0x85E4FF;
const DWORD kWhite = 0xFFFFFF;

} // namespace

// Thumb length = height * track / (range + height), at least the button size, placed
// by position / range along the track.
TEST(ScrollbarUI, PartGeometry)
{
    struct Case
    {
        bool horizontal;
        int length;
        int range;
        int pos;
        int thumbStart, thumbEnd;
    } const cases[] = {
        { false, 200, 100, 0, 16, 128 },                                    // 200 * 168 / 300 = 112
        { false, 200, 100, 100, 72, 184 },                                  // at the end it touches button2
        { false, 200, 100, 50, 44, 156 },    { false, 200, 0, 0, 16, 184 }, // range 0: the thumb fills the track
        { false, 200, 100000, 500, 16, 32 },                                // never shorter than a button
        { true, 300, 300, 150, 83, 217 },                                   // 300 * 268 / 600 = 134
    };
    for (const Case& c : cases) {
        CScrollbarUI bar;
        bar.SetHorizontal(c.horizontal);
        bar.SetScrollRange(c.range);
        bar.SetScrollPos(c.pos);
        if (c.horizontal) {
            bar.SetPos(RECT{ 0, 0, c.length, 16 });
            EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 16, 16));
            EXPECT_TRUE(RectIs(bar.GetButton2Rect(), c.length - 16, 0, c.length, 16));
            EXPECT_TRUE(RectIs(bar.GetThumbRect(), c.thumbStart, 0, c.thumbEnd, 16)) << c.range << "/" << c.pos;
        } else {
            bar.SetPos(RECT{ 10, 0, 26, c.length });
            EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 10, 0, 26, 16));
            EXPECT_TRUE(RectIs(bar.GetButton2Rect(), 10, c.length - 16, 26, c.length));
            EXPECT_TRUE(RectIs(bar.GetThumbRect(), 10, c.thumbStart, 26, c.thumbEnd)) << c.range << "/" << c.pos;
        }
    }
}

// A 40 high bar has a track of 8, not more than the button size: the buttons share
// the height and there is no thumb.
TEST(ScrollbarUI, TooShortForAThumb)
{
    CScrollbarUI bar;
    bar.SetPos(RECT{ 0, 0, 16, 40 });
    EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 16, 16));
    EXPECT_TRUE(RectIs(bar.GetButton2Rect(), 0, 24, 16, 40));
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 0, 0, 0));
    bar.SetPos(RECT{ 0, 0, 16, 20 });
    EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 16, 10));
    EXPECT_TRUE(RectIs(bar.GetButton2Rect(), 0, 10, 16, 20));
}

TEST(ScrollbarUI, RangeAndPositionAreClamped)
{
    CScrollbarUI bar;
    bar.SetPos(RECT{ 0, 0, 16, 200 });
    bar.SetScrollPos(-5);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetScrollPos(500);
    EXPECT_EQ(100, bar.GetScrollPos());
    bar.SetScrollPos(50);
    bar.SetScrollRange(10);
    EXPECT_EQ(10, bar.GetScrollPos());
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 24, 16, 184)); // parts recomputed: 200 * 168 / 210
    bar.SetScrollRange(-20);
    EXPECT_EQ(0, bar.GetScrollRange());
    EXPECT_EQ(0, bar.GetScrollPos());

    bar.SetAttribute(L"range", L"300");
    bar.SetAttribute(L"value", L"120");
    bar.SetAttribute(L"linesize", L"12");
    EXPECT_EQ(300, bar.GetScrollRange());
    EXPECT_EQ(120, bar.GetScrollPos());
    EXPECT_EQ(12, bar.GetLineSize());

    bar.SetAttribute(L"hor", L"true");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(0, bar.GetFixedWidth());
    EXPECT_EQ(16, bar.GetFixedHeight());
    bar.SetAttribute(L"hor", L"false");
    EXPECT_EQ(16, bar.GetFixedWidth());
    EXPECT_EQ(0, bar.GetFixedHeight());
}

// Holding button2 scrolls once on the press and again on every repeat tick from the
// sixth on; releasing stops it.
TEST(ScrollbarUI, ButtonAutoRepeatsFromTheSixthTick)
{
    CScrollbarUI bar;
    bar.SetScrollRange(1000);
    bar.SetPos(RECT{ 0, 0, 16, 200 });
    TEventRecUI down = MouseEvent(EventButtonDown, 8, 190);
    bar.DoEvent(down);
    EXPECT_EQ(8, bar.GetScrollPos());
    EXPECT_NE(0u, bar.GetButton2State() & UISTATE_PUSHED);

    for (int tick = 1; tick <= 5; tick++) {
        TEventRecUI t = RepeatTick();
        bar.DoEvent(t);
        EXPECT_EQ(8, bar.GetScrollPos()) << "tick " << tick;
    }
    TEventRecUI sixth = RepeatTick();
    bar.DoEvent(sixth);
    EXPECT_EQ(16, bar.GetScrollPos());
    TEventRecUI seventh = RepeatTick();
    bar.DoEvent(seventh);
    EXPECT_EQ(24, bar.GetScrollPos());

    TEventRecUI up = MouseEvent(EventButtonUp, 8, 190);
    bar.DoEvent(up);
    EXPECT_EQ(0u, bar.GetButton2State() & UISTATE_PUSHED);
    for (int tick = 0; tick < 8; tick++) {
        TEventRecUI t = RepeatTick();
        bar.DoEvent(t);
    }
    EXPECT_EQ(24, bar.GetScrollPos());

    // button1 goes back by the line size; a timer event of another key is not ours.
    TEventRecUI down1 = MouseEvent(EventButtonDown, 8, 5);
    bar.DoEvent(down1);
    EXPECT_EQ(16, bar.GetScrollPos());
    TEventRecUI other = RepeatTick();
    other.wParam = 3;
    for (int i = 0; i < 8; i++) bar.DoEvent(other);
    EXPECT_EQ(16, bar.GetScrollPos());
}

// Clicking the rail pages by the bar's length; level with the thumb nothing happens.
TEST(ScrollbarUI, RailPagesWithoutOwner)
{
    CScrollbarUI bar;
    bar.SetScrollRange(1000);
    bar.SetPos(RECT{ 0, 0, 16, 200 });
    TEventRecUI below = MouseEvent(EventButtonDown, 8, 150);
    bar.DoEvent(below);
    EXPECT_EQ(200, bar.GetScrollPos());
    TEventRecUI up = MouseEvent(EventButtonUp, 8, 150);
    bar.DoEvent(up);
    const RECT thumb = bar.GetThumbRect();
    TEventRecUI onThumbLevel = MouseEvent(EventButtonDown, 8, thumb.top);
    bar.DoEvent(onThumbLevel); // grabs the thumb
    bar.DoEvent(up);
    EXPECT_EQ(200, bar.GetScrollPos());
    TEventRecUI above = MouseEvent(EventButtonDown, 8, thumb.top - 1);
    bar.DoEvent(above);
    EXPECT_EQ(0, bar.GetScrollPos());
}

// The drag offset is the mouse travel scaled by the track less the thumb; it is
// applied on the next repeat tick.
TEST(ScrollbarUI, ThumbDragScrollsOnTheTick)
{
    CScrollbarUI bar;
    bar.SetPos(RECT{ 0, 0, 16, 200 }); // range 100: thumb 16..128, room 56
    TEventRecUI down = MouseEvent(EventButtonDown, 8, 20);
    bar.DoEvent(down);
    EXPECT_EQ(UISTATE_CAPTURED | UISTATE_PUSHED, bar.GetThumbState() & (UISTATE_CAPTURED | UISTATE_PUSHED));
    TEventRecUI move = MouseEvent(EventMouseMove, 8, 48);
    bar.DoEvent(move);
    EXPECT_EQ(0, bar.GetScrollPos());
    TEventRecUI tick = RepeatTick();
    bar.DoEvent(tick);
    EXPECT_EQ(50, bar.GetScrollPos());
    TEventRecUI beyond = MouseEvent(EventMouseMove, 8, 500);
    bar.DoEvent(beyond);
    bar.DoEvent(tick);
    EXPECT_EQ(100, bar.GetScrollPos());
    TEventRecUI up = MouseEvent(EventButtonUp, 8, 500);
    bar.DoEvent(up);
    EXPECT_EQ(0u, bar.GetThumbState() & (UISTATE_CAPTURED | UISTATE_PUSHED));

    // Range 0: the thumb fills the track, there is no room to drag in.
    CScrollbarUI full;
    full.SetScrollRange(0);
    full.SetPos(RECT{ 0, 0, 16, 200 });
    TEventRecUI grab = MouseEvent(EventButtonDown, 8, 100);
    full.DoEvent(grab);
    TEventRecUI drag = MouseEvent(EventMouseMove, 8, 150);
    full.DoEvent(drag);
    full.DoEvent(tick);
    EXPECT_EQ(0, full.GetScrollPos());
}

// With an owner the bar scrolls the owner: buttons by the owner's line, the rail by its
// page, the thumb through the owner's SetScrollPos.
TEST(ScrollbarUI, OwnerIsScrolled)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    for (int i = 0; i < 10; i++) {
        CControlUI* child = new CControlUI;
        child->SetFixedHeight(50);
        layout.Add(child);
    }
    layout.SetPos(RECT{ 0, 0, 100, 200 });
    CScrollbarUI* bar = layout.GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    ASSERT_EQ(&layout, bar->GetOwner());
    EXPECT_EQ(300, bar->GetScrollRange());

    TEventRecUI down2 = MouseEvent(EventButtonDown, 92, 195);
    bar->DoEvent(down2);
    EXPECT_EQ(8, layout.GetScrollPos().cy); // a line without a manager is 8
    EXPECT_EQ(-8, layout.GetItemAt(0)->GetPos().top);
    TEventRecUI up = MouseEvent(EventButtonUp, 92, 195);
    bar->DoEvent(up);

    TEventRecUI rail = MouseEvent(EventButtonDown, 92, 180);
    bar->DoEvent(rail);
    EXPECT_EQ(208, layout.GetScrollPos().cy); // a page is the layout's height
    bar->DoEvent(up);

    const RECT thumb = bar->GetThumbRect();
    TEventRecUI grab = MouseEvent(EventButtonDown, 92, thumb.top + 1);
    bar->DoEvent(grab);
    TEventRecUI drag = MouseEvent(EventMouseMove, 92, 0);
    bar->DoEvent(drag);
    TEventRecUI tick = RepeatTick();
    bar->DoEvent(tick);
    EXPECT_EQ(0, layout.GetScrollPos().cy);
    EXPECT_EQ(0, layout.GetItemAt(0)->GetPos().top);
    bar->DoEvent(up);
}

TEST(ScrollbarUI, DisabledBarClearsPartStatesAndIgnoresPresses)
{
    CScrollbarUI bar;
    bar.SetPos(RECT{ 0, 0, 16, 200 });
    TEventRecUI enter = MouseEvent(EventMouseEnter, 8, 20);
    bar.DoEvent(enter);
    EXPECT_NE(0u, bar.GetButton1State() & UISTATE_HOT);
    EXPECT_NE(0u, bar.GetThumbState() & UISTATE_HOT);
    TEventRecUI leave = MouseEvent(EventMouseLeave, 8, 20);
    bar.DoEvent(leave);
    EXPECT_EQ(0u, bar.GetThumbState() & UISTATE_HOT);

    TEventRecUI down = MouseEvent(EventButtonDown, 8, 190);
    bar.DoEvent(down);
    bar.SetEnabled(false);
    EXPECT_EQ(0u, bar.GetButton1State());
    EXPECT_EQ(0u, bar.GetButton2State());
    EXPECT_EQ(0u, bar.GetThumbState());
    const int pos = bar.GetScrollPos();
    bar.DoEvent(down);
    EXPECT_EQ(pos, bar.GetScrollPos());
}

// Without images the buttons and the thumb get a 2-pixel frame of 0xFF85E4FF; the
// background and the rail draw nothing.
TEST(ScrollbarUI, PaintsFallbackFramesWithoutImages)
{
    CDibCanvas canvas(40, 220, RGB(255, 255, 255));
    CScrollbarUI bar;
    bar.SetPos(RECT{ 10, 10, 26, 210 }); // thumb 26..138
    bar.DoPaint(canvas.DC(), canvas.Rect());

    EXPECT_EQ(kFrame, canvas.Pixel(10, 10));                            // button1 corner
    EXPECT_EQ(kFrame, canvas.Pixel(11, 11));                            // second pixel of its frame
    EXPECT_EQ(kWhite, canvas.Pixel(12, 12));                            // inside is untouched
    EXPECT_EQ(kFrame, canvas.Pixel(25, 209));                           // button2 corner
    EXPECT_EQ(kFrame, canvas.Pixel(10, 26));                            // thumb top-left
    EXPECT_EQ(kFrame, canvas.Pixel(25, 137));                           // thumb bottom-right
    EXPECT_EQ(kWhite, canvas.Pixel(18, 80));                            // thumb middle: the rail has no image
    EXPECT_EQ(kWhite, canvas.Pixel(18, 160));                           // the rail below the thumb
    EXPECT_EQ(0, canvas.CountOtherThan(RECT{ 0, 0, 10, 220 }, kWhite)); // nothing outside

    // A missing image is tried once, then the frame is drawn again.
    CDibCanvas second(40, 220, RGB(255, 255, 255));
    bar.SetAttribute(L"button1normalimage", L"no-such-image.png");
    bar.DoPaint(second.DC(), second.Rect());
    EXPECT_EQ(kFrame, second.Pixel(10, 10));

    // Too short for a thumb: only the two button frames.
    CDibCanvas shortCanvas(40, 60, RGB(255, 255, 255));
    CScrollbarUI shortBar;
    shortBar.SetPos(RECT{ 0, 0, 16, 40 });
    shortBar.DoPaint(shortCanvas.DC(), shortCanvas.Rect());
    EXPECT_EQ(kFrame, shortCanvas.Pixel(0, 0));
    EXPECT_EQ(kFrame, shortCanvas.Pixel(15, 39));
    EXPECT_EQ(kWhite, shortCanvas.Pixel(8, 20));
}
