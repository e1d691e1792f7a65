#include <gtest/gtest.h>

#include <vector>

#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace {

// A plain window that records the messages it sees and what OnFinalMessage observed.
class CRecordingWnd : public CWindowWnd
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraTestRecordingWnd"; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(uMsg);
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    void OnFinalMessage(HWND hWnd) override
    {
        finalCalls++;
        handleAtFinal = GetWindowHandle();
        finalWindow = hWnd;
    }

    int Count(UINT uMsg) const
    {
        int n = 0;
        for (UINT m : messages) n += m == uMsg ? 1 : 0;
        return n;
    }

    std::vector<UINT> messages;
    int finalCalls = 0;
    HWND handleAtFinal = reinterpret_cast<HWND>(1);
    HWND finalWindow = nullptr;
};

class CEditSuperWnd : public CWindowWnd
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraTestEdit"; }
    LPCWSTR GetSuperClassName() const override { return L"Edit"; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_SETTEXT) setTextSeen++;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    void OnFinalMessage(HWND hWnd) override
    {
        propAtFinal = ::GetPropW(hWnd, L"WndX");
        handleAtFinal = GetWindowHandle();
        finalCalls++;
    }

    int setTextSeen = 0;
    int finalCalls = 0;
    HANDLE propAtFinal = reinterpret_cast<HANDLE>(1);
    HWND handleAtFinal = reinterpret_cast<HWND>(1);
};

class CUnknownSuperWnd : public CWindowWnd
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraTestNoBase"; }
    LPCWSTR GetSuperClassName() const override { return L"LumoraNoSuchClassAnywhere"; }
};

class WindowWndTest : public ::testing::Test
{
protected:
    void SetUp() override { CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }

    static void DrainQueue()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
};

} // namespace

