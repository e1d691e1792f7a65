#include "UpdControlsTestSupport.h"

using namespace UpdControlsTest;

namespace {

CControlUI* Child(int cx, int cy, RECT rcPadding = RECT{ 0, 0, 0, 0 })
{
    CControlUI* pChild = new CControlUI;
    pChild->SetFixedWidth(cx);
    pChild->SetFixedHeight(cy);
    pChild->SetPadding(rcPadding);
    return pChild;
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* pstrWhat)
{
    EXPECT_EQ(expected.left, actual.left) << pstrWhat;
    EXPECT_EQ(expected.top, actual.top) << pstrWhat;
    EXPECT_EQ(expected.right, actual.right) << pstrWhat;
    EXPECT_EQ(expected.bottom, actual.bottom) << pstrWhat;
}

} // namespace

TEST(UpdVerticalLayout, AdjustableChildrenShareTheFreeHeight)
{
    struct Case
    {
        int cyLayout;
        int cyFirst;
        int cySecond;
    } cases[] = { { 100, 50, 50 }, { 101, 50, 51 }, { 1, 0, 1 } };
    for (const Case& c : cases) {
        CVerticalLayoutUI layout;
        CControlUI* pFirst = Child(0, 0);
        CControlUI* pSecond = Child(0, 0);
        layout.Add(pFirst);
        layout.Add(pSecond);
        layout.SetPos(RECT{ 0, 0, 80, c.cyLayout });
        EXPECT_EQ(c.cyFirst, pFirst->GetHeight()) << c.cyLayout;
        EXPECT_EQ(c.cySecond, pSecond->GetHeight()) << c.cyLayout;
        EXPECT_EQ(pFirst->GetPos().bottom, pSecond->GetPos().top);
        EXPECT_EQ(80, pSecond->GetWidth());
    }
}

TEST(UpdVerticalLayout, FixedChildrenPaddingInsetAndLimits)
{
    CVerticalLayoutUI layout;
    layout.SetInset(RECT{ 5, 5, 5, 5 });
    layout.SetChildPadding(4);
    CControlUI* pTop = Child(30, 20, RECT{ 2, 3, 0, 1 });
    CControlUI* pFill = Child(0, 0);
    pFill->SetMaxHeight(40);
    CControlUI* pFloat = Child(10, 10);
    pFloat->SetFloat(true);
    pFloat->SetFixedXY(SIZE{ -1, 2 });
    CControlUI* pHidden = Child(0, 500);
    pHidden->SetVisible(false);
    layout.Add(pTop);
    layout.Add(pFill);
    layout.Add(pFloat);
    layout.Add(pHidden);
    layout.SetPos(RECT{ 0, 0, 100, 200 });
    // The bottom padding lies inside the child's rectangle.
    ExpectRect(RECT{ 7, 8, 37, 29 }, pTop->GetPos(), "top");
    ExpectRect(RECT{ 5, 33, 95, 73 }, pFill->GetPos(), "fill");
    ExpectRect(RECT{ 89, 2, 99, 12 }, pFloat->GetPos(), "float");
}

TEST(UpdVerticalLayout, ScrollBarAppearsWhenChildrenOverflowAndGoesWhenTheyFit)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    CControlUI* pA = Child(0, 80);
    CControlUI* pB = Child(0, 80);
    layout.Add(pA);
    layout.Add(pB);
    layout.SetPos(RECT{ 0, 0, 100, 100 });
    CScrollBarUI* pBar = layout.GetVerticalScrollBar();
    ASSERT_NE(nullptr, pBar);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(60, pBar->GetScrollRange());
    EXPECT_EQ(84, pA->GetPos().right);
    ExpectRect(RECT{ 84, 0, 100, 100 }, pBar->GetPos(), "bar");

    pB->SetFixedHeight(10);
    layout.SetPos(RECT{ 0, 0, 100, 100 });
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(100, pA->GetPos().right);
}

TEST(UpdHorizontalLayout, WidthsRightPaddingAndNoVerticalBar)
{
    CHorizontalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    layout.SetChildPadding(2);
    CControlUI* pFixed = Child(40, 0, RECT{ 1, 2, 3, 4 });
    CControlUI* pA = Child(0, 0);
    CControlUI* pB = Child(0, 30);
    layout.Add(pFixed);
    layout.Add(pA);
    layout.Add(pB);
    layout.SetPos(RECT{ 0, 0, 101, 50 });
    ExpectRect(RECT{ 1, 2, 44, 46 }, pFixed->GetPos(), "fixed");
    // (101 - 44 - 4) / 2 = 26 each; the last takes what is left.
    ExpectRect(RECT{ 46, 0, 72, 50 }, pA->GetPos(), "a");
    // The last stretchable child reaches the right edge: the room kept for the fixed
    // child's paddings and the child padding is not counted twice.
    ExpectRect(RECT{ 74, 0, 101, 30 }, pB->GetPos(), "b");
    EXPECT_FALSE(layout.GetVerticalScrollBar()->IsVisible());
}

