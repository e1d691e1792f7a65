#include <gtest/gtest.h>

#include <vector>

#include "DialogLayoutUI.h"
#include "RectAssertions.h"
#include "HorizontalLayoutUI.h"
#include "ScrollbarUI.h"
#include "TabLayoutUI.h"
#include "TileLayoutUI.h"
#include "VerticalLayoutUI.h"

// Layouts without a manager: every child just stores the position it is given.
namespace {

CControlUI* Sized(int cx, int cy)
{
    CControlUI* p = new CControlUI;
    p->SetFixedWidth(cx);
    p->SetFixedHeight(cy);
    return p;
}

std::vector<CControlUI*> AddSized(CContainerUI& layout, const std::vector<SIZE>& sizes)
{
    std::vector<CControlUI*> children;
    for (const SIZE& sz : sizes) {
        children.push_back(Sized(sz.cx, sz.cy));
        layout.Add(children.back());
    }
    return children;
}

TEventRecUI MouseEvent(TEventTypeUI type, int x, int y)
{
    TEventRecUI e = {};
    e.type = type;
    e.mousePoint = POINT{ x, y };
    return e;
}

} // namespace

// ---------------------------------------------------------------------------------
// Vertical and horizontal layouts share one table: the heights (widths) given to
// children of fixed extent, 0 meaning "share the rest", for a gap and a length.

struct StackCase
{
    std::vector<int> extents;
    int childPadding;
    int length;
    std::vector<int> expected;
};

const StackCase kStackCases[] = {
    { { 0, 30 }, 10, 100, { 60, 30 } },       // the adjustable child gets 100 - 30 - 10
    { { 30, 0 }, 10, 100, { 30, 60 } },       // the same with the fixed child first
    { { 0, 0, 0 }, 0, 100, { 33, 33, 34 } },  // the last adjustable takes the remainder
    { { 0, 0, 0 }, 10, 100, { 26, 26, 28 } }, // gaps before the last one are not lost
    { { 20, 0, 20, 0 }, 5, 100, { 20, 22, 20, 23 } },
    { { 80, 0, 50 }, 0, 100, { 80, 0, 50 } }, // nothing left: adjustables get 0
};

TEST(VerticalLayoutUI, HeightsFromTable)
{
    for (const StackCase& c : kStackCases) {
        CVerticalLayoutUI layout;
        layout.SetChildPadding(c.childPadding);
        std::vector<SIZE> sizes;
        for (int h : c.extents) sizes.push_back(SIZE{ 0, h });
        std::vector<CControlUI*> children = AddSized(layout, sizes);
        layout.SetPos(RECT{ 10, 20, 60, 20 + c.length });

        int y = 20;
        for (size_t i = 0; i < children.size(); i++) {
            EXPECT_TRUE(RectIs(children[i]->GetPos(), 10, y, 60, y + c.expected[i])) << "case child " << i;
            y += c.expected[i] + c.childPadding;
        }
    }
}

TEST(HorizontalLayoutUI, WidthsFromTable)
{
    for (const StackCase& c : kStackCases) {
        CHorizontalLayoutUI layout;
        layout.SetChildPadding(c.childPadding);
        std::vector<SIZE> sizes;
        for (int w : c.extents) sizes.push_back(SIZE{ w, 0 });
        std::vector<CControlUI*> children = AddSized(layout, sizes);
        layout.SetPos(RECT{ 20, 10, 20 + c.length, 60 });

        int x = 20;
        for (size_t i = 0; i < children.size(); i++) {
            EXPECT_TRUE(RectIs(children[i]->GetPos(), x, 10, x + c.expected[i], 60)) << "case child " << i;
            x += c.expected[i] + c.childPadding;
        }
    }
}