TEST_F(WindowWndTest, SameClassTwiceRegistersOnce)
{
    CRecordingWnd first, second;
    HWND h1 = first.Create(nullptr, L"first", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    HWND h2 = second.Create(nullptr, L"second", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    ASSERT_NE(nullptr, h1);
    ASSERT_NE(nullptr, h2);
    EXPECT_EQ(h1, first.GetWindowHandle());
    EXPECT_EQ(1, first.Count(WM_NCCREATE)); // the object sees its own creation
    EXPECT_EQ(1, first.Count(WM_CREATE));
    ::DestroyWindow(h1);
    ::DestroyWindow(h2);
    EXPECT_EQ(1, first.finalCalls);
    EXPECT_EQ(1, second.finalCalls);
}

TEST_F(WindowWndTest, FinalMessageComesAfterTheHandleIsForgotten)
{
    CRecordingWnd wnd;
    HWND h = wnd.Create(nullptr, L"final", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    ASSERT_NE(nullptr, h);
    ::DestroyWindow(h);
    EXPECT_EQ(1, wnd.finalCalls);
    EXPECT_EQ(nullptr, wnd.handleAtFinal);
    EXPECT_EQ(h, wnd.finalWindow);
    EXPECT_EQ(nullptr, wnd.GetWindowHandle());
    // The object may create a new window afterwards.
    HWND again = wnd.Create(nullptr, L"again", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    EXPECT_NE(nullptr, again);
    ::DestroyWindow(again);
    EXPECT_EQ(2, wnd.finalCalls);
}

TEST_F(WindowWndTest, UnknownSuperclassFailsCreate)
{
    CUnknownSuperWnd wnd;
    EXPECT_EQ(nullptr, wnd.Create(nullptr, L"x", WS_OVERLAPPEDWINDOW, 0, 0, 0, 10, 10));
    EXPECT_EQ(nullptr, wnd.GetWindowHandle());
}

TEST_F(WindowWndTest, EditSuperclassBehavesAsEdit)
{
    CRecordingWnd parent;
    ASSERT_NE(nullptr, parent.Create(nullptr, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100));
    CEditSuperWnd edit;
    HWND h = edit.Create(parent.GetWindowHandle(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 150, 24);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(static_cast<HANDLE>(&edit), ::GetPropW(h, L"WndX"));
    ::SetWindowTextW(h, L"typed text");
    EXPECT_EQ(1, edit.setTextSeen);
    wchar_t buf[64] = {};
    ::GetWindowTextW(h, buf, 64);
    EXPECT_STREQ(L"typed text", buf);
    EXPECT_EQ(10, ::SendMessageW(h, WM_GETTEXTLENGTH, 0, 0));
    ::SendMessageW(h, EM_SETSEL, 0, -1);
    DWORD selEnd = 0;
    ::SendMessageW(h, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selEnd));
    EXPECT_EQ(10u, selEnd);
    ::DestroyWindow(h);
    EXPECT_EQ(1, edit.finalCalls);
    EXPECT_EQ(nullptr, edit.propAtFinal); // removed, not left behind
    EXPECT_EQ(nullptr, edit.handleAtFinal);
    ::DestroyWindow(parent.GetWindowHandle());
}

TEST_F(WindowWndTest, ModalLoopDropsOwnerInputAndPassesTheRest)
{
    CRecordingWnd owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 200));
    CRecordingWnd modal;
    ASSERT_NE(nullptr, modal.Create(owner.GetWindowHandle(), L"modal", WS_POPUP, 0, 10, 10, 100, 80));
    DrainQueue();
    owner.messages.clear();

    HWND hOwner = owner.GetWindowHandle();
    const UINT dropped[] = { WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_KEYDOWN, WM_CHAR, WM_SETCURSOR };
    for (UINT m : dropped) ::PostMessageW(hOwner, m, 0, 0);
    ::PostMessageW(hOwner, WM_USER + 5, 0, 0);
    ::PostMessageW(modal.GetWindowHandle(), WM_KEYDOWN, VK_SPACE, 0); // not the owner: passes
    ::PostMessageW(modal.GetWindowHandle(), WM_CLOSE, 0, 0);          // ends the loop

    EXPECT_TRUE(modal.RunModalLoop());
    EXPECT_EQ(nullptr, modal.GetWindowHandle());
    for (UINT m : dropped) EXPECT_EQ(0, owner.Count(m)) << std::hex << m;
    EXPECT_EQ(1, owner.Count(WM_USER + 5));
    EXPECT_EQ(1, modal.Count(WM_KEYDOWN));
    ::DestroyWindow(hOwner);
}

TEST_F(WindowWndTest, ModalLoopRepostsQuit)
{
    CRecordingWnd modal;
    ASSERT_NE(nullptr, modal.Create(nullptr, L"modal", WS_POPUP, 0, 0, 0, 50, 50));
    DrainQueue();
    ::PostQuitMessage(7);
    EXPECT_TRUE(modal.RunModalLoop());
    EXPECT_NE(nullptr, modal.GetWindowHandle()); // the loop ended, the window lives on
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    ::DestroyWindow(modal.GetWindowHandle());
}

TEST_F(WindowWndTest, CenterWindowOnOwnerAndClampedToWorkArea)
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CRecordingWnd owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_POPUP, 0, work.left + 100, work.top + 100, 400, 300));

    CRecordingWnd dlg;
    ASSERT_NE(nullptr, dlg.Create(owner.GetWindowHandle(), L"dlg", WS_POPUP, 0, 0, 0, 200, 100));
    dlg.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(dlg.GetWindowHandle(), &rc);
    EXPECT_EQ(work.left + 100 + 200 - 100, rc.left);
    EXPECT_EQ(work.top + 100 + 150 - 50, rc.top);

    CRecordingWnd wide; // wider than the work area, no owner
    int width = work.right - work.left + 300;
    ASSERT_NE(nullptr, wide.Create(nullptr, L"wide", WS_POPUP, 0, 0, 0, width, 100));
    wide.CenterWindow();
    ::GetWindowRect(wide.GetWindowHandle(), &rc);
    EXPECT_EQ(work.left, rc.left);
    EXPECT_EQ((work.top + work.bottom) / 2 - 50, rc.top);

    ::DestroyWindow(wide.GetWindowHandle());
    ::DestroyWindow(dlg.GetWindowHandle());
    ::DestroyWindow(owner.GetWindowHandle());
}

TEST_F(WindowWndTest, ShowAndCloseIgnoreMissingWindow)
{
    CRecordingWnd wnd;
    wnd.Show(true);
    wnd.Close(); // no window yet: nothing happens
    ASSERT_NE(nullptr, wnd.CreateInRect(nullptr, L"w", WS_POPUP, 0, RECT{ 5, 6, 105, 56 }));
    RECT rc = {};
    ::GetWindowRect(wnd.GetWindowHandle(), &rc);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(6, rc.top);
    EXPECT_EQ(100, rc.right - rc.left);
    EXPECT_EQ(50, rc.bottom - rc.top);
    wnd.Show(true, false);
    EXPECT_TRUE(::IsWindowVisible(wnd.GetWindowHandle()));
    wnd.Show(false);
    EXPECT_FALSE(::IsWindowVisible(wnd.GetWindowHandle()));
    wnd.Close();
    DrainQueue();
    EXPECT_EQ(nullptr, wnd.GetWindowHandle());
    EXPECT_EQ(1, wnd.finalCalls);
}
