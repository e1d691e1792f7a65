#include <gtest/gtest.h>

#include "UpdCoreTestSupport.h"

using namespace UpdCoreTest;

namespace {

class CPlainWnd : public CWindowWnd
{
public:
    int finalMessages = 0;
    HWND finalHandle = nullptr;

    LPCWSTR GetWindowClassName() const override { return L"UpdPlainWnd"; }
    void OnFinalMessage(HWND hWnd) override
    {
        ++finalMessages;
        finalHandle = hWnd;
    }
};

class CButtonWnd : public CWindowWnd
{
public:
    int messages = 0;
    LPCWSTR GetWindowClassName() const override { return L"UpdButtonWnd"; }
    LPCWSTR GetSuperClassName() const override { return L"BUTTON"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        ++messages;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

CPlainWnd* s_pDialog = nullptr;
HWND s_hOwner = nullptr;
bool* s_pDisabled = nullptr;

void CALLBACK CloseFromInsideTheLoop(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    ::KillTimer(nullptr, idEvent);
    *s_pDisabled = ::IsWindowEnabled(s_hOwner) == FALSE;
    s_pDialog->Close(7);
}

class CUpdWindowWnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
};

} // namespace

TEST_F(CUpdWindowWnd, SecondWindowOfAClassReusesTheRegistration)
{
    CPlainWnd first;
    CPlainWnd second;
    ASSERT_NE(nullptr, first.Create(nullptr, L"one", WS_POPUP, 0, 0, 0, 10, 10));
    ASSERT_NE(nullptr, second.Create(nullptr, L"two", WS_POPUP, 0, 0, 0, 10, 10));
    EXPECT_EQ(&first, reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(first.GetWindowHandle(), GWLP_USERDATA)));
    HWND hWnd = second.GetWindowHandle();
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, second.GetWindowHandle());
    EXPECT_EQ(1, second.finalMessages);
    EXPECT_EQ(hWnd, second.finalHandle);
    ::DestroyWindow(first.GetWindowHandle());
    // Showing or closing a window that is gone does nothing.
    first.Show(true);
    first.Close(3);
    EXPECT_EQ(1, first.finalMessages);
}

TEST_F(CUpdWindowWnd, SuperclassKeepsTheObjectInAPropertyAndDropsIt)
{
    CButtonWnd button;
    HWND hWnd = button.Create(nullptr, L"press", WS_POPUP, 0, 0, 0, 40, 20);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(&button, ::GetPropW(hWnd, L"WndX"));
    wchar_t szText[16] = {};
    ::GetWindowTextW(hWnd, szText, 16);
    EXPECT_STREQ(L"press", szText);
    EXPECT_GT(button.messages, 0);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, button.GetWindowHandle());
}

TEST_F(CUpdWindowWnd, ModalLoopReturnsTheCloseCodeAndEnablesTheOwner)
{
    CPlainWnd owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_POPUP, 0, 0, 0, 50, 50));
    CPlainWnd dialog;
    ASSERT_NE(nullptr, dialog.Create(owner.GetWindowHandle(), L"dialog", WS_POPUP, 0, 0, 0, 30, 30));
    bool ownerDisabledDuringLoop = false;
    // The close request and a probe of the owner's state run from inside the loop.
    s_pDialog = &dialog;
    s_hOwner = owner.GetWindowHandle();
    s_pDisabled = &ownerDisabledDuringLoop;
    UINT_PTR id = ::SetTimer(nullptr, 0, 10, CloseFromInsideTheLoop);
    ASSERT_NE(0u, id);
    EXPECT_EQ(7u, dialog.RunModalLoop());
    EXPECT_TRUE(ownerDisabledDuringLoop);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetWindowHandle()));
    EXPECT_EQ(nullptr, dialog.GetWindowHandle());
    ::DestroyWindow(owner.GetWindowHandle());
}

TEST_F(CUpdWindowWnd, QuitDuringAModalLoopIsPostedAgain)
{
    CPlainWnd dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", WS_POPUP, 0, 0, 0, 30, 30));
    ::PostQuitMessage(42);
    EXPECT_EQ(0u, dialog.RunModalLoop());
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, msg.wParam);
    ::DestroyWindow(dialog.GetWindowHandle());
}

TEST_F(CUpdWindowWnd, CenterWindowKeepsAWideWindowAtTheWorkAreaLeft)
{
    RECT rcArea = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
    int nWidth = rcArea.right - rcArea.left + 200;
    CPlainWnd wide;
    ASSERT_NE(nullptr, wide.Create(nullptr, L"wide", WS_POPUP, 0, 300, 300, nWidth, 100));
    wide.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(wide.GetWindowHandle(), &rc);
    EXPECT_EQ(rcArea.left, rc.left);
    EXPECT_EQ(nWidth, rc.right - rc.left);
    EXPECT_EQ((rcArea.top + rcArea.bottom) / 2 - 50, rc.top);
    ::DestroyWindow(wide.GetWindowHandle());
}
