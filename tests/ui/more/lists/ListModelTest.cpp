#include <gtest/gtest.h>

#include <vector>

#include "UILib.h"

// The list, its rows and the combo box without a window: selection, marking,
// expansion, renumbering and the markup attributes, driven by direct calls and
// hand-made events.
namespace {

TEventRecUI MakeEvent(TEventTypeUI type, CControlUI* sender, POINT pt = POINT{ 0, 0 }, WORD key = 0)
{
    TEventRecUI event = {};
    event.type = type;
    event.sender = sender;
    event.mousePoint = pt;
    event.keyChar = key;
    event.wParam = key;
    return event;
}

// Holds the keyboard state of the thread with one key down while it lives.
class CKeyHeld
{
public:
    explicit CKeyHeld(int vk) : m_vk(vk) { Set(0x80); }
    ~CKeyHeld() { Set(0); }
    CKeyHeld(const CKeyHeld&) = delete;
    CKeyHeld& operator=(const CKeyHeld&) = delete;

private:
    void Set(BYTE state)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[m_vk] = state;
        ::SetKeyboardState(keys);
    }
    int m_vk;
};

template <class TItem> std::vector<TItem*> FillList(CListUI& list, int n)
{
    std::vector<TItem*> items;
    for (int i = 0; i < n; i++) {
        TItem* p = new TItem;
        p->SetFixedHeight(20);
        EXPECT_TRUE(list.Add(p));
        items.push_back(p);
    }
    return items;
}

std::vector<int> MarkedRows(CListUI& list)
{
    std::vector<int> rows;
    for (int i = 0; i < list.GetCount(); i++) {
        IListItemUI* p = static_cast<IListItemUI*>(list.GetItemAt(i)->GetInterface(L"ListItem"));
        if (p->IsSelected()) rows.push_back(i);
    }
    return rows;
}

} // namespace

TEST(ListSelection, RowsThatCannotBeSelectedLeaveNoSelection)
{
    CListUI list;
    std::vector<CListLabelElementUI*> items = FillList<CListLabelElementUI>(list, 4);
    items[1]->SetEnabled(false);
    items[2]->SetVisible(false);
    ASSERT_TRUE(list.SelectItem(0));

    EXPECT_FALSE(list.SelectItem(1)); // disabled
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_FALSE(items[0]->IsSelected());
    EXPECT_FALSE(list.SelectItem(2)); // hidden
    EXPECT_FALSE(list.SelectItem(9)); // no such row
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_TRUE(MarkedRows(list).empty());

    EXPECT_TRUE(list.SelectItem(3));
    EXPECT_EQ(3, list.GetCurSel());
    EXPECT_TRUE(items[3]->IsSelected());
}

TEST(ListSelection, ShiftMarksTheRangeAndKeepsTheAnchor)
{
    CListUI list;
    list.SetAttribute(L"multiselect", L"true");
    FillList<CListLabelElementUI>(list, 8);
    ASSERT_TRUE(list.SelectItem(3));
    {
        CKeyHeld shift(VK_SHIFT);
        EXPECT_TRUE(list.SelectItemMulti(6));
        EXPECT_EQ((std::vector<int>{ 3, 4, 5, 6 }), MarkedRows(list));
        EXPECT_EQ(3, list.GetCurSel());
        // Backwards from the same anchor replaces the earlier range.
        EXPECT_TRUE(list.SelectItemMulti(1));
        EXPECT_EQ((std::vector<int>{ 1, 2, 3 }), MarkedRows(list));
    }
    {
        CKeyHeld control(VK_CONTROL);
        EXPECT_TRUE(list.SelectItemMulti(6)); // adds row 6 and makes it current
        EXPECT_EQ((std::vector<int>{ 1, 2, 3, 6 }), MarkedRows(list));
        EXPECT_EQ(6, list.GetCurSel());
        EXPECT_TRUE(list.SelectItemMulti(6)); // and takes it away again
        EXPECT_EQ(-1, list.GetCurSel());
        EXPECT_EQ((std::vector<int>{ 1, 2, 3 }), MarkedRows(list));
    }
    EXPECT_TRUE(list.SelectItemMulti(5)); // no modifier: a single selection again
    EXPECT_EQ((std::vector<int>{ 5 }), MarkedRows(list));
    EXPECT_EQ(5, list.GetCurSel());
}

