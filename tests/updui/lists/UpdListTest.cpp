// The list control and its rows in a real window: selection by mouse, keys and wheel,
// the child-list bookkeeping, columns from the header and the row painting rules.
#include "UpdListsTestSupport.h"

using namespace UpdListsTest;

namespace {

const int kRowHeight = 20;

class ListTest : public CControlsFixture
{
protected:
    // A list over the whole client area without a visible header; rows 20 pixels high.
    CListUI* MakeList(int nRows, bool bAttach = true)
    {
        CListUI* pList = new CListUI;
        pList->SetAttribute(L"header", L"hidden");
        for (int i = 0; i < nRows; ++i) {
            CListLabelElementUI* pRow = MakeRow(RowName(i).c_str(), kRowHeight);
            pRow->SetName(RowName(i).c_str());
            pList->Add(pRow);
        }
        if (bAttach) Attach(pList);
        return pList;
    }
    CControlUI* Row(CListUI* pList, int i) { return pList->GetItemAt(i); }
    IListItemUI* Face(CListUI* pList, int i)
    {
        return static_cast<IListItemUI*>(pList->GetItemAt(i)->GetInterface(L"ListItem"));
    }
    int RowY(int i) const { return i * kRowHeight + kRowHeight / 2; }
};

TEST_F(ListTest, SelectItemOfTheSelectedRowIsTrueAndQuiet)
{
    CListUI* pList = MakeList(4);
    ASSERT_TRUE(pList->SelectItem(2));
    EXPECT_TRUE(Face(pList, 2)->IsSelected());
    ASSERT_EQ(1, log.Count(L"itemselect"));
    EXPECT_EQ(2u, log.records.back().wParam);
    EXPECT_EQ(-1, static_cast<int>(log.records.back().lParam));

    EXPECT_TRUE(pList->SelectItem(2));
    EXPECT_EQ(1, log.Count(L"itemselect"));
}

TEST_F(ListTest, SelectItemRefusesRowsThatCannotBeSelected)
{
    struct Case
    {
        const char* what;
        void (*spoil)(CControlUI*);
    } cases[] = {
        { "hidden", [](CControlUI* p) { p->SetVisible(false); } },
        { "disabled", [](CControlUI* p) { p->SetEnabled(false); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CListUI* pList = MakeList(3);
        ASSERT_TRUE(pList->SelectItem(0));
        c.spoil(Row(pList, 1));
        EXPECT_FALSE(pList->SelectItem(1));
        EXPECT_EQ(-1, pList->GetCurSel());
        EXPECT_FALSE(Face(pList, 0)->IsSelected());
        EXPECT_FALSE(Face(pList, 1)->IsSelected());
        EXPECT_FALSE(pList->SelectItem(7)); // past the end
    }
}

TEST_F(ListTest, RemovingTheSelectedRowSelectsTheNearestBefore)
{
    // The search starts at the old index, which the next row now holds.
    CListUI* pList = MakeList(5);
    ASSERT_TRUE(pList->SelectItem(1));
    ASSERT_TRUE(pList->RemoveAt(1));
    EXPECT_EQ(1, pList->GetCurSel());
    EXPECT_STREQ(L"row2", pList->GetItemAt(1)->GetName().GetData());
    EXPECT_TRUE(Face(pList, 1)->IsSelected());

    // At the end, with the row before disabled, it runs back to the first selectable.
    Row(pList, 2)->SetEnabled(false);  // row3
    ASSERT_TRUE(pList->SelectItem(3)); // row4
    ASSERT_TRUE(pList->Remove(Row(pList, 3)));
    EXPECT_EQ(1, pList->GetCurSel());
    for (int i = 0; i < pList->GetCount(); ++i) EXPECT_EQ(i, Face(pList, i)->GetIndex());

    // A row before the selection moves it down by one.
    ASSERT_TRUE(pList->RemoveAt(0));
    EXPECT_EQ(0, pList->GetCurSel());
    EXPECT_STREQ(L"row2", pList->GetItemAt(0)->GetName().GetData());

    pList->RemoveAll();
    EXPECT_EQ(-1, pList->GetCurSel());
    EXPECT_EQ(0, pList->GetCount());
    EXPECT_FALSE(pList->RemoveAt(0));
}

TEST_F(ListTest, InsertingAtOrBeforeTheSelectionKeepsTheSameRow)
{
    CListUI* pList = MakeList(3);
    ASSERT_TRUE(pList->SelectItem(1));
    const int positions[] = { 1, 0 };
    for (int iAt : positions) {
        CControlUI* pSelected = Row(pList, pList->GetCurSel());
        ASSERT_TRUE(pList->AddAt(MakeRow(L"new"), iAt));
        EXPECT_EQ(pSelected, Row(pList, pList->GetCurSel()));
        for (int i = 0; i < pList->GetCount(); ++i) EXPECT_EQ(i, Face(pList, i)->GetIndex());
    }
    // After the selection nothing moves.
    const int iSel = pList->GetCurSel();
    ASSERT_TRUE(pList->AddAt(MakeRow(L"tail"), iSel + 1));
    EXPECT_EQ(iSel, pList->GetCurSel());

    // Moving a row keeps the selection on its row.
    CControlUI* pSelected = Row(pList, iSel);
    ASSERT_TRUE(pList->SetItemIndex(pSelected, 0));
    EXPECT_EQ(0, pList->GetCurSel());
    for (int i = 0; i < pList->GetCount(); ++i) EXPECT_EQ(i, Face(pList, i)->GetIndex());
}

TEST_F(ListTest, HeaderWithFortyColumnsGivesThirtyTwoColumnRects)
{
    CListUI* pList = new CListUI;
    for (int i = 0; i < 40; ++i) {
        CListHeaderItemUI* pItem = new CListHeaderItemUI;
        pItem->SetFixedWidth(30);
        pList->Add(pItem);
    }
    ASSERT_EQ(40, pList->GetHeader()->GetCount());
    pList->Add(MakeRow(L"a"));
    Attach(pList);
    const TListInfoUI* pInfo = pList->GetListInfo();
    ASSERT_EQ(32, pInfo->nColumns);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(pList->GetHeader()->GetItemAt(i)->GetPos().left, pInfo->rcColumn[i].left) << i;
        EXPECT_EQ(30, pInfo->rcColumn[i].right - pInfo->rcColumn[i].left) << i;
    }
    // The rows are as wide as all the columns; the body scrolls horizontally.
    EXPECT_EQ(40 * 30, Row(pList, 0)->GetWidth());
}

TEST_F(ListTest, HeaderFromMarkupReplacesTheEmptyOne)
{
    CListUI* pList = new CListUI;
    CListHeaderUI* pHeader = new CListHeaderUI;
    pList->Add(pHeader);
    EXPECT_EQ(pHeader, pList->GetHeader());
    EXPECT_EQ(0, pList->GetItemIndex(pHeader));
    // Removing the header leaves a list without columns rather than a dangling one.
    EXPECT_TRUE(pList->Remove(pHeader));
    EXPECT_EQ(nullptr, pList->GetHeader());
    pList->Add(MakeRow(L"a"));
    Attach(pList);
    EXPECT_EQ(0, pList->GetListInfo()->nColumns);
}

TEST_F(ListTest, MouseSelectsActivatesAndIgnoresDisabledRows)
{
    CListUI* pList = MakeList(4);
    Row(pList, 3)->SetEnabled(false);
    Click(50, RowY(1));
    EXPECT_EQ(1, pList->GetCurSel());
    EXPECT_EQ(1, log.Count(L"itemclick"));
    EXPECT_EQ(1, log.Count(L"itemselect"));

    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 50, RowY(1));
    EXPECT_EQ(1, log.Count(L"itemactivate"));

    Click(50, RowY(3));
    EXPECT_EQ(1, pList->GetCurSel());
    EXPECT_EQ(1, log.Count(L"itemclick"));
    EXPECT_FALSE(Face(pList, 3)->Select(true));
    EXPECT_FALSE(Face(pList, 3)->IsSelected());
}

TEST_F(ListTest, DisablingARowClearsItsHotState)
{
    CListUI* pList = MakeList(2);
    Send(WM_MOUSEMOVE, 0, 50, RowY(0));
    CListElementUI* pRow = static_cast<CListElementUI*>(Row(pList, 0));
    ASSERT_NE(0u, pRow->GetState() & 0x08);
    pRow->SetEnabled(false);
    EXPECT_EQ(0u, pRow->GetState());
}

TEST_F(ListTest, KeysMoveTheSelection)
{
    CListUI* pList = MakeList(5);
    Click(50, RowY(0));
    ASSERT_EQ(0, pList->GetCurSel());
    struct Step
    {
        UINT vk;
        int expected;
    } steps[] = { { VK_DOWN, 1 }, { VK_DOWN, 2 }, { VK_UP, 1 }, { VK_END, 4 }, { VK_HOME, 0 } };
    for (const Step& s : steps) {
        SendKey(hWnd, s.vk);
        EXPECT_EQ(s.expected, pList->GetCurSel()) << s.vk;
    }
    SendKey(hWnd, VK_RETURN);
    EXPECT_EQ(1, log.Count(L"itemactivate"));
}

TEST_F(ListTest, EndWithTheLastRowDisabledSelectsNothing)
{
    CListUI* pList = MakeList(4);
    Row(pList, 3)->SetEnabled(false);
    Click(50, RowY(0));
    SendKey(hWnd, VK_END);
    EXPECT_EQ(-1, pList->GetCurSel());
    EXPECT_FALSE(Face(pList, 0)->IsSelected());
}

TEST_F(ListTest, KeysScrollTheSelectionIntoView)
{
    CListUI* pList = MakeList(30);
    pList->SetAttribute(L"vscrollbar", L"true");
    PaintNow(hWnd);
    Click(50, RowY(0));
    SendKey(hWnd, VK_END);
    ASSERT_EQ(29, pList->GetCurSel());
    const RECT rcBody = pList->GetListBody()->GetPos();
    const RECT rcRow = Row(pList, 29)->GetPos();
    EXPECT_GT(pList->GetScrollPos().cy, 0);
    EXPECT_LE(rcRow.bottom, rcBody.bottom);
    EXPECT_GE(rcRow.top, rcBody.top);
}

TEST_F(ListTest, WheelScrollsOrMovesTheSelection)
{
    for (bool bScrollSelect : { false, true }) {
        SCOPED_TRACE(bScrollSelect);
        CListUI* pList = MakeList(30);
        pList->SetAttribute(L"vscrollbar", L"true");
        pList->SetAttribute(L"scrollselect", bScrollSelect ? L"true" : L"false");
        PaintNow(hWnd);
        ASSERT_TRUE(pList->SelectItem(0));
        SendWheel(hWnd, -WHEEL_DELTA, 50, 50);
        SendWheel(hWnd, -WHEEL_DELTA, 50, 50);
        if (bScrollSelect) {
            EXPECT_EQ(2, pList->GetCurSel());
            EXPECT_EQ(0, pList->GetScrollPos().cy);
        } else {
            EXPECT_EQ(0, pList->GetCurSel());
            EXPECT_GT(pList->GetScrollPos().cy, 0);
        }
    }
}

TEST_F(ListTest, HidingTheSelectedRowClearsTheSelection)
{
    CListUI* pList = MakeList(3);
    ASSERT_TRUE(pList->SelectItem(1));
    Row(pList, 1)->SetVisible(false);
    EXPECT_EQ(-1, pList->GetCurSel());
    EXPECT_FALSE(Face(pList, 1)->IsSelected());
}

TEST_F(ListTest, ItemAlignSetsTheTextStyle)
{
    struct Case
    {
        LPCWSTR value;
        UINT style;
    } cases[] = {
        { L"right", DT_RIGHT | DT_VCENTER },
        { L"center", DT_CENTER | DT_VCENTER },
        { L"left", DT_LEFT | DT_VCENTER },
    };
    for (const Case& c : cases) {
        CListUI list;
        list.SetAttribute(L"itemalign", c.value);
        EXPECT_EQ(c.style, list.GetListInfo()->uTextStyle) << c.value;
    }
    CListUI list;
    list.SetAttribute(L"itemendellipsis", L"true");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_END_ELLIPSIS), list.GetListInfo()->uTextStyle);
    list.SetAttribute(L"itemselectedbkcolor", L"#FF112233");
    EXPECT_EQ(0xFF112233u, list.GetListInfo()->dwSelectedBkColor);
}