TEST(UpdTileLayout, ColumnsFromItemSizeOrAttribute)
{
    struct Case
    {
        LPCWSTR pstrItemSize;
        LPCWSTR pstrColumns;
        int nColumns;
    } cases[] = {
        { L"0,0", L"3", 3 }, { L"0,0", L"0", 1 }, { L"0,0", L"-2", 1 }, { L"100,40", L"1", 3 }, { L"500,40", L"4", 1 },
    };
    for (const Case& c : cases) {
        CTileLayoutUI layout;
        layout.SetAttribute(L"itemsize", c.pstrItemSize);
        layout.SetAttribute(L"columns", c.pstrColumns);
        layout.Add(Child(20, 20));
        layout.SetPos(RECT{ 0, 0, 350, 200 });
        EXPECT_EQ(c.nColumns, layout.GetColumns()) << c.pstrItemSize << " / " << c.pstrColumns;
    }
}

TEST(UpdTileLayout, TilesAreCentredInRowsAsHighAsTheTallest)
{
    CTileLayoutUI layout;
    layout.SetColumns(2);
    CControlUI* pA = Child(20, 10);
    CControlUI* pB = Child(30, 40);
    CControlUI* pC = Child(0, 0);
    layout.Add(pA);
    layout.Add(pB);
    layout.Add(pC);
    layout.SetPos(RECT{ 0, 0, 200, 300 });
    // Row 1 is 40 high: A centred in (0,0,100,40), B in (100,0,200,40).
    ExpectRect(RECT{ 40, 15, 60, 25 }, pA->GetPos(), "a");
    ExpectRect(RECT{ 135, 0, 165, 40 }, pB->GetPos(), "b");
    // A child without a size fills its tile; the row height is 0 for it.
    EXPECT_EQ(40, pC->GetPos().top);
    EXPECT_EQ(0, pC->GetPos().left);
    EXPECT_EQ(100, pC->GetPos().right);
}

TEST(UpdLayoutSeparator, DraggingBelowTheMinimumStopsAtIt)
{
    CVerticalLayoutUI parent;
    CVerticalLayoutUI* pLayout = new CVerticalLayoutUI;
    pLayout->SetAttribute(L"sepheight", L"4");
    pLayout->SetAttribute(L"sepimm", L"true");
    pLayout->SetMinHeight(50);
    pLayout->SetFixedHeight(100);
    parent.Add(pLayout);
    parent.SetPos(RECT{ 0, 0, 200, 300 });
    ASSERT_EQ(100, pLayout->GetHeight());
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), pLayout->GetControlFlags());
    RECT rcSep = pLayout->GetThumbRect();
    EXPECT_EQ(96, rcSep.top);

    Deliver(pLayout, EventButtonDown, 50, 98);
    EXPECT_TRUE(pLayout->IsDragging());
    Deliver(pLayout, EventMouseMove, 50, 80);
    EXPECT_EQ(82, pLayout->GetFixedHeight());
    Deliver(pLayout, EventMouseMove, 50, 10);
    EXPECT_EQ(50, pLayout->GetFixedHeight());
    Deliver(pLayout, EventMouseMove, 50, 5);
    EXPECT_EQ(50, pLayout->GetFixedHeight());
    Deliver(pLayout, EventButtonUp, 50, 5);
    EXPECT_FALSE(pLayout->IsDragging());
    parent.SetPos(RECT{ 0, 0, 200, 300 });
    EXPECT_EQ(50, pLayout->GetHeight());

    // Without a separator the layout wants no cursor and ignores presses at its edge.
    CHorizontalLayoutUI plain;
    EXPECT_EQ(0u, plain.GetControlFlags());
    plain.SetAttribute(L"sepwidth", L"-6");
    plain.SetPos(RECT{ 10, 0, 110, 50 });
    rcSep = plain.GetThumbRect();
    EXPECT_EQ(10, rcSep.left);
    EXPECT_EQ(16, rcSep.right);
}

TEST(UpdLayoutBuilder, TagsCreateTheirClasses)
{
    struct Case
    {
        LPCWSTR pstrTag;
        LPCWSTR pstrClass;
    } cases[] = {
        { L"Label", L"LabelUI" },
        { L"Button", L"ButtonUI" },
        { L"Option", L"OptionUI" },
        { L"CheckBox", L"CheckBoxUI" },
        { L"Text", L"TextUI" },
        { L"Progress", L"ProgressUI" },
        { L"Slider", L"SliderUI" },
        { L"ScrollBar", L"ScrollBarUI" },
        { L"VerticalLayout", L"VerticalLayoutUI" },
        { L"HorizontalLayout", L"HorizontalLayoutUI" },
        { L"TileLayout", L"TileLayoutUI" },
        { L"TabLayout", L"TabLayoutUI" },
        { L"ChildWindow", L"ChildWindowUI" },
    };
    for (const Case& c : cases) {
        std::wstring sMarkup = std::wstring(L"<Window><") + c.pstrTag + L" /></Window>";
        CSkinBuilderUI builder;
        CControlUI* pControl = builder.Build(sMarkup.c_str());
        ASSERT_NE(nullptr, pControl) << c.pstrTag;
        EXPECT_STREQ(c.pstrClass, pControl->GetControlClass());
        delete pControl;
    }
}