TEST(ListSelection, MultiSelectPressGoesToTheList)
{
    CListUI list;
    list.SetAttribute(L"multiselect", L"true");
    std::vector<CListLabelElementUI*> items = FillList<CListLabelElementUI>(list, 5);
    ASSERT_TRUE(list.SelectItem(1));
    CKeyHeld control(VK_CONTROL);
    TEventRecUI down = MakeEvent(EventButtonDown, items[3]);
    items[3]->DoEvent(down);
    // Select(true) would have dropped row 1; the multi-select path keeps it.
    EXPECT_EQ((std::vector<int>{ 1, 3 }), MarkedRows(list));
    EXPECT_EQ(3, list.GetCurSel());
}

struct TKeyCase
{
    const char* name;
    int iStart;
    WORD vk;
    int iExpected;
};

// Rows 0..5; row 0 and row 5 are disabled.
TEST(ListSelection, KeysMoveTheSelection)
{
    const TKeyCase cases[] = {
        { "down", 2, VK_DOWN, 3 },
        { "up", 2, VK_UP, 1 },
        { "home", 3, VK_HOME, 1 },
        { "end", 2, VK_END, 4 },
        { "down on the last selectable row stays", 4, VK_DOWN, 4 },
        { "up on the first selectable row stays", 1, VK_UP, 1 },
        { "down from nothing takes the first", -1, VK_DOWN, 1 },
    };
    for (const TKeyCase& c : cases) {
        CListUI list;
        std::vector<CListLabelElementUI*> items = FillList<CListLabelElementUI>(list, 6);
        items[0]->SetEnabled(false);
        items[5]->SetEnabled(false);
        if (c.iStart >= 0) {
            ASSERT_TRUE(list.SelectItem(c.iStart)) << c.name;
        }
        TEventRecUI key = MakeEvent(EventKeyDown, &list, POINT{ 0, 0 }, c.vk);
        list.DoEvent(key);
        EXPECT_EQ(c.iExpected, list.GetCurSel()) << c.name;
    }
}

TEST(ListSelection, LastRowKeepsItsSelectionOnDown)
{
    CListUI list;
    FillList<CListLabelElementUI>(list, 3);
    ASSERT_TRUE(list.SelectItem(2));
    TEventRecUI key = MakeEvent(EventKeyDown, &list, POINT{ 0, 0 }, VK_DOWN);
    list.DoEvent(key);
    EXPECT_EQ(2, list.GetCurSel());
    EXPECT_EQ((std::vector<int>{ 2 }), MarkedRows(list));
}

