#include <gtest/gtest.h>

#include "ScrollBarUI.h"
#include "UpdCoreTestSupport.h"

using namespace UpdCoreTest;

namespace {

// A control that counts how often it is placed.
class CPlacedUI : public CProbeUI
{
public:
    using CProbeUI::CProbeUI;
    void SetPos(RECT rc) override
    {
        ++placements;
        CProbeUI::SetPos(rc);
    }
    int placements = 0;
};

class CListItemUI : public CProbeUI
{
public:
    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (wcscmp(pstrName, L"ListItem") == 0) return this;
        return CProbeUI::GetInterface(pstrName);
    }
};

// A container that lays its children out in a column of 30-pixel rows and lets the
// scroll bar follow the content, as the layouts do.
class CColumnUI : public CContainerUI
{
public:
    void SetPos(RECT rc) override
    {
        CControlUI::SetPos(rc);
        RECT rcInner = GetClientRect();
        int cyNeeded = 30 * GetCount();
        SIZE szPos = GetScrollPos();
        for (int i = 0; i < GetCount(); ++i) {
            RECT rcItem = { rcInner.left, rcInner.top + 30 * i - szPos.cy, rcInner.right,
                            rcInner.top + 30 * (i + 1) - szPos.cy };
            GetItemAt(i)->SetPos(rcItem);
        }
        ProcessScrollBar(rcInner, 0, cyNeeded);
    }
};

using CUpdContainer = CHostedManagerFixture;

} // namespace

TEST(UpdContainerList, RemoveOfAStrangerFailsAndWithoutAutoDestroyTheChildSurvives)
{
    int deleted = 0;
    CContainerUI container;
    CProbeUI stranger;
    CProbeUI* pChild = new CProbeUI(L"child", 0, L"ProbeUI", &deleted);
    ASSERT_TRUE(container.Add(pChild));
    EXPECT_FALSE(container.Remove(&stranger));
    EXPECT_FALSE(container.Remove(nullptr));
    EXPECT_FALSE(container.RemoveAt(3));
    EXPECT_EQ(1, container.GetCount());
    container.SetAutoDestroy(false);
    EXPECT_TRUE(container.Remove(pChild));
    EXPECT_EQ(0, deleted);
    EXPECT_EQ(0, container.GetCount());
    delete pChild;
    EXPECT_EQ(1, deleted);

    container.SetAutoDestroy(true);
    ASSERT_TRUE(container.Add(new CProbeUI(L"a", 0, L"ProbeUI", &deleted)));
    EXPECT_TRUE(container.RemoveAt(0));
    EXPECT_EQ(2, deleted);
}

TEST(UpdContainerList, IndicesOrderAndBadPositions)
{
    CContainerUI container;
    CProbeUI* a = new CProbeUI(L"a");
    CProbeUI* b = new CProbeUI(L"b");
    CProbeUI* c = new CProbeUI(L"c");
    EXPECT_TRUE(container.Add(a));
    EXPECT_TRUE(container.Add(c));
    EXPECT_FALSE(container.AddAt(b, 3));
    EXPECT_FALSE(container.AddAt(b, -1));
    EXPECT_TRUE(container.AddAt(b, 1));
    EXPECT_EQ(1, container.GetItemIndex(b));
    EXPECT_EQ(nullptr, container.GetItemAt(3));
    EXPECT_TRUE(container.SetItemIndex(a, 2));
    EXPECT_EQ(c, container.GetItemAt(1));
    EXPECT_EQ(a, container.GetItemAt(2));
    // A bad new index keeps the child where it was.
    EXPECT_FALSE(container.SetItemIndex(a, 7));
    EXPECT_EQ(a, container.GetItemAt(2));
    EXPECT_EQ(3, container.GetCount());
    EXPECT_EQ(static_cast<IContainerUI*>(&container), container.GetInterface(L"IContainer"));
    EXPECT_EQ(&container, container.GetInterface(L"Container"));
    EXPECT_STREQ(L"ContainerUI", container.GetControlClass());
}

TEST(UpdContainerList, ChildOfAHiddenContainerBecomesVisibleWithIt)
{
    CContainerUI container;
    container.SetVisible(false);
    CProbeUI* pChild = new CProbeUI;
    container.Add(pChild);
    EXPECT_FALSE(pChild->IsVisible());
    container.SetVisible(true);
    EXPECT_TRUE(pChild->IsVisible());
    container.SetVisible(false);
    EXPECT_FALSE(pChild->IsVisible());
}