// Min/max limits, the inset and each child's padding as an outer margin.
TEST(VerticalLayoutUI, LimitsInsetAndPadding)
{
    CVerticalLayoutUI layout;
    layout.SetInset(RECT{ 5, 5, 5, 5 });
    CControlUI* tooTall = Sized(0, 50);
    tooTall->SetMaxHeight(40);
    CControlUI* narrow = Sized(0, 10);
    narrow->SetMaxWidth(30);
    narrow->SetPadding(RECT{ 4, 6, 4, 2 });
    CControlUI* grows = Sized(0, 0);
    grows->SetMinHeight(70);
    layout.Add(tooTall);
    layout.Add(narrow);
    layout.Add(grows);
    layout.SetPos(RECT{ 0, 0, 100, 100 });

    EXPECT_TRUE(RectIs(tooTall->GetPos(), 5, 5, 95, 45));
    // Left 4 and top 6 off, the fixed height kept, the width capped at 30.
    EXPECT_TRUE(RectIs(narrow->GetPos(), 9, 51, 39, 61));
    // Only 32 pixels are left, but the minimum height wins.
    EXPECT_TRUE(RectIs(grows->GetPos(), 5, 63, 95, 133));
}

TEST(HorizontalLayoutUI, LimitsAndPadding)
{
    CHorizontalLayoutUI layout;
    CControlUI* a = Sized(0, 0);
    a->SetMaxWidth(20);
    a->SetMaxHeight(15);
    CControlUI* b = Sized(30, 0);
    b->SetPadding(RECT{ 5, 2, 5, 3 });
    layout.Add(a);
    layout.Add(b);
    layout.SetPos(RECT{ 0, 0, 100, 50 });
    EXPECT_TRUE(RectIs(a->GetPos(), 0, 0, 20, 15));
    EXPECT_TRUE(RectIs(b->GetPos(), 25, 2, 55, 47));
}

// A float child is placed by its fixed coordinates (negative x counts from the right)
// and, with a relative position, follows the layout's growth.
TEST(VerticalLayoutUI, FloatChildrenKeepOutOfTheStack)
{
    CVerticalLayoutUI layout;
    CControlUI* stacked = Sized(0, 0);
    CControlUI* floatRight = Sized(20, 10);
    floatRight->SetFloat(true);
    floatRight->SetFixedXY(SIZE{ -10, 5 });
    CControlUI* relative = Sized(10, 10);
    relative->SetFloat(true);
    relative->SetFixedXY(SIZE{ 0, 0 });
    relative->SetRelativePos(50, 100, 0, 0);
    layout.Add(stacked);
    layout.Add(floatRight);
    layout.Add(relative);

    layout.SetPos(RECT{ 0, 0, 100, 100 });
    EXPECT_TRUE(RectIs(stacked->GetPos(), 0, 0, 100, 100));
    EXPECT_TRUE(RectIs(floatRight->GetPos(), 70, 5, 90, 15));
    EXPECT_TRUE(RectIs(relative->GetPos(), 0, 0, 10, 10));

    layout.SetPos(RECT{ 0, 0, 140, 120 });
    EXPECT_TRUE(RectIs(floatRight->GetPos(), 110, 5, 130, 15));
    EXPECT_TRUE(RectIs(relative->GetPos(), 20, 20, 30, 30));
}

// Content taller than the layout shows the vertical bar, takes its width off the
// children and scrolls them; content that fits again hides the bar.
TEST(VerticalLayoutUI, ScrollBarFollowsContent)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    CScrollbarUI* bar = layout.GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    std::vector<CControlUI*> children = AddSized(layout, { { 0, 50 }, { 0, 50 }, { 0, 50 } });
    layout.SetPos(RECT{ 0, 0, 100, 100 });

    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(50, bar->GetScrollRange());
    EXPECT_TRUE(RectIs(bar->GetPos(), 84, 0, 100, 100));
    EXPECT_TRUE(RectIs(children[2]->GetPos(), 0, 100, 84, 150));

    layout.SetScrollPos(SIZE{ 0, 20 });
    EXPECT_TRUE(RectIs(children[0]->GetPos(), 0, -20, 84, 30));
    layout.SetPos(layout.GetPos());
    EXPECT_TRUE(RectIs(children[0]->GetPos(), 0, -20, 84, 30));

    children[2]->SetFixedHeight(0);
    children[1]->SetFixedHeight(20);
    layout.SetPos(layout.GetPos());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, layout.GetScrollPos().cy);
    EXPECT_TRUE(RectIs(children[0]->GetPos(), 0, 0, 100, 50));
}