TEST(ListRows, RemovalAndInsertionKeepIndexesAndSelection)
{
    CListUI list;
    std::vector<CListLabelElementUI*> items = FillList<CListLabelElementUI>(list, 5);
    for (int i = 0; i < 5; i++) EXPECT_EQ(i, items[i]->GetIndex());

    ASSERT_TRUE(list.SelectItem(3));
    ASSERT_TRUE(list.RemoveAt(1)); // before the selection: it follows its row
    EXPECT_EQ(2, list.GetCurSel());
    EXPECT_TRUE(items[3]->IsSelected());
    EXPECT_EQ(2, items[3]->GetIndex());
    EXPECT_EQ(3, items[4]->GetIndex());

    CListLabelElementUI* pNew = new CListLabelElementUI;
    ASSERT_TRUE(list.AddAt(pNew, 0));
    EXPECT_EQ(0, pNew->GetIndex());
    EXPECT_EQ(3, list.GetCurSel());
    EXPECT_EQ(list.GetItemAt(3), items[3]);
    for (int i = 0; i < list.GetCount(); i++)
        EXPECT_EQ(i, static_cast<IListItemUI*>(list.GetItemAt(i)->GetInterface(L"ListItem"))->GetIndex());

    // The selected row goes: the row now in its place is selected and marked.
    ASSERT_TRUE(list.Remove(items[3]));
    EXPECT_EQ(3, list.GetCurSel());
    EXPECT_TRUE(items[4]->IsSelected());

    // Moving the selected row keeps it selected at its new place.
    ASSERT_TRUE(list.SetItemIndex(items[4], 0));
    EXPECT_EQ(0, list.GetCurSel());
    EXPECT_EQ(0, items[4]->GetIndex());
    for (int i = 0; i < list.GetCount(); i++)
        EXPECT_EQ(i, static_cast<IListItemUI*>(list.GetItemAt(i)->GetInterface(L"ListItem"))->GetIndex());

    EXPECT_FALSE(list.RemoveAt(-1));
    EXPECT_FALSE(list.RemoveAt(list.GetCount()));
}

TEST(ListRows, RemoveAllLeavesNoSelectionAndNoExpansion)
{
    CListUI list;
    list.SetAttribute(L"expanding", L"true");
    std::vector<CListExpandElementUI*> items = FillList<CListExpandElementUI>(list, 3);
    ASSERT_TRUE(list.SelectItem(1));
    ASSERT_TRUE(items[2]->Expand(true));
    EXPECT_EQ(2, list.GetExpandedItem());
    list.RemoveAll();
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(-1, list.GetExpandedItem());
    EXPECT_EQ(0, list.GetCount());
}

TEST(ListRows, ScrollBarAttributesKeepEachOther)
{
    CListUI list;
    list.SetAttribute(L"hscrollbar", L"true");
    list.SetAttribute(L"vscrollbar", L"true");
    EXPECT_NE(nullptr, list.GetVerticalScrollBar());
    EXPECT_NE(nullptr, list.GetHorizontalScrollBar());
    EXPECT_EQ(list.GetListBody()->GetVerticalScrollBar(), list.GetVerticalScrollBar());
}

TEST(ListHeader, HiddenHeaderStillGivesColumns)
{
    CListUI list;
    CListHeaderItemUI* a = new CListHeaderItemUI;
    a->SetFixedWidth(60);
    CListHeaderItemUI* b = new CListHeaderItemUI;
    b->SetFixedWidth(90);
    ASSERT_TRUE(list.Add(a));
    ASSERT_TRUE(list.Add(b));
    EXPECT_EQ(0, list.GetCount()) << "header items are no rows";
    list.SetAttribute(L"header", L"hidden");
    list.SetPos(RECT{ 10, 10, 310, 210 });

    TListInfoUI* info = list.GetListInfo();
    ASSERT_EQ(2, info->nColumns);
    EXPECT_EQ(10, info->rcColumn[0].left);
    EXPECT_EQ(70, info->rcColumn[0].right);
    EXPECT_EQ(70, info->rcColumn[1].left);
    EXPECT_EQ(160, info->rcColumn[1].right);
    EXPECT_FALSE(a->IsVisible());
    EXPECT_FALSE(list.GetHeader()->IsVisible());
}

TEST(ListHeader, MarkupHeaderReplacesTheEmptyDefaultAboveTheBody)
{
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(nullptr,
                                     L"<Window><List><ListHeader height=\"24\"><ListHeaderItem width=\"50\" />"
                                     L"</ListHeader><ListLabelElement text=\"a\" /></List></Window>");
    ASSERT_NE(nullptr, root);
    ASSERT_NE(nullptr, root->GetInterface(L"List"));
    CListUI* list = static_cast<CListUI*>(root);
    EXPECT_EQ(1, list->GetHeader()->GetCount());
    EXPECT_EQ(1, list->GetCount());
    EXPECT_EQ(0, list->GetItemIndex(list->GetHeader()));
    list->SetPos(RECT{ 0, 0, 200, 200 });
    EXPECT_EQ(0, list->GetHeader()->GetPos().top);
    EXPECT_EQ(24, list->GetListBody()->GetPos().top);
    delete root;
}

