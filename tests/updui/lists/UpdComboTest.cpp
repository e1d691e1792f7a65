// The combo box in a real window: selection rules, the drop-down window with its
// keys and clicks, its placement near the screen's bottom and the arrow image strip.
#include "UpdListsTestSupport.h"

using namespace UpdListsTest;

namespace {

const int kComboHeight = 24;

class ComboTest : public CControlsFixture
{
protected:
    void TearDown() override
    {
        PumpMessages();
        CControlsFixture::TearDown();
    }
    // A combo at the top left of a vertical layout that fills the window.
    template <class T = CComboUI> T* MakeCombo(int nRows)
    {
        layout = new CVerticalLayoutUI;
        T* pCombo = new T;
        pCombo->SetFixedWidth(200);
        pCombo->SetFixedHeight(kComboHeight);
        for (int i = 0; i < nRows; ++i) pCombo->Add(MakeRow(RowName(i).c_str()));
        layout->Add(pCombo);
        Attach(layout);
        return pCombo;
    }
    HWND DropWindow(CComboUI* pCombo) const
    {
        return pCombo->GetDropWindow() != nullptr ? pCombo->GetDropWindow()->GetWindowHandle() : nullptr;
    }
    HWND Open(CComboUI* pCombo)
    {
        Click(20, kComboHeight / 2);
        PaintNow(DropWindow(pCombo));
        return DropWindow(pCombo);
    }
    RECT ComboOnScreen(CComboUI* pCombo) const
    {
        RECT rc = pCombo->GetPos();
        ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<LPPOINT>(&rc), 2);
        return rc;
    }

    CVerticalLayoutUI* layout = nullptr;
};

TEST_F(ComboTest, SelectionRules)
{
    CComboUI* pCombo = MakeCombo(3);
    EXPECT_EQ(-1, pCombo->GetCurSel());
    EXPECT_TRUE(pCombo->GetText().IsEmpty());

    EXPECT_TRUE(pCombo->SelectItem(10));
    EXPECT_EQ(2, pCombo->GetCurSel());
    EXPECT_STREQ(L"row2", (pCombo->GetText()).GetData());
    ASSERT_EQ(1, log.Count(L"itemselect"));
    EXPECT_EQ(2u, log.records.back().wParam);

    pCombo->GetItemAt(0)->SetEnabled(false);
    EXPECT_FALSE(pCombo->SelectItem(0));
    EXPECT_EQ(-1, pCombo->GetCurSel());
    EXPECT_TRUE(pCombo->GetText().IsEmpty());

    // Removing the selected row falls back to the nearest selectable row before it.
    ASSERT_TRUE(pCombo->SelectItem(2));
    ASSERT_TRUE(pCombo->RemoveAt(2));
    EXPECT_EQ(1, pCombo->GetCurSel());
    ASSERT_TRUE(pCombo->AddAt(MakeRow(L"first"), 0));
    EXPECT_EQ(2, pCombo->GetCurSel());
    EXPECT_STREQ(L"row1", (pCombo->GetText()).GetData());
}

TEST_F(ComboTest, KeysAndWheelOnTheClosedCombo)
{
    CComboUI* pCombo = MakeCombo(4);
    pCombo->SetFocus();
    struct Step
    {
        UINT vk;
        int expected;
    } steps[] = { { VK_DOWN, 0 }, { VK_NEXT, 1 }, { VK_END, 3 }, { VK_UP, 2 }, { VK_HOME, 0 } };
    for (const Step& s : steps) {
        SendKey(hWnd, s.vk);
        EXPECT_EQ(s.expected, pCombo->GetCurSel()) << s.vk;
    }
    SendWheel(hWnd, -WHEEL_DELTA, 20, kComboHeight / 2);
    EXPECT_EQ(1, pCombo->GetCurSel());
    SendWheel(hWnd, WHEEL_DELTA, 20, kComboHeight / 2);
    EXPECT_EQ(0, pCombo->GetCurSel());
    EXPECT_EQ(nullptr, pCombo->GetDropWindow());
}