TEST_F(ListTest, AlternateBackgroundOnlyOnEvenRows)
{
    CListUI* pList = MakeList(3);
    pList->SetAttribute(L"itembkcolor", L"#FF0000FF");
    pList->SetAttribute(L"itemaltbk", L"true");
    pList->SetAttribute(L"itemtextcolor", L"#FF0000FF");
    PaintNow(hWnd);
    CDibCanvas canvas(400, 300);
    ::PatBlt(canvas.DC(), 0, 0, 400, 300, WHITENESS);
    const RECT rcAll = { 0, 0, 400, 300 };
    for (int i = 0; i < 3; ++i) Row(pList, i)->DoPaint(canvas.DC(), rcAll);
    EXPECT_EQ(0x0000FFu, canvas.Pixel(390, RowY(0)));
    EXPECT_EQ(0xFFFFFFu, canvas.Pixel(390, RowY(1)));
    EXPECT_EQ(0x0000FFu, canvas.Pixel(390, RowY(2)));
}

class CEightPlusLinks : public IListTextSourceUI
{
public:
    LPCWSTR GetItemText(CControlUI*, int, int) override
    {
        return L"<a 1>a</a> <a 2>b</a> <a 3>c</a> <a 4>d</a> <a 5>e</a>";
    }
};

TEST_F(ListTest, TextRowKeepsTheFirstEightLinks)
{
    CListUI* pList = new CListUI;
    for (int i = 0; i < 2; ++i) {
        CListHeaderItemUI* pItem = new CListHeaderItemUI;
        pItem->SetFixedWidth(190);
        pList->Add(pItem);
    }
    pList->SetAttribute(L"itemshowhtml", L"true");
    CEightPlusLinks source;
    pList->SetTextSource(&source);
    CListTextElementUI* pRow = new CListTextElementUI;
    pRow->SetFixedHeight(24);
    pList->Add(pRow);
    Attach(pList);
    CDibCanvas canvas(400, 300);
    pRow->DrawItemText(canvas.DC(), pRow->GetPos());
    ASSERT_EQ(CListTextElementUI::MAX_LINKS, pRow->GetLinkCount());
    EXPECT_STREQ(L"3", (pRow->GetLinkText(7)).GetData()); // the third link of the second column
    EXPECT_EQ(6u, pRow->GetControlFlags());

    // The window's own paint finds the same links; a click on the first reports it.
    PaintNow(hWnd);
    const RECT rcRow = pRow->GetPos();
    const int x = pList->GetListInfo()->rcColumn[0].left + 3;
    const int y = (rcRow.top + rcRow.bottom) / 2;
    Click(x, y);
    ASSERT_EQ(1, log.Count(L"link"));
    EXPECT_EQ(0u, log.records.back().wParam);
}