TEST(UpdContainerList, FindSelectableCases)
{
    CContainerUI plain;
    EXPECT_EQ(-1, plain.FindSelectable(0));
    for (int i = 0; i < 6; ++i) plain.Add(new CProbeUI);
    EXPECT_EQ(-1, plain.FindSelectable(5, false));
    EXPECT_EQ(-1, plain.FindSelectable(0, true));

    CContainerUI mixed;
    for (int i = 0; i < 6; ++i) mixed.Add(i == 1 || i == 4 ? static_cast<CControlUI*>(new CListItemUI) : new CProbeUI);
    EXPECT_EQ(4, mixed.FindSelectable(5, false));
    EXPECT_EQ(1, mixed.FindSelectable(3, false));
    EXPECT_EQ(4, mixed.FindSelectable(2, true));
    EXPECT_EQ(-1, mixed.FindSelectable(5, true));
    EXPECT_EQ(1, mixed.FindSelectable(-4, true));
    mixed.GetItemAt(1)->SetEnabled(false);
    EXPECT_EQ(4, mixed.FindSelectable(0, false));
}

TEST(UpdContainerList, FloatChildWithNegativeXSitsFromTheRightEdge)
{
    CContainerUI container;
    CProbeUI* pFloat = new CProbeUI;
    pFloat->SetFloat(true);
    pFloat->SetFixedXY(SIZE{ -10, 5 });
    pFloat->SetFixedWidth(20);
    pFloat->SetFixedHeight(10);
    CProbeUI* pStacked = new CProbeUI;
    container.Add(pFloat);
    container.Add(pStacked);
    container.SetInset(Rect(2, 3, 4, 5));
    container.SetPos(Rect(100, 0, 200, 50));
    EXPECT_EQ(170, pFloat->GetPos().left);
    EXPECT_EQ(190, pFloat->GetPos().right);
    EXPECT_EQ(5, pFloat->GetPos().top);
    EXPECT_EQ(15, pFloat->GetPos().bottom);
    EXPECT_EQ(102, pStacked->GetPos().left);
    EXPECT_EQ(3, pStacked->GetPos().top);
    EXPECT_EQ(196, pStacked->GetPos().right);
    EXPECT_EQ(45, pStacked->GetPos().bottom);
}

TEST(UpdContainerList, RelativeFloatChildFollowsTheParentsGrowth)
{
    CContainerUI container;
    CProbeUI* pFloat = new CProbeUI;
    pFloat->SetFloat(true);
    pFloat->SetFixedXY(SIZE{ 10, 10 });
    pFloat->SetFixedWidth(20);
    pFloat->SetFixedHeight(20);
    pFloat->SetRelativePos(50, 0, 100, 0);
    container.Add(pFloat);
    container.SetPos(Rect(0, 0, 100, 100));
    EXPECT_EQ(10, pFloat->GetPos().left); // first placement only records the parent size
    container.SetPos(Rect(0, 0, 140, 100));
    EXPECT_EQ(30, pFloat->GetPos().left);
    EXPECT_EQ(90, pFloat->GetPos().right);
}

