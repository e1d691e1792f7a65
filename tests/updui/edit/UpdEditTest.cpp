#include <vector>

#include "UpdEditTestSupport.h"

using namespace UpdEditTest;

namespace {

class CUpdEdit : public CEditFixture
{
protected:
    // An edit at (10,10)-(210,40) with the given attributes and a second tab stop
    // below it. The first paint focuses the first tab stop, so the focus is cleared
    // again.
    CEditUI* PlacedEdit(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes = {})
    {
        CEditUI* pEdit = new CEditUI;
        Place(pEdit, L"10,10,210,40");
        for (const auto& a : attributes) pEdit->SetAttribute(a.first, a.second);
        pOther = new CEditUI;
        Place(pOther, L"10,60,210,90");
        Attach({ pEdit, pOther });
        manager->SetFocus(nullptr);
        PumpMessages();
        return pEdit;
    }
    HWND OpenWindow(CEditUI* pEdit)
    {
        pEdit->SetFocus();
        PumpMessages();
        return FindChild(L"EditWnd");
    }
    static std::wstring WindowText(HWND hEdit)
    {
        wchar_t szText[256] = {};
        ::GetWindowTextW(hEdit, szText, 256);
        return szText;
    }

    CEditUI* pOther = nullptr;
};

// Collects the EM_SETSEL requests that reach native edit windows of this thread.
std::vector<std::pair<WPARAM, LPARAM>> g_selRequests;

LRESULT CALLBACK RecordSetSel(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == EM_SETSEL) g_selRequests.emplace_back(pMsg->wParam, pMsg->lParam);
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

TEST_F(CUpdEdit, PasswordEditShowsOnlyStarsOnceTheFocusLeaves)
{
    CEditUI* pEdit = PlacedEdit({ { L"password", L"true" } });
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    EXPECT_NE(0, ::GetWindowLongPtrW(hEdit, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(L'*', ::SendMessageW(hEdit, EM_GETPASSWORDCHAR, 0, 0));
    TypeText(hEdit, L"abc");
    EXPECT_EQ(3, log.Count(L"textchanged"));

    manager->SetFocus(nullptr);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_STREQ(L"abc", pEdit->GetText().GetData());

    // Painted exactly as a label showing "***" with the edit's padding, not as "abc".
    CLabelUI stars;
    stars.SetManager(manager, nullptr, false);
    stars.SetTextPadding(Rect(4, 3, 4, 3));
    stars.SetBkColor(0xFFFFFFFF);
    stars.SetPos(pEdit->GetPos());
    RECT rcText = Rect(10, 10, 210, 40);
    CDibCanvas edit(220, 50, RGB(255, 255, 255)), expected(220, 50, RGB(255, 255, 255)),
        plain(220, 50, RGB(255, 255, 255));
    edit.Paint(pEdit, rcText);
    stars.SetText(L"***");
    expected.Paint(&stars, rcText);
    stars.SetText(L"abc");
    plain.Paint(&stars, rcText);
    EXPECT_GT(edit.CountOtherThan(rcText, 0xFFFFFF), 0);
    EXPECT_EQ(expected.Capture(rcText, 0xFFFFFF), edit.Capture(rcText, 0xFFFFFF));
    EXPECT_NE(plain.Capture(rcText, 0xFFFFFF), edit.Capture(rcText, 0xFFFFFF));
}

TEST_F(CUpdEdit, EnterSendsReturnAndInsertsNothing)
{
    CEditUI* pEdit = PlacedEdit();
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    TypeText(hEdit, L"ab");
    PressKey(hEdit, VK_RETURN);
    EXPECT_EQ(1, log.Count(L"return"));
    EXPECT_EQ(L"ab", WindowText(hEdit));
    EXPECT_STREQ(L"ab", pEdit->GetText().GetData());
    EXPECT_EQ(2, log.Count(L"textchanged"));
    for (const TNotifyRecUI& r : log.records) {
        if (r.type == L"return") {
            EXPECT_EQ(pEdit, r.sender);
        }
    }
}

TEST_F(CUpdEdit, MaxCharStopsTypingAfterFiveCharacters)
{
    CEditUI* pEdit = PlacedEdit({ { L"maxchar", L"5" } });
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    TypeText(hEdit, L"abcdefgh");
    EXPECT_EQ(L"abcde", WindowText(hEdit));
    EXPECT_STREQ(L"abcde", pEdit->GetText().GetData());
    // Wine also reports refused characters as changes; the text is what counts.
    EXPECT_GE(log.Count(L"textchanged"), 5);

    // A lower limit reaches the open window at once.
    pEdit->SetMaxChar(2);
    EXPECT_EQ(2, ::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0));
}

TEST_F(CUpdEdit, HidingWhileEditingClosesTheWindowAndKeepsTheText)
{
    CEditUI* pEdit = PlacedEdit();
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    TypeText(hEdit, L"xyz");
    pEdit->SetVisible(false);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(nullptr, manager->GetFocus());
    EXPECT_STREQ(L"xyz", pEdit->GetText().GetData());

    // Shown again, it opens a fresh window holding the kept text.
    pEdit->SetVisible(true);
    PaintNow(hWnd);
    hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    EXPECT_EQ(L"xyz", WindowText(hEdit));
}

TEST_F(CUpdEdit, ClickingIntoAFocusedEditSelectsAllItsText)
{
    CEditUI* pEdit = PlacedEdit();
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    // The keyboard focus leaves the native window; the control keeps the manager's focus.
    ::SetFocus(hWnd);
    PumpMessages();
    ASSERT_FALSE(::IsWindow(hEdit));
    ASSERT_EQ(pEdit, manager->GetFocus());

    g_selRequests.clear();
    HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordSetSel, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hHook);
    Click(100, 25);
    ::UnhookWindowsHookEx(hHook);
    hEdit = FindChild(L"EditWnd");
    ASSERT_NE(nullptr, hEdit);
    ASSERT_FALSE(g_selRequests.empty());
    EXPECT_EQ(0u, g_selRequests.back().first);
    EXPECT_EQ(1, g_selRequests.back().second);

    // With text, the whole text is selected.
    TypeText(hEdit, L"hello");
    ::SetFocus(hWnd);
    PumpMessages();
    Click(100, 25);
    hEdit = FindChild(L"EditWnd");
    ASSERT_NE(nullptr, hEdit);
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(5u, dwEnd);
}

TEST_F(CUpdEdit, NativeWindowTakesTheControlsSettings)
{
    CEditUI* pEdit = PlacedEdit({ { L"numberonly", L"true" },
                                  { L"readonly", L"true" },
                                  { L"nativebkcolor", L"#FF102030" },
                                  { L"text", L"42" } });
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    LONG_PTR style = ::GetWindowLongPtrW(hEdit, GWL_STYLE);
    EXPECT_NE(0, style & ES_NUMBER);
    EXPECT_NE(0, style & ES_READONLY);
    EXPECT_EQ(L"42", WindowText(hEdit));

    // The window lies over the text area, one font line high and centred in it.
    RECT rcWnd = {};
    ::GetWindowRect(hEdit, &rcWnd);
    ::MapWindowPoints(HWND_DESKTOP, hWnd, reinterpret_cast<POINT*>(&rcWnd), 2);
    RECT rcEdit = pEdit->GetEditRect();
    EXPECT_EQ(rcEdit.left, rcWnd.left);
    EXPECT_EQ(rcEdit.top, rcWnd.top);
    EXPECT_EQ(manager->GetFontInfo(-1)->tm.tmHeight, rcWnd.bottom - rcWnd.top);
    EXPECT_NEAR(25, (rcWnd.top + rcWnd.bottom) / 2, 1);

    // The window's colour request is answered with a brush of the native colour.
    HDC hDC = ::GetDC(hEdit);
    LRESULT lBrush =
        ::SendMessageW(hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hEdit));
    ::ReleaseDC(hEdit, hDC);
    ASSERT_NE(0, lBrush);
    LOGBRUSH lb = {};
    ::GetObjectW(reinterpret_cast<HBRUSH>(lBrush), sizeof(lb), &lb);
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), lb.lbColor);

    // Texts set while editing reach the window; read-only changes reach it too.
    pEdit->SetText(L"7");
    EXPECT_EQ(L"7", WindowText(hEdit));
    pEdit->SetReadOnly(false);
    EXPECT_EQ(0, ::GetWindowLongPtrW(hEdit, GWL_STYLE) & ES_READONLY);
    // Number-only: letters are refused, digits are taken.
    ::SendMessageW(hEdit, EM_SETSEL, 1, 1);
    TypeText(hEdit, L"x5");
    EXPECT_STREQ(L"75", pEdit->GetText().GetData());
}

