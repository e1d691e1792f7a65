#include <gtest/gtest.h>

#include <vector>

#include "DibCanvas.h"
#include "ManagedHostWnd.h"
#include "PostedInput.h"
#include "UILib.h"

// One real window with a list and two combo boxes under the test display, driven by
// posted mouse, key and wheel messages, as the user would.
namespace {

// This window's tests pump one round more than the other window tests do.
const int kPumpRounds = 4;

const wchar_t kMarkup[] = L"<Window><VerticalLayout>"
                          L"<HorizontalLayout height=\"30\">"
                          L"<Combo name=\"combo\" width=\"150\" height=\"24\" />"
                          L"<Control width=\"20\" />"
                          L"<Combo name=\"small\" width=\"150\" height=\"24\" />"
                          L"</HorizontalLayout>"
                          L"<List name=\"list\" height=\"140\" vscrollbar=\"true\" itemlinecolor=\"#FF808080\">"
                          L"<ListHeader height=\"20\"><ListHeaderItem name=\"colA\" text=\"A\" width=\"100\" />"
                          L"<ListHeaderItem text=\"B\" width=\"100\" /></ListHeader>"
                          L"</List>"
                          L"<Button name=\"ok\" height=\"24\" text=\"OK\" />"
                          L"<Control />"
                          L"</VerticalLayout></Window>";

class CListWnd : public TBuiltSkinWnd<CWindowWnd, CWindowManagerUI, CControlUI, TNotifyLog<INotifyUI, TNotifyRecUI>>
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraListsTestWnd"; }

protected:
    CControlUI* BuildRoot(CWindowManagerUI& builderManager) override
    {
        CSkinBuilderUI builder;
        return builder.Build(nullptr, kMarkup, nullptr, nullptr, &builderManager);
    }
};

void PostKey(HWND hWnd, WORD vk)
{
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
    PumpMessages(kPumpRounds);
}

// One window for the whole suite: without a window manager Wine takes seconds to
// destroy a window.
class ListWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        s_wnd = new CListWnd;
        s_wnd->Create(nullptr, L"Lists", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 400, 400);
        if (s_wnd->root == nullptr) return;
        AddRows(static_cast<CListUI*>(s_wnd->manager.FindControl(L"list")), 20);
        AddRows(static_cast<CComboUI*>(s_wnd->manager.FindControl(L"combo")), 20);
        AddRows(static_cast<CComboUI*>(s_wnd->manager.FindControl(L"small")), 3);
        s_wnd->Show(true, false);
        ::UpdateWindow(s_wnd->GetWindowHandle());
        PumpMessages(kPumpRounds);
    }
    static void TearDownTestSuite()
    {
        if (s_wnd != nullptr && ::IsWindow(s_wnd->GetWindowHandle())) ::DestroyWindow(s_wnd->GetWindowHandle());
        PumpMessages(kPumpRounds);
        delete s_wnd;
        s_wnd = nullptr;
    }

    static void AddRows(IContainerUI* pContainer, int n)
    {
        ASSERT_NE(nullptr, pContainer);
        for (int i = 0; i < n; i++) {
            CListLabelElementUI* p = new CListLabelElementUI;
            CStringUI sText;
            sText.Format(L"row %d", i);
            p->SetText(sText.GetData());
            p->SetFixedHeight(20);
            pContainer->Add(p);
        }
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_wnd);
        ASSERT_NE(nullptr, s_wnd->root);
        m_hWnd = s_wnd->GetWindowHandle();
        m_list = static_cast<CListUI*>(s_wnd->manager.FindControl(L"list"));
        m_combo = static_cast<CComboUI*>(s_wnd->manager.FindControl(L"combo"));
        m_small = static_cast<CComboUI*>(s_wnd->manager.FindControl(L"small"));
        ASSERT_TRUE(m_list && m_combo && m_small);
        PumpMessages(kPumpRounds);
        s_wnd->log.records.clear();
    }

    HWND OpenDropDown(CComboUI* combo)
    {
        PostClick(m_hWnd, CentreOf(combo->GetPos()), kPumpRounds);
        CComboWnd* drop = combo->GetDropWindow();
        return drop != nullptr ? drop->GetWindowHandle() : nullptr;
    }

    static CListWnd* s_wnd;
    HWND m_hWnd = nullptr;
    CListUI* m_list = nullptr;
    CComboUI* m_combo = nullptr;
    CComboUI* m_small = nullptr;
};