// ---------------------------------------------------------------------------------
// Horizontal separator

TEST(HorizontalLayoutUI, SeparatorAtLeftNarrowsFromTheLeft)
{
    CHorizontalLayoutUI layout;
    layout.SetAttribute(L"sepwidth", L"-4");
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), layout.GetControlFlags());
    layout.SetPos(RECT{ 100, 0, 300, 50 });
    EXPECT_TRUE(RectIs(layout.GetThumbRect(), 100, 0, 104, 50));

    TEventRecUI down = MouseEvent(EventButtonDown, 102, 10);
    layout.DoEvent(down);
    ASSERT_TRUE(layout.IsDragging());
    TEventRecUI move = MouseEvent(EventMouseMove, 132, 10);
    layout.DoEvent(move);
    // Not immediate: only the preview moves until the button is released.
    EXPECT_TRUE(RectIs(layout.GetPos(), 100, 0, 300, 50));
    EXPECT_TRUE(RectIs(layout.GetThumbRect(true), 130, 0, 134, 50));
    EXPECT_EQ(170, layout.GetFixedWidth());

    TEventRecUI up = MouseEvent(EventButtonUp, 132, 10);
    layout.DoEvent(up);
    EXPECT_FALSE(layout.IsDragging());
    EXPECT_TRUE(RectIs(layout.GetPos(), 130, 0, 300, 50));
}

TEST(HorizontalLayoutUI, SeparatorAtRightStopsAtMinWidthAndFollowsLiveWhenImmediate)
{
    CHorizontalLayoutUI layout;
    layout.SetAttribute(L"sepwidth", L"6");
    layout.SetAttribute(L"sepimm", L"true");
    layout.SetMinWidth(150);
    layout.SetPos(RECT{ 0, 0, 200, 50 });

    TEventRecUI outside = MouseEvent(EventButtonDown, 100, 10);
    layout.DoEvent(outside);
    EXPECT_FALSE(layout.IsDragging());

    TEventRecUI down = MouseEvent(EventButtonDown, 197, 10);
    layout.DoEvent(down);
    ASSERT_TRUE(layout.IsDragging());
    TEventRecUI move = MouseEvent(EventMouseMove, 177, 10);
    layout.DoEvent(move);
    EXPECT_TRUE(RectIs(layout.GetPos(), 0, 0, 180, 50)); // immediate: the layout itself moved
    TEventRecUI wayLeft = MouseEvent(EventMouseMove, 100, 10);
    layout.DoEvent(wayLeft);
    EXPECT_TRUE(RectIs(layout.GetPos(), 0, 0, 150, 50)); // held at the minimum width
    TEventRecUI further = MouseEvent(EventMouseMove, 90, 10);
    layout.DoEvent(further);
    EXPECT_TRUE(RectIs(layout.GetPos(), 0, 0, 150, 50));
    TEventRecUI up = MouseEvent(EventButtonUp, 90, 10);
    layout.DoEvent(up);
    EXPECT_EQ(150, layout.GetFixedWidth());

    layout.SetEnabled(false);
    EXPECT_EQ(0u, layout.GetControlFlags());
}

// ---------------------------------------------------------------------------------
// Tile layout

TEST(TileLayoutUI, ColumnsAttributeIgnoresNonPositive)
{
    CTileLayoutUI layout;
    layout.SetAttribute(L"columns", L"0");
    EXPECT_EQ(2, layout.GetColumns());
    layout.SetAttribute(L"columns", L"-3");
    EXPECT_EQ(2, layout.GetColumns());
    layout.SetAttribute(L"columns", L"3");
    EXPECT_EQ(3, layout.GetColumns());
}

