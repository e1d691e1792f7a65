#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlUI.h"
#include "DibCanvas.h"

namespace {

// Records the order of the paint stages and the events that reach it.
class CProbeControl : public CControlUI
{
public:
    void PaintBkColor(HDC hDC) override
    {
        stages += L"bkcolor ";
        CControlUI::PaintBkColor(hDC);
    }
    void PaintBkImage(HDC) override { stages += L"bkimage "; }
    void PaintStatusImage(HDC) override { stages += L"status "; }
    void PaintText(HDC) override { stages += L"text "; }
    void PaintForeImage(HDC) override { stages += L"foreimage "; }
    void PaintBorder(HDC) override { stages += L"border "; }
    void DoEvent(TEventRecUI& event) override
    {
        events.push_back(event.type);
        CControlUI::DoEvent(event);
    }
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override
    {
        applied.push_back(std::wstring(pstrName) + L"=" + pstrValue);
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
    void AttachTo(CControlUI* pParent) { SetManager(nullptr, pParent); }

    std::wstring stages;
    std::vector<TEventTypeUI> events;
    std::vector<std::wstring> applied;
};

} // namespace

TEST(ControlUI, PosAttributeWithNegativeEdges)
{
    struct Case
    {
        LPCWSTR pos;
        LONG x, y, cx, cy;
    };
    const Case cases[] = {
        { L"-100,10,-20,40", -20, 10, 80, 30 },
        { L"10,-50,30,-5", 10, -5, 20, 45 },
        { L"5,6,25,36", 5, 6, 20, 30 },
        { L"0,0,-10,-10", 0, 0, 0, 0 }, // negative sizes are ignored: the defaults stay
    };
    for (const Case& c : cases) {
        CControlUI control;
        control.SetAttribute(L"pos", c.pos);
        EXPECT_EQ(c.x, control.GetFixedXY().cx) << c.pos;
        EXPECT_EQ(c.y, control.GetFixedXY().cy) << c.pos;
        EXPECT_EQ(c.cx, control.GetFixedWidth()) << c.pos;
        EXPECT_EQ(c.cy, control.GetFixedHeight()) << c.pos;
    }
}

TEST(ControlUI, CommonAttributes)
{
    CControlUI control;
    control.SetAttribute(L"bkcolor", L"#FF112233");
    control.SetAttribute(L"bkcolor2", L"80112233");
    control.SetAttribute(L"bordersize", L"3");
    control.SetAttribute(L"minwidth", L"-4");
    control.SetAttribute(L"maxheight", L"70");
    control.SetAttribute(L"visible", L"false");
    control.SetAttribute(L"mouse", L"TRUE"); // only the exact "true" is true
    control.SetAttribute(L"shortcut", L"ab");
    control.SetAttribute(L"padding", L"1,2,3,4");
    control.SetAttribute(L"relativepos", L"50,25,10,20");
    control.SetAttribute(L"Name", L"ignored: names compare exactly");
    EXPECT_EQ(0xFF112233u, control.GetBkColor());
    EXPECT_EQ(0x80112233u, control.GetBkColor2());
    EXPECT_EQ(3, control.GetBorderSize());
    EXPECT_EQ(0, control.GetMinWidth());
    EXPECT_EQ(70, control.GetMaxHeight());
    EXPECT_EQ(9999, control.GetMaxWidth());
    EXPECT_FALSE(control.IsVisible());
    EXPECT_FALSE(control.IsMouseEnabled());
    EXPECT_EQ(L'a', control.GetShortcut());
    EXPECT_EQ(4, control.GetPadding().bottom);
    EXPECT_TRUE(control.IsRelativePos());
    EXPECT_EQ(25, control.GetRelativePos().nMoveYPercent);
    EXPECT_EQ(20, control.GetRelativePos().nZoomYPercent);
    EXPECT_TRUE(control.GetName().IsEmpty());
}

TEST(ControlUI, AttributeListStopsAtFirstMalformedPair)
{
    struct Case
    {
        LPCWSTR list;
        std::vector<std::wstring> applied;
    };
    const Case cases[] = {
        { L"name=\"a\" text=\"b c\" tooltip=\"t\"", { L"name=a", L"text=b c", L"tooltip=t" } },
        { L"name=\"a\"  text=\"b\"", { L"name=a" } }, // two blanks: only the first pair
        { L"name=\"a\",text=\"b\"", { L"name=a" } },  // not a blank
        { L"name=a text=\"b\"", {} },                 // value without quotes
        { L"name=\"a\" text=\"unterminated", { L"name=a" } },
        { L"name=\"\" text=\"x\"", { L"name=", L"text=x" } },
        { L"", {} },
    };
    for (const Case& c : cases) {
        CProbeControl control;
        control.ApplyAttributeList(c.list);
        EXPECT_EQ(c.applied, control.applied) << c.list;
    }
}

TEST(ControlUI, SetPosClampsInvertedEdges)
{
    CControlUI control;
    control.SetPos(RECT{ 50, 40, 10, 20 });
    EXPECT_EQ(50, control.GetPos().left);
    EXPECT_EQ(50, control.GetPos().right);
    EXPECT_EQ(40, control.GetPos().bottom);
    EXPECT_EQ(0, control.GetWidth());
    EXPECT_EQ(0, control.GetHeight());
}

TEST(ControlUI, SizeSettersIgnoreNegativeValues)
{
    CControlUI control;
    control.SetFixedWidth(30);
    control.SetFixedWidth(-1);
    control.SetMinHeight(5);
    control.SetMinHeight(-5);
    control.SetMaxWidth(-2);
    EXPECT_EQ(30, control.GetFixedWidth());
    EXPECT_EQ(5, control.GetMinHeight());
    EXPECT_EQ(9999, control.GetMaxWidth());
    EXPECT_EQ(30, control.EstimateSize(SIZE{ 100, 100 }).cx);
}

TEST(ControlUI, PaintStagesInOrderAndOnlyInsideThePaintRect)
{
    CDibCanvas buffer(10, 10, RGB(255, 255, 255));
    CProbeControl control;
    control.SetPos(RECT{ 0, 0, 5, 5 });
    control.DoPaint(buffer.DC(), RECT{ 6, 6, 10, 10 });
    EXPECT_EQ(L"", control.stages);
    control.DoPaint(buffer.DC(), RECT{ 0, 0, 10, 10 });
    EXPECT_EQ(L"bkcolor bkimage status text foreimage border ", control.stages);
}

// An opaque colour fills only the paint rectangle; a translucent one the whole control.
TEST(ControlUI, BackgroundColourOpaqueVersusTranslucent)
{
    struct Case
    {
        DWORD color;
        bool outsidePainted;
    };
    const Case cases[] = { { 0xFFFF0000, false }, { 0x80FF0000, true } };
    for (const Case& c : cases) {
        CDibCanvas buffer(40, 40, RGB(255, 255, 255));
        CControlUI control;
        control.SetPos(RECT{ 0, 0, 40, 40 });
        control.SetBkColor(c.color);
        control.DoPaint(buffer.DC(), RECT{ 0, 0, 20, 20 });
        EXPECT_NE(0x00FFFFFFu, buffer.Pixel(5, 5)) << std::hex << c.color;
        EXPECT_EQ(c.outsidePainted, buffer.Pixel(30, 30) != 0x00FFFFFFu) << std::hex << c.color;
    }
}

TEST(ControlUI, BorderIsDrawnWithItsColour)
{
    CDibCanvas buffer(20, 20, RGB(255, 255, 255));
    CControlUI control;
    control.SetPos(RECT{ 2, 2, 18, 18 });
    control.SetBorderColor(0xFF0000FF);
    control.DoPaint(buffer.DC(), RECT{ 0, 0, 20, 20 });
    EXPECT_EQ(0x000000FFu, buffer.Pixel(2, 10));
    EXPECT_EQ(0x00FFFFFFu, buffer.Pixel(10, 10));
}

TEST(ControlUI, UnhandledEventsGoToTheParentOrAreDropped)
{
    CProbeControl parent;
    CProbeControl child;
    child.AttachTo(&parent);
    TEventRecUI event = { EventButtonDown, &child, 0, { 1, 1 }, 0, 0, 0, 0 };
    child.DoEvent(event);
    ASSERT_EQ(1u, parent.events.size());
    EXPECT_EQ(EventButtonDown, parent.events[0]);

    CProbeControl orphan; // no parent: dropped without harm
    orphan.DoEvent(event);
    EXPECT_EQ(1u, orphan.events.size());

    TEventRecUI focus = { EventSetFocus, &child, 0, {}, 0, 0, 0, 0 };
    child.DoEvent(focus);
    EXPECT_TRUE(child.IsFocused());
    EXPECT_EQ(1u, parent.events.size()); // focus events stay with the control
    child.SetVisible(false);
    EXPECT_FALSE(child.IsFocused());
}

TEST(ControlUI, InterfaceAndActivation)
{
    CControlUI control;
    EXPECT_STREQ(L"ControlUI", control.GetControlClass());
    EXPECT_EQ(&control, control.GetInterface(L"Control"));
    EXPECT_EQ(nullptr, control.GetInterface(L"Button"));
    EXPECT_TRUE(control.Activate());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Activate());
}