TEST_F(ComboTest, ClickOpensTheDropDownBelowWithTheRows)
{
    CComboUI* pCombo = MakeCombo(3);
    HWND hDrop = Open(pCombo);
    ASSERT_NE(nullptr, hDrop);
    EXPECT_EQ(1, log.Count(L"dropdown"));
    RECT rcDrop = {};
    ::GetWindowRect(hDrop, &rcDrop);
    const RECT rcCombo = ComboOnScreen(pCombo);
    EXPECT_EQ(rcCombo.bottom, rcDrop.top);
    EXPECT_EQ(rcCombo.left, rcDrop.left);
    EXPECT_EQ(3 * 20 + 4, rcDrop.bottom - rcDrop.top);
    EXPECT_EQ(pCombo->GetDropWindow()->GetManager(), pCombo->GetItemAt(0)->GetManager());

    // Selecting while it is open closes it; the rows come back to the combo.
    EXPECT_TRUE(pCombo->SelectItem(1));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDrop));
    EXPECT_EQ(nullptr, pCombo->GetDropWindow());
    EXPECT_EQ(manager, pCombo->GetItemAt(0)->GetManager());
    EXPECT_EQ(pCombo, pCombo->GetItemAt(0)->GetParent());
}

TEST_F(ComboTest, EscapeRestoresAndEnterKeeps)
{
    struct Case
    {
        UINT vk;
        int expected;
    } cases[] = { { VK_ESCAPE, 0 }, { VK_RETURN, 1 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        CComboUI* pCombo = MakeCombo(3);
        ASSERT_TRUE(pCombo->SelectItem(0));
        HWND hDrop = Open(pCombo);
        ASSERT_NE(nullptr, hDrop);
        ::SendMessageW(hDrop, WM_KEYDOWN, VK_DOWN, 1);
        EXPECT_EQ(1, pCombo->GetCurSel());
        ::SendMessageW(hDrop, WM_KEYDOWN, c.vk, 1);
        PumpMessages();
        EXPECT_EQ(c.expected, pCombo->GetCurSel());
        EXPECT_FALSE(::IsWindow(hDrop));
        EXPECT_EQ(nullptr, pCombo->GetDropWindow());
    }
}

TEST_F(ComboTest, ScrollBarClickKeepsItOpenRowClickCloses)
{
    CComboUI* pCombo = MakeCombo(20);
    HWND hDrop = Open(pCombo);
    ASSERT_NE(nullptr, hDrop);
    CScrollBarUI* pBar = pCombo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
    ASSERT_NE(nullptr, pBar);
    ASSERT_TRUE(pBar->IsVisible());
    const RECT rcBar = pBar->GetPos();
    const int xBar = (rcBar.left + rcBar.right) / 2, yBar = (rcBar.top + rcBar.bottom) / 2;
    ::SendMessageW(hDrop, WM_MOUSEMOVE, 0, MAKELPARAM(xBar, yBar));
    ::SendMessageW(hDrop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xBar, yBar));
    ::SendMessageW(hDrop, WM_LBUTTONUP, 0, MAKELPARAM(xBar, yBar));
    PumpMessages();
    ASSERT_TRUE(::IsWindow(hDrop));
    EXPECT_EQ(-1, pCombo->GetCurSel());

    RECT rcClient = {};
    ::GetClientRect(hDrop, &rcClient);
    CControlUI* pRow = pCombo->GetDropWindow()->GetManager()->FindControlAt(POINT{ 20, rcClient.bottom / 2 });
    ASSERT_NE(nullptr, pRow);
    ASSERT_NE(nullptr, pRow->GetInterface(L"ListItem"));
    const RECT rcRow = pRow->GetPos();
    const int xRow = rcRow.left + 5, yRow = (rcRow.top + rcRow.bottom) / 2;
    const int iExpected = pCombo->GetItemIndex(pRow);
    pCombo->GetDropWindow()->GetManager()->AddNotifier(&log); // the rows notify through it
    ::SendMessageW(hDrop, WM_MOUSEMOVE, 0, MAKELPARAM(xRow, yRow));
    ::SendMessageW(hDrop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xRow, yRow));
    ::SendMessageW(hDrop, WM_LBUTTONUP, 0, MAKELPARAM(xRow, yRow));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDrop));
    EXPECT_EQ(iExpected, pCombo->GetCurSel());
    EXPECT_EQ(1, log.Count(L"itemclick"));
}