TEST(UpdContainerList, AttributesInsetPaddingAndScrollBars)
{
    CContainerUI container;
    container.SetAttribute(L"inset", L"1,2,3,4");
    container.SetAttribute(L"childpadding", L"7");
    container.SetAttribute(L"mousechild", L"false");
    container.SetAttribute(L"hscrollbar", L"true");
    EXPECT_EQ(1, container.GetInset().left);
    EXPECT_EQ(4, container.GetInset().bottom);
    EXPECT_EQ(7, container.GetChildPadding());
    EXPECT_FALSE(container.IsMouseChildEnabled());
    ASSERT_NE(nullptr, container.GetHorizontalScrollBar());
    EXPECT_TRUE(container.GetHorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(16, container.GetHorizontalScrollBar()->GetFixedHeight());
    EXPECT_EQ(nullptr, container.GetVerticalScrollBar());
    container.SetAttribute(L"vscrollbarstyle", L"width=\"12\"");
    ASSERT_NE(nullptr, container.GetVerticalScrollBar());
    EXPECT_EQ(12, container.GetVerticalScrollBar()->GetFixedWidth());
    EXPECT_EQ(&container, reinterpret_cast<CContainerUI*>(container.GetVerticalScrollBar()->GetOwner()));
    container.SetAttribute(L"hscrollbar", L"false");
    EXPECT_EQ(nullptr, container.GetHorizontalScrollBar());
    EXPECT_NE(nullptr, container.GetVerticalScrollBar());
}

TEST_F(CUpdContainer, ScrollBarHidesWhenTheContentFitsAndScrollingMovesChildren)
{
    CColumnUI* pColumn = new CColumnUI;
    pColumn->EnableScrollBar(true, false);
    CScrollBarUI* pBar = pColumn->GetVerticalScrollBar();
    ASSERT_NE(nullptr, pBar);
    pBar->SetVisible(false);
    std::vector<CPlacedUI*> rows;
    for (int i = 0; i < 6; ++i) {
        rows.push_back(new CPlacedUI);
        pColumn->Add(rows.back());
    }
    manager->AttachRoot(pColumn);
    pColumn->SetPos(Rect(0, 0, 100, 100)); // 180 pixels of rows in 100
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(80, pBar->GetScrollRange());
    EXPECT_EQ(84, pBar->GetPos().left);
    EXPECT_EQ(84, rows[0]->GetPos().right);

    // Scrolling to where it already is moves nothing and repaints nothing.
    ::ValidateRect(host->GetWindowHandle(), nullptr);
    int before = rows[2]->placements;
    pColumn->SetScrollPos(SIZE{ 0, 0 });
    EXPECT_EQ(before, rows[2]->placements);
    RECT rcUpdate = {};
    EXPECT_FALSE(::GetUpdateRect(host->GetWindowHandle(), &rcUpdate, FALSE));

    pColumn->LineDown();
    int line = manager->GetDefaultFontInfo()->tm.tmHeight + 8;
    EXPECT_EQ(line, pBar->GetScrollPos());
    EXPECT_EQ(60 - line, rows[2]->GetPos().top);
    pColumn->EndDown();
    EXPECT_EQ(80, pColumn->GetScrollPos().cy);
    EXPECT_EQ(-80, rows[0]->GetPos().top);
    pColumn->HomeUp();
    EXPECT_EQ(0, rows[0]->GetPos().top);

    // Keys reach the bar through the container's event handling.
    TEventRecUI key = {};
    key.type = EventKeyDown;
    key.keyChar = VK_NEXT;
    pColumn->Event(key);
    EXPECT_EQ(80, pColumn->GetScrollPos().cy);

    // Room for every row: the bar hides with position and range reset.
    pColumn->SetPos(Rect(0, 0, 100, 300));
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(0, pBar->GetScrollPos());
    EXPECT_EQ(0, pBar->GetScrollRange());
    EXPECT_EQ(0, rows[0]->GetPos().top);
}

TEST_F(CUpdContainer, HitTestPrefersTopmostChildAndHonoursMouseChild)
{
    CContainerUI* pRoot = new CContainerUI;
    CProbeUI* pBottom = new CProbeUI(L"bottom");
    CProbeUI* pTop = new CProbeUI(L"top");
    pRoot->Add(pBottom);
    pRoot->Add(pTop);
    manager->AttachRoot(pRoot);
    pRoot->SetPos(Rect(0, 0, 100, 100));
    EXPECT_EQ(pTop, manager->FindControlAt(POINT{ 10, 10 }));
    pTop->SetMouseEnabled(false);
    EXPECT_EQ(pBottom, manager->FindControlAt(POINT{ 10, 10 }));
    pRoot->SetMouseChildEnabled(false);
    EXPECT_EQ(pRoot, manager->FindControlAt(POINT{ 10, 10 }));
    EXPECT_EQ(nullptr, manager->FindControlAt(POINT{ 150, 10 }));
}

TEST_F(CUpdContainer, RemovedChildIsDeletedOnTheCleanupMessage)
{
    int deleted = 0;
    CContainerUI* pRoot = new CContainerUI;
    CProbeUI* pChild = new CProbeUI(L"gone", 0, L"ProbeUI", &deleted);
    pRoot->Add(pChild);
    manager->AttachRoot(pRoot);
    ASSERT_EQ(pChild, manager->FindControl(L"gone"));
    ASSERT_TRUE(manager->SetTimer(pChild, 1, 10000));
    EXPECT_TRUE(pRoot->Remove(pChild));
    EXPECT_EQ(0, deleted);
    EXPECT_EQ(nullptr, manager->FindControl(L"gone"));
    PumpMessages();
    EXPECT_EQ(1, deleted);
}