// Children are centred in equal columns; each row is as high as its tallest child;
// half the child padding separates neighbouring tiles.
TEST(TileLayoutUI, CentresChildrenInColumnsAndRows)
{
    CTileLayoutUI layout;
    layout.SetColumns(3);
    std::vector<CControlUI*> c = AddSized(layout, { { 20, 10 }, { 20, 30 }, { 0, 0 }, { 10, 10 } });
    c[2]->SetMinHeight(6); // a stretchy child still reports its minimum to the row
    layout.SetPos(RECT{ 0, 0, 150, 200 });

    EXPECT_TRUE(RectIs(c[0]->GetPos(), 15, 10, 35, 20)); // column 0..50, row 0..30
    EXPECT_TRUE(RectIs(c[1]->GetPos(), 65, 0, 85, 30));
    EXPECT_TRUE(RectIs(c[2]->GetPos(), 100, 0, 150, 30)); // size 0 fills its tile
    EXPECT_TRUE(RectIs(c[3]->GetPos(), 20, 30, 30, 40));  // second row, 10 high

    layout.SetChildPadding(10);
    layout.SetPos(RECT{ 0, 0, 150, 200 });
    EXPECT_TRUE(RectIs(c[2]->GetPos(), 105, 0, 150, 30)); // last column: inset 5 at its left only
    EXPECT_TRUE(RectIs(c[1]->GetPos(), 65, 0, 85, 30));   // middle column: 55..95, centred
    EXPECT_TRUE(RectIs(c[0]->GetPos(), 12, 10, 32, 20));  // first column: 0..45
    EXPECT_TRUE(RectIs(c[3]->GetPos(), 17, 40, 27, 50));  // the row gap is the whole padding
}

// ---------------------------------------------------------------------------------
// Dialog layout

// Two sized children of a group share the extra width; a moving child after them
// moves by what the sized ones grew; a new line starts moving from 0 again.
TEST(DialogLayoutUI, StretchGroupsShareTheExtraRoom)
{
    CDialogLayoutUI layout;
    auto placed = [&](int x, int y, int cx, int cy, UINT mode) {
        CControlUI* p = Sized(cx, cy);
        p->SetFixedXY(SIZE{ x, y });
        layout.Add(p);
        layout.SetStretchMode(p, mode);
        return p;
    };
    CControlUI* a = placed(10, 10, 40, 20, UISTRETCH_NEWGROUP | UISTRETCH_SIZE_X);
    CControlUI* b = placed(50, 10, 40, 20, UISTRETCH_MOVE_X | UISTRETCH_SIZE_X);
    CControlUI* c = placed(90, 10, 20, 20, UISTRETCH_MOVE_X);
    CControlUI* d = placed(10, 40, 20, 20, UISTRETCH_NEWLINE | UISTRETCH_MOVE_X);
    CControlUI* plain = Sized(10, 10); // no stretch record: its own group, never moves
    plain->SetFixedXY(SIZE{ 10, 70 });
    layout.Add(plain);

    const SIZE sz = layout.EstimateSize(SIZE{ 1000, 1000 });
    EXPECT_EQ(100, sz.cx); // bound 10..110 x 10..80
    EXPECT_EQ(70, sz.cy);

    layout.SetPos(RECT{ 0, 0, 200, 100 }); // 100 extra across, 30 down
    EXPECT_TRUE(RectIs(a->GetPos(), 0, 0, 90, 20));
    EXPECT_TRUE(RectIs(b->GetPos(), 90, 0, 180, 20));
    EXPECT_TRUE(RectIs(c->GetPos(), 180, 0, 200, 20));
    EXPECT_TRUE(RectIs(d->GetPos(), 0, 30, 20, 50));
    EXPECT_TRUE(RectIs(plain->GetPos(), 0, 60, 10, 70));
    EXPECT_EQ(UISTRETCH_NEWGROUP | UISTRETCH_SIZE_X, layout.GetStretchMode(a));
    EXPECT_EQ(UISTRETCH_NEWGROUP, layout.GetStretchMode(plain));

    // Smaller than the bound: nothing stretches.
    layout.SetPos(RECT{ 0, 0, 50, 50 });
    EXPECT_TRUE(RectIs(b->GetPos(), 40, 0, 80, 20));
}

TEST(DialogLayoutUI, SizeLimitsApply)
{
    CDialogLayoutUI layout;
    CControlUI* p = Sized(40, 20);
    p->SetMaxWidth(60);
    layout.Add(p);
    layout.SetStretchMode(p, UISTRETCH_SIZE_XY);
    layout.SetPos(RECT{ 0, 0, 200, 100 });
    EXPECT_TRUE(RectIs(p->GetPos(), 0, 0, 60, 100));
}