TEST_F(ComboTest, AtTheBottomOfTheScreenItOpensAbove)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
    RECT rcOld = {};
    ::GetWindowRect(hWnd, &rcOld);
    ::SetWindowPos(hWnd, nullptr, rcOld.left, info.rcWork.bottom - 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CComboUI* pCombo = MakeCombo(3);
    HWND hDrop = Open(pCombo);
    ASSERT_NE(nullptr, hDrop);
    RECT rcDrop = {};
    ::GetWindowRect(hDrop, &rcDrop);
    const RECT rcCombo = ComboOnScreen(pCombo);
    EXPECT_EQ(rcCombo.top, rcDrop.bottom);
    EXPECT_EQ(3 * 20 + 4, rcDrop.bottom - rcDrop.top);
    pCombo->SelectItem(0);
    PumpMessages();
    ::SetWindowPos(hWnd, nullptr, rcOld.left, rcOld.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

TEST_F(ComboTest, RemovingTheComboWhileOpenClosesTheDropDown)
{
    CComboUI* pCombo = MakeCombo(3);
    HWND hDrop = Open(pCombo);
    ASSERT_NE(nullptr, hDrop);
    ASSERT_TRUE(layout->Remove(pCombo));
    PumpMessages(); // the layout deletes removed children after the current message
    EXPECT_FALSE(::IsWindow(hDrop));
}

class ComboBoxArrowTest : public ComboTest
{
protected:
    void SetUp() override
    {
        ComboTest::SetUp();
        folder = MakeTempFolder(L"updcomboarrow");
        // Five 10x10 frames: red, green, blue, black, grey.
        const DWORD frames[] = { 0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0x808080 };
        ASSERT_TRUE(WriteBmp(folder + L"arrow.bmp", 50, 10, [&](int x, int) { return frames[x / 10]; }));
        ASSERT_TRUE(WriteBmp(folder + L"face.bmp", 4, 4, [](int, int) { return 0x00FFFF; }));
        CWindowManagerUI::SetResourcePath(folder.c_str());
    }
    void TearDown() override
    {
        CWindowManagerUI::SetResourcePath(L"");
        ComboTest::TearDown();
    }
    DWORD ArrowPixel(CComboBoxUI* pCombo)
    {
        CDibCanvas canvas(400, 300);
        ::PatBlt(canvas.DC(), 0, 0, 400, 300, WHITENESS);
        pCombo->DoPaint(canvas.DC(), RECT{ 0, 0, 400, 300 });
        const RECT& rc = pCombo->GetPos();
        return canvas.Pixel(rc.right - 5, (rc.top + rc.bottom) / 2);
    }
    std::wstring folder;
};

TEST_F(ComboBoxArrowTest, FramesFollowTheState)
{
    CComboBoxUI* pCombo = MakeCombo<CComboBoxUI>(2);
    pCombo->SetAttribute(L"arrowimage", L"file='arrow.bmp' source='0,0,50,10'");
    manager->SetFocus(nullptr);
    EXPECT_EQ(0xFF0000u, ArrowPixel(pCombo));
    EXPECT_EQ(10, pCombo->GetArrowWidth());
    Send(WM_MOUSEMOVE, 0, 20, kComboHeight / 2);
    EXPECT_EQ(0x00FF00u, ArrowPixel(pCombo));
    pCombo->SetFocus();
    Send(WM_MOUSEMOVE, 0, 300, 200);
    EXPECT_EQ(0x000000u, ArrowPixel(pCombo));
    pCombo->SetEnabled(false);
    EXPECT_EQ(0x808080u, ArrowPixel(pCombo));
}

TEST_F(ComboBoxArrowTest, ArrowWithoutAQuotedSourceDrawsNoStatusImage)
{
    const LPCWSTR broken[] = { L"file='arrow.bmp'", L"file='arrow.bmp' source='0,0,50,10",
                               L"file='arrow.bmp' source=0" };
    for (LPCWSTR pstrArrow : broken) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(pstrArrow)));
        CComboBoxUI* pCombo = MakeCombo<CComboBoxUI>(2);
        pCombo->SetAttribute(L"normalimage", L"face.bmp");
        pCombo->SetAttribute(L"arrowimage", pstrArrow);
        EXPECT_EQ(0xFFFFFFu, ArrowPixel(pCombo));
    }
}

} // namespace