TEST_F(CUpdEdit, AnEditRemovedWhileEditingLeavesItsWindowHarmless)
{
    CEditUI* pEdit = PlacedEdit();
    HWND hEdit = OpenWindow(pEdit);
    ASSERT_NE(nullptr, hEdit);
    CContainerUI* pRoot = static_cast<CContainerUI*>(manager->GetRoot());
    pRoot->Remove(pEdit);
    ::SendMessageW(hWnd, WM_UPDUI_CLEANUP, 0, 0); // the control is deleted now
    int nChanged = log.Count(L"textchanged");
    TypeText(hEdit, L"late");
    EXPECT_EQ(nChanged, log.Count(L"textchanged"));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hEdit));
}

TEST_F(CUpdEdit, AnswersItsNamesFlagsAndSize)
{
    CEditUI edit;
    EXPECT_STREQ(L"EditUI", edit.GetControlClass());
    EXPECT_EQ(&edit, edit.GetInterface(L"Edit"));
    EXPECT_EQ(&edit, edit.GetInterface(L"Label"));
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR), edit.GetControlFlags());
    EXPECT_EQ(0xFFFFFFFFu, edit.GetBkColor());
    EXPECT_EQ(255u, edit.GetMaxChar());
    edit.SetEnabled(false);
    EXPECT_EQ(0u, edit.GetControlFlags());

    edit.SetManager(manager, nullptr, false);
    EXPECT_EQ(manager->GetFontInfo(-1)->tm.tmHeight + 6, edit.EstimateSize(SIZE{ 100, 100 }).cy);
    edit.SetFixedHeight(30);
    EXPECT_EQ(30, edit.EstimateSize(SIZE{ 100, 100 }).cy);
}