CListWnd* ListWindowTest::s_wnd = nullptr;

} // namespace

TEST_F(ListWindowTest, ClickKeysAndWheelMoveTheSelectionAndScroll)
{
    CControlUI* row2 = m_list->GetItemAt(2);
    ASSERT_GT(row2->GetHeight(), 0);
    PostClick(m_hWnd, CentreOf(row2->GetPos()), kPumpRounds);
    EXPECT_EQ(2, m_list->GetCurSel());
    EXPECT_EQ(1, s_wnd->log.Count(NotifyItemClick, row2));
    EXPECT_EQ(1, s_wnd->log.Count(NotifyItemSelect, m_list));

    PostKey(m_hWnd, VK_DOWN);
    EXPECT_EQ(3, m_list->GetCurSel());

    CListBodyUI* body = m_list->GetListBody();
    PostKey(m_hWnd, VK_END);
    EXPECT_EQ(19, m_list->GetCurSel());
    EXPECT_GT(body->GetScrollPos().cy, 0);
    EXPECT_LE(m_list->GetItemAt(19)->GetPos().bottom, body->GetPos().bottom);
    EXPECT_GE(m_list->GetItemAt(19)->GetPos().top, body->GetPos().top);

    PostKey(m_hWnd, VK_DOWN);
    EXPECT_EQ(19, m_list->GetCurSel());

    ::PostMessageW(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    PumpMessages(kPumpRounds);
    EXPECT_EQ(18, m_list->GetCurSel());

    PostKey(m_hWnd, VK_HOME);
    EXPECT_EQ(0, m_list->GetCurSel());
    EXPECT_EQ(0, body->GetScrollPos().cy);
    EXPECT_EQ(m_list->GetHeader()->GetPos().bottom, m_list->GetItemAt(0)->GetPos().top);
}

TEST_F(ListWindowTest, RightReleaseOutsideTheRowIsNoRightClick)
{
    CControlUI* row = m_list->GetItemAt(1);
    const POINT inside = CentreOf(row->GetPos());
    ::PostMessageW(m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(inside.x, inside.y));
    ::PostMessageW(m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(390, 390));
    PumpMessages(kPumpRounds);
    EXPECT_EQ(1, s_wnd->log.Count(NotifyItemRightDown, row));
    EXPECT_EQ(0, s_wnd->log.Count(NotifyItemRightClick, row));
    EXPECT_EQ(1, m_list->GetCurSel());

    ::PostMessageW(m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(inside.x, inside.y));
    ::PostMessageW(m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
    PumpMessages(kPumpRounds);
    EXPECT_EQ(1, s_wnd->log.Count(NotifyItemRightClick, row));
}

TEST_F(ListWindowTest, HeaderItemsClickAndGiveColumns)
{
    CControlUI* colA = s_wnd->manager.FindControl(L"colA");
    ASSERT_NE(nullptr, colA);
    PostClick(m_hWnd, POINT{ colA->GetPos().left + 20, CentreOf(colA->GetPos()).y }, kPumpRounds);
    EXPECT_EQ(1, s_wnd->log.Count(NotifyHeaderClick, colA));
    TListInfoUI* info = m_list->GetListInfo();
    ASSERT_EQ(2, info->nColumns);
    EXPECT_EQ(colA->GetPos().right, info->rcColumn[1].left);
}

TEST_F(ListWindowTest, DropDownIsAsHighAsItsRowsUpToTheLimit)
{
    struct TCase
    {
        CComboUI* combo;
        int cyExpected;
    } cases[] = { { m_combo, 150 }, { m_small, 64 } };
    for (const TCase& c : cases) {
        HWND hDrop = OpenDropDown(c.combo);
        ASSERT_NE(nullptr, hDrop);
        EXPECT_EQ(1, s_wnd->log.Count(NotifyDropDown, c.combo));
        RECT rc = {};
        ::GetWindowRect(hDrop, &rc);
        EXPECT_EQ(c.cyExpected, rc.bottom - rc.top);
        POINT ptCombo = { c.combo->GetPos().left, c.combo->GetPos().bottom };
        ::ClientToScreen(m_hWnd, &ptCombo);
        EXPECT_EQ(ptCombo.x, rc.left);
        EXPECT_EQ(ptCombo.y, rc.top);
        CScrollbarUI* bar = c.combo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(c.cyExpected == 150, bar->IsVisible());
        PostKey(hDrop, VK_ESCAPE);
        EXPECT_EQ(nullptr, c.combo->GetDropWindow());
        EXPECT_FALSE(::IsWindow(hDrop));
        EXPECT_EQ(&s_wnd->manager, c.combo->GetItemAt(0)->GetManager()) << "the rows came back";
    }
}

TEST_F(ListWindowTest, ScrollBarClickKeepsTheDropDownAndARowClickClosesIt)
{
    HWND hDrop = OpenDropDown(m_combo);
    ASSERT_NE(nullptr, hDrop);
    CScrollbarUI* bar = m_combo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
    ASSERT_TRUE(bar != nullptr && bar->IsVisible());
    PostClick(hDrop, CentreOf(bar->GetButton2Rect()), kPumpRounds);
    EXPECT_TRUE(::IsWindow(hDrop));
    ASSERT_NE(nullptr, m_combo->GetDropWindow());
    EXPECT_GT(m_combo->GetDropWindow()->GetLayout()->GetScrollPos().cy, 0);

    CControlUI* row = m_combo->GetItemAt(4);
    PostClick(hDrop, CentreOf(row->GetPos()), kPumpRounds);
    EXPECT_FALSE(::IsWindow(hDrop));
    EXPECT_EQ(nullptr, m_combo->GetDropWindow());
    EXPECT_EQ(4, m_combo->GetCurSel());
    EXPECT_STREQ(L"row 4", m_combo->GetText().GetData());
    EXPECT_EQ(1, s_wnd->log.Count(NotifyItemSelect, m_combo));
    const RECT rcRow = row->GetPos();
    EXPECT_TRUE(::IsRectEmpty(&rcRow)) << "a row at home in the combo has no place";
}

TEST_F(ListWindowTest, EscapeRestoresTheSelectionTheDropDownOpenedWith)
{
    ASSERT_TRUE(m_combo->SelectItem(5));
    HWND hDrop = OpenDropDown(m_combo);
    ASSERT_NE(nullptr, hDrop);
    PostKey(hDrop, VK_DOWN);
    PostKey(hDrop, VK_DOWN);
    EXPECT_EQ(7, m_combo->GetCurSel());
    CControlUI* row7 = m_combo->GetItemAt(7);
    const RECT rcView = m_combo->GetDropWindow()->GetLayout()->GetPos();
    EXPECT_LE(row7->GetPos().bottom, rcView.bottom) << "the new selection is scrolled into view";
    PostKey(hDrop, VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(hDrop));
    EXPECT_EQ(5, m_combo->GetCurSel());
    EXPECT_TRUE(static_cast<CListLabelElementUI*>(m_combo->GetItemAt(5))->IsSelected());
    EXPECT_FALSE(static_cast<CListLabelElementUI*>(row7)->IsSelected());
}

// Without images the combo draws a 1-pixel frame, 2 pixels while the pointer is over it.
TEST_F(ListWindowTest, FrameWidensWhileHot)
{
    const RECT rc = m_small->GetPos();
    const int y = (rc.top + rc.bottom) / 2;
    ::PostMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(390, 390));
    PumpMessages(kPumpRounds);
    {
        CDibCanvas canvas(400, 400, RGB(1, 2, 3));
        ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
        EXPECT_EQ(0x4EA0D1u, canvas.Pixel(rc.left, y));
        EXPECT_NE(0x4EA0D1u, canvas.Pixel(rc.left + 1, y));
        EXPECT_NE(0x85E4FFu, canvas.Pixel(rc.left + 1, y));
    }
    ::PostMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(rc.left + 10, y));
    PumpMessages(kPumpRounds);
    EXPECT_NE(0u, m_small->GetButtonState() & 0x08);
    {
        CDibCanvas canvas(400, 400, RGB(1, 2, 3));
        ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
        EXPECT_EQ(0x85E4FFu, canvas.Pixel(rc.left, y));
        EXPECT_EQ(0x85E4FFu, canvas.Pixel(rc.left + 1, y));
        EXPECT_NE(0x85E4FFu, canvas.Pixel(rc.left + 2, y));
    }
    ::PostMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(390, 390));
    PumpMessages(kPumpRounds);
}