TEST_F(ListTest, HeaderItemCannotBeDraggedBelowItsMinimumWidth)
{
    CListUI* pList = new CListUI;
    CListHeaderItemUI* pItem = new CListHeaderItemUI;
    pItem->SetFixedWidth(20);
    pItem->SetFixedHeight(20);
    pList->Add(pItem);
    pList->Add(MakeRow(L"a"));
    Attach(pList);
    const RECT rc = pItem->GetPos();
    ASSERT_EQ(20, rc.right - rc.left);
    const int y = (rc.top + rc.bottom) / 2;
    // Pressing the separator and dragging left: 20 -> 15 would pass the minimum.
    Send(WM_MOUSEMOVE, 0, rc.right - 2, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, rc.right - 2, y);
    Send(WM_MOUSEMOVE, MK_LBUTTON, rc.right - 7, y);
    PaintNow(hWnd);
    EXPECT_EQ(20, pItem->GetWidth());
    // Dragging right widens it and the column follows.
    Send(WM_MOUSEMOVE, MK_LBUTTON, rc.right + 28, y);
    Send(WM_LBUTTONUP, 0, rc.right + 28, y);
    PaintNow(hWnd);
    EXPECT_EQ(50, pItem->GetWidth());
    EXPECT_EQ(50, pList->GetListInfo()->rcColumn[0].right - pList->GetListInfo()->rcColumn[0].left);
    EXPECT_EQ(0, log.Count(L"headerclick"));

    // A press away from the separator is a header click.
    Click(rc.left + 5, y);
    EXPECT_EQ(1, log.Count(L"headerclick"));
}

} // namespace

