#include <gtest/gtest.h>

#include "ContainerUI.h"
#include "ScrollbarUI.h"

namespace {

class CTrackedControl : public CControlUI
{
public:
    explicit CTrackedControl(int* pDeleted = nullptr, bool bListItem = false)
        : m_pDeleted(pDeleted), m_bListItem(bListItem)
    { }
    ~CTrackedControl() override
    {
        if (m_pDeleted != nullptr) (*m_pDeleted)++;
    }
    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (m_bListItem && wcscmp(pstrName, L"ListItem") == 0) return this;
        return CControlUI::GetInterface(pstrName);
    }

private:
    int* m_pDeleted;
    bool m_bListItem;
};

CControlUI* CALLBACK ReturnControl(CControlUI* pThis, LPVOID)
{
    return pThis;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(ContainerUI, ChildListBounds)
{
    CContainerUI container;
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    EXPECT_FALSE(container.Add(nullptr));
    EXPECT_TRUE(container.Add(a));
    EXPECT_TRUE(container.Add(b));
    EXPECT_EQ(&container, a->GetParent());
    EXPECT_EQ(nullptr, container.GetItemAt(-1));
    EXPECT_EQ(nullptr, container.GetItemAt(2));
    EXPECT_FALSE(container.RemoveAt(-1));
    EXPECT_FALSE(container.RemoveAt(2));
    EXPECT_EQ(1, container.GetItemIndex(b));

    EXPECT_TRUE(container.SetItemIndex(b, 0));
    EXPECT_EQ(b, container.GetItemAt(0));
    // An index the list refuses leaves the child where it was, not lost.
    EXPECT_FALSE(container.SetItemIndex(b, 5));
    EXPECT_EQ(2, container.GetCount());
    EXPECT_EQ(b, container.GetItemAt(0));
    CControlUI stranger;
    EXPECT_FALSE(container.SetItemIndex(&stranger, 0));
    EXPECT_FALSE(container.Remove(&stranger));
    EXPECT_TRUE(container.AddAt(new CControlUI, 1));
    EXPECT_EQ(3, container.GetCount());
    EXPECT_TRUE(container.RemoveAt(1));
    EXPECT_EQ(2, container.GetCount());
}

TEST(ContainerUI, AutoDestroyDecidesWhoDeletesChildren)
{
    int deleted = 0;
    CTrackedControl* keep1 = new CTrackedControl(&deleted);
    CTrackedControl* keep2 = new CTrackedControl(&deleted);
    {
        CContainerUI container;
        container.SetAutoDestroy(false);
        container.Add(keep1);
        container.Add(keep2);
        EXPECT_TRUE(container.Remove(keep1));
        container.RemoveAll();
        EXPECT_EQ(0, deleted);
        EXPECT_EQ(0, container.GetCount());
        container.EnableScrollBar(true, true); // bars are owned whatever auto-destroy says
    }
    EXPECT_EQ(0, deleted);
    delete keep1;
    delete keep2;
    deleted = 0;
    {
        CContainerUI container;
        container.Add(new CTrackedControl(&deleted));
        container.Add(new CTrackedControl(&deleted));
        container.Add(new CTrackedControl(&deleted));
        container.RemoveAt(0);
        EXPECT_EQ(1, deleted);
    }
    EXPECT_EQ(3, deleted);
}

TEST(ContainerUI, InsetAndChildPaddingAttributes)
{
    CContainerUI container;
    container.SetAttribute(L"inset", L"1,2,3,4");
    container.SetAttribute(L"childpadding", L"7");
    container.SetAttribute(L"mousechild", L"false");
    RECT inset = container.GetInset();
    EXPECT_EQ(1, inset.left);
    EXPECT_EQ(2, inset.top);
    EXPECT_EQ(3, inset.right);
    EXPECT_EQ(4, inset.bottom);
    EXPECT_EQ(7, container.GetChildPadding());
    EXPECT_FALSE(container.IsMouseChildEnabled());
    container.SetAttribute(L"vscrollbar", L"true");
    EXPECT_NE(nullptr, container.GetVerticalScrollBar());
    EXPECT_EQ(nullptr, container.GetHorizontalScrollBar());
    container.SetAttribute(L"hscrollbar", L"true");
    EXPECT_NE(nullptr, container.GetVerticalScrollBar());
    ASSERT_NE(nullptr, container.GetHorizontalScrollBar());
    EXPECT_EQ(16, container.GetHorizontalScrollBar()->GetFixedHeight());
    container.SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(nullptr, container.GetVerticalScrollBar());
    EXPECT_NE(nullptr, container.GetHorizontalScrollBar());
    container.SetAttribute(L"bkcolor", L"FF00FF00"); // falls back to the control's attributes
    EXPECT_EQ(0xFF00FF00u, container.GetBkColor());
    EXPECT_STREQ(L"ContainerUI", container.GetControlClass());
    EXPECT_EQ(static_cast<IContainerUI*>(&container), container.GetInterface(L"IContainer"));
    EXPECT_EQ(&container, container.GetInterface(L"Container"));
    EXPECT_EQ(&container, container.GetInterface(L"Control"));
}

TEST(ContainerUI, PlainContainerFillsInnerRectAndPlacesFloatChildren)
{
    CContainerUI container;
    container.SetInset(RECT{ 5, 5, 5, 5 });
    CControlUI* plain = new CControlUI;
    CControlUI* floatRight = new CControlUI;
    floatRight->SetFloat(true);
    floatRight->SetFixedXY(SIZE{ -10, 10 });
    floatRight->SetFixedWidth(20);
    floatRight->SetFixedHeight(30);
    CControlUI* hidden = new CControlUI;
    hidden->SetVisible(false);
    container.Add(plain);
    container.Add(floatRight);
    container.Add(hidden);
    container.SetPos(RECT{ 0, 0, 100, 80 });
    EXPECT_TRUE(SameRect(RECT{ 5, 5, 95, 75 }, plain->GetPos()));
    EXPECT_TRUE(SameRect(RECT{ 70, 10, 90, 40 }, floatRight->GetPos()));
    EXPECT_TRUE(SameRect(RECT{ 0, 0, 0, 0 }, hidden->GetPos()));
}

TEST(ContainerUI, RelativeFloatChildFollowsParentGrowth)
{
    CContainerUI container;
    CControlUI* child = new CControlUI;
    child->SetFloat(true);
    child->SetFixedXY(SIZE{ 10, 10 });
    child->SetFixedWidth(20);
    child->SetFixedHeight(20);
    child->SetRelativePos(50, 100, 50, 0);
    container.Add(child);
    container.SetPos(RECT{ 0, 0, 100, 100 }); // records the parent size only
    EXPECT_TRUE(SameRect(RECT{ 10, 10, 30, 30 }, child->GetPos()));
    container.SetPos(RECT{ 0, 0, 200, 150 }); // grew by 100 x 50
    EXPECT_TRUE(SameRect(RECT{ 60, 60, 130, 80 }, child->GetPos()));
}

TEST(ContainerUI, HitTestWithMouseChildOff)
{
    CContainerUI container;
    CControlUI* child = new CControlUI;
    container.Add(child);
    container.SetPos(RECT{ 0, 0, 50, 50 });
    POINT pt = { 10, 10 };
    const UINT uFlags = UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST;
    EXPECT_EQ(child, container.FindControl(ReturnControl, &pt, uFlags));
    container.SetMouseChildEnabled(false);
    EXPECT_EQ(&container, container.FindControl(ReturnControl, &pt, uFlags));
    POINT outside = { 60, 10 };
    EXPECT_EQ(nullptr, container.FindControl(ReturnControl, &outside, uFlags));
}

namespace {

struct TVisitLog
{
    std::vector<CControlUI*> visited;
};

CControlUI* CALLBACK LogVisit(CControlUI* pThis, LPVOID pData)
{
    static_cast<TVisitLog*>(pData)->visited.push_back(pThis);
    return nullptr;
}

} // namespace

// The walk order the tab and shortcut searches rely on; each control is offered once.
TEST(ContainerUI, FindControlWalkOrder)
{
    CContainerUI root;
    CContainerUI* inner = new CContainerUI;
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    CControlUI* c = new CControlUI;
    root.Add(a);
    root.Add(inner);
    inner->Add(b);
    root.Add(c);
    c->SetVisible(false);

    TVisitLog all;
    root.FindControl(LogVisit, &all, UIFIND_ALL);
    EXPECT_EQ((std::vector<CControlUI*>{ a, b, inner, c, &root }), all.visited);

    TVisitLog meFirst;
    root.FindControl(LogVisit, &meFirst, UIFIND_VISIBLE | UIFIND_ME_FIRST);
    EXPECT_EQ((std::vector<CControlUI*>{ &root, a, inner, b }), meFirst.visited);

    TVisitLog topFirst;
    root.FindControl(LogVisit, &topFirst, UIFIND_ME_FIRST | UIFIND_TOP_FIRST);
    EXPECT_EQ((std::vector<CControlUI*>{ &root, c, inner, b, a }), topFirst.visited);
}

TEST(ContainerUI, FindSelectableSkipsNonItems)
{
    CContainerUI list;
    EXPECT_EQ(-1, list.FindSelectable(0, true));
    list.Add(new CTrackedControl(nullptr, false));
    list.Add(new CTrackedControl(nullptr, true));
    CTrackedControl* disabled = new CTrackedControl(nullptr, true);
    disabled->SetEnabled(false);
    list.Add(disabled);
    list.Add(new CTrackedControl(nullptr, true));
    struct Case
    {
        int index;
        bool forward;
        int expected;
    };
    const Case cases[] = {
        { 0, true, 1 },  { 2, true, 3 },  { 9, true, 3 },
        { -3, true, 1 }, { 2, false, 1 }, { 0, false, 1 }, // nothing below: searches forward from 0
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, list.FindSelectable(c.index, c.forward)) << c.index;
}

// Content that fits hides the bar with range and position 0; content that does not
// fit shows it with the overflow as its range.
TEST(ContainerUI, ProcessScrollBarRangeAndHiding)
{
    CContainerUI container;
    container.EnableScrollBar(true, false);
    CScrollbarUI* bar = container.GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    container.SetPos(RECT{ 0, 0, 100, 100 });

    container.ProcessScrollBar(RECT{ 0, 0, 84, 100 }, 84, 250);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(150, bar->GetScrollRange());
    EXPECT_EQ(150, container.GetScrollRange().cy);

    container.SetScrollPos(SIZE{ 0, 120 });
    EXPECT_EQ(120, bar->GetScrollPos());
    container.ProcessScrollBar(RECT{ 0, 0, 84, 100 }, 84, 60);
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_EQ(0, container.GetScrollPos().cy);

    bar->SetVisible(false);
    container.ProcessScrollBar(RECT{ 0, 0, 100, 100 }, 100, 300);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(200, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
}

TEST(ContainerUI, ScrollingMovesNonFloatChildren)
{
    CContainerUI container;
    container.EnableScrollBar(true, false);
    CControlUI* child = new CControlUI;
    CControlUI* floater = new CControlUI;
    floater->SetFloat(true);
    floater->SetFixedWidth(10);
    floater->SetFixedHeight(10);
    container.Add(child);
    container.Add(floater);
    container.SetPos(RECT{ 0, 0, 100, 100 });
    container.GetVerticalScrollBar()->SetScrollRange(50);
    RECT before = child->GetPos();

    container.SetScrollPos(SIZE{ 0, 0 }); // already there: nothing moves
    EXPECT_TRUE(SameRect(before, child->GetPos()));

    container.SetScrollPos(SIZE{ 0, 30 });
    EXPECT_EQ(before.top - 30, child->GetPos().top);
    EXPECT_EQ(0, floater->GetPos().top);

    container.SetScrollPos(SIZE{ 0, 500 }); // clamped by the bar
    EXPECT_EQ(50, container.GetScrollPos().cy);
    EXPECT_EQ(before.top - 50, child->GetPos().top);

    // Keys and the wheel scroll through the visible bar: 8 pixels a line without a manager.
    TEventRecUI up = { EventKeyDown, nullptr, 0, {}, VK_UP, 0, 0, 0 };
    container.DoEvent(up);
    EXPECT_EQ(42, container.GetScrollPos().cy);
    TEventRecUI home = { EventKeyDown, nullptr, 0, {}, VK_HOME, 0, 0, 0 };
    container.DoEvent(home);
    EXPECT_EQ(0, container.GetScrollPos().cy);
    TEventRecUI wheel = { EventScrollWheel, nullptr, 0, {}, 0, 0, 1, 0 };
    container.DoEvent(wheel);
    EXPECT_EQ(8, container.GetScrollPos().cy);
    TEventRecUI end = { EventKeyDown, nullptr, 0, {}, VK_END, 0, 0, 0 };
    container.DoEvent(end);
    EXPECT_EQ(50, container.GetScrollPos().cy);
    TEventRecUI pageUp = { EventKeyDown, nullptr, 0, {}, VK_PRIOR, 0, 0, 0 };
    container.DoEvent(pageUp);
    EXPECT_EQ(0, container.GetScrollPos().cy);
}

TEST(ContainerUI, HidingPropagatesToChildren)
{
    CContainerUI container;
    CContainerUI* inner = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    container.Add(inner);
    inner->Add(leaf);
    container.SetVisible(false);
    EXPECT_FALSE(leaf->IsVisible());
    EXPECT_TRUE(leaf->IsOwnVisible());
    container.SetVisible(true);
    EXPECT_TRUE(leaf->IsVisible());
}