TEST(ListHeader, DraggingTheSeparatorStopsAboveTheMinimum)
{
    CListUI list;
    CListHeaderItemUI* item = new CListHeaderItemUI;
    item->SetFixedWidth(100);
    ASSERT_TRUE(list.Add(item));
    list.SetPos(RECT{ 0, 0, 300, 200 });
    ASSERT_EQ(100, item->GetWidth());

    TEventRecUI down = MakeEvent(EventButtonDown, item, POINT{ 98, 5 });
    item->DoEvent(down);
    EXPECT_NE(0u, item->GetButtonState() & 0x40);
    TEventRecUI move = MakeEvent(EventMouseMove, item, POINT{ 48, 5 });
    item->DoEvent(move);
    EXPECT_EQ(50, item->GetFixedWidth());
    list.SetPos(RECT{ 0, 0, 300, 200 });
    TEventRecUI tooFar = MakeEvent(EventMouseMove, item, POINT{ 8, 5 });
    item->DoEvent(tooFar);
    EXPECT_EQ(50, item->GetFixedWidth());
    TEventRecUI up = MakeEvent(EventButtonUp, item, POINT{ 8, 5 });
    item->DoEvent(up);
    EXPECT_EQ(0u, item->GetButtonState() & 0x40);
}

TEST(ListElements, HidingTheSelectedRowClearsTheSelection)
{
    CListUI list;
    std::vector<CListLabelElementUI*> items = FillList<CListLabelElementUI>(list, 3);
    ASSERT_TRUE(list.SelectItem(1));
    items[2]->SetVisible(false); // not selected: nobody is told
    EXPECT_EQ(1, list.GetCurSel());
    items[1]->SetVisible(false);
    EXPECT_FALSE(items[1]->IsSelected());
    EXPECT_EQ(-1, list.GetCurSel());
}

TEST(ListElements, SelectedAttributeSelectsWhateverItsValue)
{
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(nullptr,
                                     L"<Window><List><ListLabelElement /><ListTextElement selected=\"false\" />"
                                     L"</List></Window>");
    ASSERT_NE(nullptr, root);
    ASSERT_NE(nullptr, root->GetInterface(L"List"));
    CListUI* list = static_cast<CListUI*>(root);
    EXPECT_EQ(1, list->GetCurSel());
    delete root;
}

TEST(ListElements, DisabledRowsRefuseSelectionAndMarks)
{
    CListUI list;
    CListLabelElementUI* label = new CListLabelElementUI;
    CListContainerElementUI* box = new CListContainerElementUI;
    ASSERT_TRUE(list.Add(label));
    ASSERT_TRUE(list.Add(box));
    IListItemUI* faces[] = { label, box };
    label->SetEnabled(false);
    box->SetEnabled(false);
    for (IListItemUI* face : faces) {
        EXPECT_FALSE(face->Select(true));
        EXPECT_FALSE(face->MarkSelected(true));
        EXPECT_FALSE(face->IsSelected());
    }
    EXPECT_EQ(-1, list.GetCurSel());
}

TEST(ListElements, ContainerRowLetsChildrenTakeTheMouseOnlyWhileSelected)
{
    CListUI list;
    CListContainerElementUI* row = new CListContainerElementUI;
    ASSERT_TRUE(list.Add(row));
    ASSERT_TRUE(row->Select(true));
    EXPECT_TRUE(row->IsMouseChildEnabled());
    EXPECT_EQ(0, list.GetCurSel());
    ASSERT_TRUE(row->Select(false));
    EXPECT_FALSE(row->IsMouseChildEnabled());
}