namespace {

TEST_F(ListTest, MarkupBuildsListsAndCombosWithTheirRows)
{
    CSkinBuilderUI builder;
    CControlUI* pRoot =
        builder.Build(L"<Window><VerticalLayout>"
                      L"<List name=\"list\" itemalign=\"right\"><ListHeader><ListHeaderItem text=\"A\" width=\"60\"/>"
                      L"<ListHeaderItem text=\"B\" width=\"70\"/></ListHeader>"
                      L"<ListTextElement/><ListLabelElement text=\"x\" selected=\"true\"/>"
                      L"<ListContainerElement height=\"30\"><Label text=\"in\"/></ListContainerElement></List>"
                      L"<Combo name=\"combo\" dropboxsize=\"0,90\"><ListLabelElement text=\"c\"/></Combo>"
                      L"<ComboBox name=\"box\"/></VerticalLayout></Window>",
                      nullptr, nullptr, manager);
    ASSERT_NE(nullptr, pRoot);
    Attach(pRoot);
    CListUI* pList = static_cast<CListUI*>(manager->FindControl(L"list")->GetInterface(L"List"));
    ASSERT_NE(nullptr, pList);
    EXPECT_EQ(3, pList->GetCount());
    EXPECT_EQ(2, pList->GetListInfo()->nColumns);
    EXPECT_EQ(60, pList->GetListInfo()->rcColumn[0].right - pList->GetListInfo()->rcColumn[0].left);
    EXPECT_EQ(static_cast<UINT>(DT_RIGHT | DT_VCENTER), pList->GetListInfo()->uTextStyle);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(i, Face(pList, i)->GetIndex());
    EXPECT_NE(nullptr, pList->GetItemAt(2)->GetInterface(L"ListContainerElement"));

    CComboUI* pCombo = static_cast<CComboUI*>(manager->FindControl(L"combo")->GetInterface(L"Combo"));
    ASSERT_NE(nullptr, pCombo);
    EXPECT_EQ(1, pCombo->GetCount());
    EXPECT_EQ(90, pCombo->GetDropBoxSize().cy);
    EXPECT_STREQ(L"ComboBoxUI", manager->FindControl(L"box")->GetControlClass());
}

} // namespace