// ---------------------------------------------------------------------------------
// Tab layout

TEST(TabLayoutUI, FirstVisiblePageIsShownAndLaterOnesHidden)
{
    CTabLayoutUI tab;
    CControlUI* hidden = new CControlUI;
    hidden->SetVisible(false);
    CControlUI* p1 = new CControlUI;
    CControlUI* p2 = new CControlUI;
    tab.Add(hidden);
    tab.Add(p1);
    tab.Add(p2);
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_TRUE(p1->IsVisible());
    EXPECT_FALSE(p2->IsVisible());

    EXPECT_FALSE(tab.SelectItem(3));
    EXPECT_FALSE(tab.SelectItem(-1));
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_TRUE(tab.SelectItem(1));

    ASSERT_TRUE(tab.SelectItem(2));
    EXPECT_FALSE(p1->IsVisible());
    EXPECT_TRUE(p2->IsVisible());

    // Only the shown page is placed, less its padding.
    p2->SetPadding(RECT{ 1, 2, 3, 4 });
    tab.SetPos(RECT{ 0, 0, 100, 50 });
    EXPECT_TRUE(RectIs(p2->GetPos(), 1, 2, 97, 46));
    EXPECT_TRUE(RectIs(p1->GetPos(), 0, 0, 0, 0));
}

TEST(TabLayoutUI, InsertAndRemoveKeepTheSelectionOnItsPage)
{
    CTabLayoutUI tab;
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    tab.Add(a);
    tab.Add(b);
    ASSERT_TRUE(tab.SelectItem(1));

    CControlUI* before = new CControlUI;
    ASSERT_TRUE(tab.AddAt(before, 0));
    EXPECT_EQ(2, tab.GetCurSel());
    EXPECT_EQ(b, tab.GetItemAt(tab.GetCurSel()));
    EXPECT_FALSE(before->IsVisible());
    CControlUI* after = new CControlUI;
    ASSERT_TRUE(tab.AddAt(after, 3));
    EXPECT_EQ(2, tab.GetCurSel());
    EXPECT_FALSE(after->IsVisible());

    ASSERT_TRUE(tab.Remove(before)); // before the selection: the index follows
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_EQ(b, tab.GetItemAt(1));

    ASSERT_TRUE(tab.Remove(b)); // the shown page: the first page takes over
    EXPECT_EQ(0, tab.GetCurSel());
    EXPECT_TRUE(a->IsVisible());

    tab.RemoveAll();
    EXPECT_EQ(-1, tab.GetCurSel());
    CControlUI* fresh = new CControlUI;
    ASSERT_TRUE(tab.AddAt(fresh, 0));
    EXPECT_EQ(0, tab.GetCurSel());
    EXPECT_TRUE(fresh->IsVisible());
    ASSERT_TRUE(tab.Remove(fresh));
    EXPECT_EQ(-1, tab.GetCurSel());
}

TEST(Layouts, ClassAndInterfaceNames)
{
    CVerticalLayoutUI v;
    CHorizontalLayoutUI h;
    CTileLayoutUI t;
    CDialogLayoutUI d;
    CTabLayoutUI tab;
    EXPECT_STREQ(L"VertialLayoutUI", v.GetControlClass());
    EXPECT_STREQ(L"HorizontalLayoutUI", h.GetControlClass());
    EXPECT_STREQ(L"TileLayoutUI", t.GetControlClass());
    EXPECT_STREQ(L"DialogLayoutUI", d.GetControlClass());
    EXPECT_STREQ(L"TabLayoutUI", tab.GetControlClass());
    EXPECT_EQ(nullptr, v.GetInterface(L"VerticalLayout"));
    EXPECT_NE(nullptr, v.GetInterface(L"IContainer"));
    EXPECT_EQ(&h, h.GetInterface(L"HorizontalLayout"));
    EXPECT_EQ(&t, t.GetInterface(L"TileLayout"));
    EXPECT_EQ(&d, d.GetInterface(L"DialogLayout"));
    EXPECT_EQ(&tab, tab.GetInterface(L"TabLayout"));
}