TEST(ListElements, ExpanderReactsOnlyToReleaseWithExpandingOn)
{
    CListUI list;
    std::vector<CListExpandElementUI*> items = FillList<CListExpandElementUI>(list, 2);
    CListExpandElementUI* row = items[0];
    row->SetAttribute(L"expander", L"0,0,16,20");
    row->SetPos(RECT{ 0, 0, 200, 20 });
    const POINT inExpander = { 5, 5 };

    TEventRecUI up = MakeEvent(EventButtonUp, row, inExpander);
    row->DoEvent(up);
    EXPECT_FALSE(row->IsExpanded()) << "expanding is off";

    list.SetAttribute(L"expanding", L"true");
    TEventRecUI down = MakeEvent(EventButtonDown, row, inExpander);
    row->DoEvent(down);
    EXPECT_FALSE(row->IsExpanded()) << "a press only selects";
    EXPECT_TRUE(row->IsSelected());
    row->DoEvent(up);
    EXPECT_TRUE(row->IsExpanded());
    EXPECT_EQ(0, list.GetExpandedItem());

    TEventRecUI outside = MakeEvent(EventButtonUp, row, POINT{ 100, 5 });
    row->DoEvent(outside);
    EXPECT_TRUE(row->IsExpanded());

    // Expanding another row closes the first unless several may be open.
    ASSERT_TRUE(items[1]->Expand(true));
    EXPECT_FALSE(row->IsExpanded());
    EXPECT_EQ(1, list.GetExpandedItem());
    row->DoEvent(up);
    EXPECT_TRUE(row->IsExpanded());
    EXPECT_FALSE(items[1]->IsExpanded());
    EXPECT_EQ(0, list.GetExpandedItem());
}

// Asking the list itself to open a row goes through the row, which asks the
// list back: that round trip must settle instead of collapsing and reopening
// the same row without end.
TEST(ListElements, ListOpensAndClosesRowsThroughTheListInterface)
{
    for (bool multi : { false, true }) {
        SCOPED_TRACE(multi ? "several open" : "one open");
        CListUI list;
        list.SetAttribute(L"expanding", L"true");
        list.SetAttribute(L"multiexpanding", multi ? L"true" : L"false");
        std::vector<CListExpandElementUI*> items = FillList<CListExpandElementUI>(list, 3);
        IListUI* face = static_cast<IListUI*>(list.GetInterface(L"List"));
        ASSERT_NE(nullptr, face);

        ASSERT_TRUE(face->ExpandItem(1, true));
        EXPECT_TRUE(items[1]->IsExpanded());
        EXPECT_EQ(1, face->GetExpandedItem());
        ASSERT_TRUE(face->ExpandItem(1, true)) << "opening an open row again";
        EXPECT_TRUE(items[1]->IsExpanded());

        ASSERT_TRUE(face->ExpandItem(2, true));
        EXPECT_TRUE(items[2]->IsExpanded());
        EXPECT_EQ(multi, items[1]->IsExpanded());
        EXPECT_EQ(2, face->GetExpandedItem());

        ASSERT_TRUE(items[2]->Expand(false));
        EXPECT_FALSE(items[2]->IsExpanded());
        EXPECT_FALSE(face->ExpandItem(7, true)) << "no such row";
    }
}

TEST(ListElements, InterfaceNamesPerRowKind)
{
    CListLabelElementUI label;
    CListTextElementUI text;
    CListExpandElementUI expand;
    CListContainerElementUI box;
    EXPECT_NE(nullptr, label.GetInterface(L"ListLabelElement"));
    EXPECT_EQ(nullptr, label.GetInterface(L"ListTextElement"));
    EXPECT_NE(nullptr, text.GetInterface(L"ListTextElement"));
    EXPECT_NE(nullptr, text.GetInterface(L"ListLabelElement"));
    EXPECT_NE(nullptr, expand.GetInterface(L"ListExpandElement"));
    EXPECT_EQ(nullptr, expand.GetInterface(L"ListTextElement"));
    EXPECT_NE(nullptr, box.GetInterface(L"ListItem"));
    EXPECT_NE(nullptr, box.GetInterface(L"Container"));
    EXPECT_STREQ(L"ListContainerElement", box.GetControlClass());
}