// The drop-down opens scrolled to the selected row and paints it selected, whether
// the row is near the top, in the middle or last.
TEST_F(ListWindowTest, DropDownOpensOnTheSelectedRow)
{
    for (int selected : { 0, 12, 19 }) {
        SCOPED_TRACE(selected);
        ASSERT_TRUE(m_combo->SelectItem(selected));
        HWND hDrop = OpenDropDown(m_combo);
        ASSERT_NE(nullptr, hDrop);
        const RECT rcView = m_combo->GetDropWindow()->GetLayout()->GetPos();
        const RECT rcRow = m_combo->GetItemAt(selected)->GetPos();
        EXPECT_GE(rcRow.top, rcView.top);
        EXPECT_LE(rcRow.bottom, rcView.bottom);
        EXPECT_EQ(selected > 6, m_combo->GetDropWindow()->GetLayout()->GetScrollPos().cy > 0);
        RECT rcDrop = {};
        ::GetClientRect(hDrop, &rcDrop);
        CDibCanvas canvas(rcDrop.right, rcDrop.bottom, RGB(1, 2, 3));
        ::SendMessageW(hDrop, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
        EXPECT_EQ(0xC1E3FFu, canvas.Pixel(rcRow.left + 40, (rcRow.top + rcRow.bottom) / 2));
        PostKey(hDrop, VK_ESCAPE);
        EXPECT_FALSE(::IsWindow(hDrop));
        EXPECT_EQ(selected, m_combo->GetCurSel());
    }
}

// A drop-down closed with Escape leaves nothing behind (capture, focus, activation)
// that would take the next click: the first click on a button counts.
TEST_F(ListWindowTest, FirstClickAfterEscapeClosedTheDropDownCounts)
{
    CControlUI* ok = s_wnd->manager.FindControl(L"ok");
    ASSERT_NE(nullptr, ok);
    ::SetForegroundWindow(m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == m_hWnd; }));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        s_wnd->log.records.clear();
        SendClickAt(m_hWnd, CentreOf(m_combo->GetPos()));
        ASSERT_TRUE(PumpUntil([&] { return m_combo->GetDropWindow() != nullptr; }));
        HWND hDrop = m_combo->GetDropWindow()->GetWindowHandle();
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hDrop; }));
        SendKeyPress(VK_ESCAPE);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hDrop); }));
        SendClickAt(m_hWnd, CentreOf(ok->GetPos()));
        EXPECT_TRUE(PumpUntil([&] { return s_wnd->log.Count(NotifyClick, ok) == 1; }));
    }
}