TEST(ComboModel, SelectionRules)
{
    CComboUI combo;
    std::vector<CListLabelElementUI*> items;
    for (int i = 0; i < 5; i++) {
        items.push_back(new CListLabelElementUI);
        ASSERT_TRUE(combo.Add(items.back()));
        EXPECT_EQ(i, items.back()->GetIndex());
    }
    items[1]->SetEnabled(false);
    items[2]->SetVisible(false);
    EXPECT_FALSE(combo.SelectItem(1));
    EXPECT_EQ(-1, combo.GetCurSel());
    EXPECT_TRUE(combo.SelectItem(2)) << "an invisible enabled row can be selected";
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_TRUE(combo.SelectItem(99)) << "clamped to the last row";
    EXPECT_EQ(4, combo.GetCurSel());
    EXPECT_FALSE(combo.SelectItem(-1));
    EXPECT_EQ(-1, combo.GetCurSel());
    EXPECT_FALSE(items[4]->IsSelected());
}

TEST(ComboModel, RemovingTheSelectedRowReselectsFromItsPlace)
{
    CComboUI combo;
    std::vector<CListLabelElementUI*> items;
    for (int i = 0; i < 4; i++) {
        items.push_back(new CListLabelElementUI);
        items.back()->SetText(i == 2 ? L"two" : L"other");
        ASSERT_TRUE(combo.Add(items.back()));
    }
    ASSERT_TRUE(combo.SelectItem(2));
    EXPECT_STREQ(L"two", combo.GetText().GetData());
    ASSERT_TRUE(combo.RemoveAt(2));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_TRUE(items[3]->IsSelected());
    EXPECT_EQ(2, items[3]->GetIndex());

    ASSERT_TRUE(combo.RemoveAt(0)); // before the selection: it follows its row
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_TRUE(items[3]->IsSelected());

    TEventRecUI key = MakeEvent(EventKeyDown, &combo, POINT{ 0, 0 }, VK_UP);
    combo.DoEvent(key);
    EXPECT_EQ(0, combo.GetCurSel());
    combo.RemoveAll();
    EXPECT_EQ(-1, combo.GetCurSel());
    EXPECT_STREQ(L"", combo.GetText().GetData());
}

// The list's own children (header and body) are not its rows: a list placed in a
// layout must still be given its manager, visibility and places through them.
TEST(ListRows, ListInsideALayoutBuildsAndLaysOut)
{
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(nullptr,
                                     L"<Window><VerticalLayout><List name=\"list\" vscrollbar=\"true\">"
                                     L"<ListHeader height=\"20\"><ListHeaderItem width=\"100\" />"
                                     L"</ListHeader><ListLabelElement height=\"30\" />"
                                     L"<ListLabelElement height=\"30\" /></List></VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    CListUI* list = static_cast<CListUI*>(static_cast<CContainerUI*>(root)->GetItemAt(0));
    ASSERT_NE(nullptr, list->GetInterface(L"List"));
    root->SetPos(RECT{ 0, 0, 200, 300 });
    EXPECT_EQ(20, list->GetListBody()->GetPos().top);
    EXPECT_EQ(50, list->GetItemAt(1)->GetPos().top);
    list->SetVisible(false);
    EXPECT_FALSE(list->GetItemAt(0)->IsVisible());
    list->SetVisible(true);
    EXPECT_TRUE(list->GetItemAt(0)->IsVisible());
    delete root;
}
