#include <gtest/gtest.h>

#include <string>

#include "ProgramGlobals.h"
#include "SettingsStore.h"
#include "ViewsTestSupport.h"
#include "WaitPoweroff.h"

// The power-off countdown, created the way the main window creates it, with a
// recorder in place of the real shutdown (which under Wine would end every
// process of the prefix, this test included).
namespace {

class WaitPoweroffTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        UseProgramFolder(ViewsProgramFolder());
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
        PumpMessages();
        GlobalSettings = nullptr;
    }

    void Open()
    {
        m_wnd = new CWaitPoweroff(m_shutdown);
        m_hWnd = m_wnd->Create(nullptr, L"自动关机程序", 0x86C80000, 0x188);
        if (m_hWnd == nullptr) delete m_wnd; // a failed creation leaves the object to its creator
        ASSERT_NE(nullptr, m_hWnd) << "no window: is there a display?";
        m_wnd->MoveWindow(0, 0, 360, 160);
        m_wnd->CenterWindow();
        ASSERT_TRUE(m_wnd->StartCountdown(10));
        m_wnd->Show(true, false);
        ::UpdateWindow(m_hWnd);
        PumpMessages();
    }

    CControlUI* Control(LPCWSTR name)
    {
        CControlUI* pControl = m_wnd->GetManager().FindControl(name);
        EXPECT_NE(nullptr, pControl);
        return pControl;
    }

    std::wstring TimeText() { return Control(L"time")->GetText().GetData(); }
    void Tick() { FireControlTimer(Control(L"close"), CWaitPoweroff::kTickTimer); }
    bool Closed() const { return !::IsWindow(m_hWnd); }

    CShutdownRecorder m_shutdown;
    CWaitPoweroff* m_wnd = nullptr;
    HWND m_hWnd = nullptr;
};

TEST_F(WaitPoweroffTest, CountsTenSecondsDownAndSwitchesOffAtZero)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    for (int left = 10; left >= 1; left--) {
        Tick();
        EXPECT_EQ(L" " + std::to_wstring(left) + L" ", TimeText());
        EXPECT_EQ(0, m_shutdown.calls) << "switched off with " << left << " seconds left";
    }
    Tick();
    EXPECT_EQ(L" 0 ", TimeText());
    EXPECT_EQ(1, m_shutdown.calls);
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
    EXPECT_FALSE(Closed()) << "after the shutdown call the window stays, hidden";
    EXPECT_FALSE(m_wnd->GetManager().KillTimer(Control(L"close"), CWaitPoweroff::kTickTimer))
        << "no more ticks after the shutdown";
}

TEST_F(WaitPoweroffTest, PowerOffNowSwitchesOffAtTheNextTick)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Tick();
    PostClick(m_hWnd, CentreOf(Control(L"rn")));
    Tick();
    EXPECT_EQ(1, m_shutdown.calls);
    EXPECT_EQ(L" 0 ", TimeText());
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
}

TEST_F(WaitPoweroffTest, CancelAfterTheFirstRealTickClosesTheWindowAndNothingIsSwitchedOff)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(PumpUntil([&] { return TimeText() == L" 10 "; })) << "the window's own timer ticks";
    ASSERT_NE(-1, ApplicationWindowList.Find(&m_wnd->GetManager()));
    PostClick(m_hWnd, CentreOf(Control(L"cancel")));
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    EXPECT_EQ(0, m_shutdown.calls);
    EXPECT_EQ(0, ApplicationWindowList.GetSize());
}

TEST_F(WaitPoweroffTest, CloseButtonClosesTheWindow)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    PostClick(m_hWnd, CentreOf(Control(L"close")));
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    EXPECT_EQ(0, m_shutdown.calls);
}

TEST_F(WaitPoweroffTest, RefusedShutdownClosesTheHiddenWindow)
{
    m_shutdown.accept = false;
    ASSERT_NO_FATAL_FAILURE(Open());
    PostClick(m_hWnd, CentreOf(Control(L"rn")));
    Tick();
    EXPECT_EQ(1, m_shutdown.calls);
    EXPECT_TRUE(PumpUntil([&] { return Closed(); }));
    EXPECT_EQ(0, ApplicationWindowList.GetSize());
}

TEST_F(WaitPoweroffTest, ColourSchemesOfTheMainWindow)
{
    SettingsStore settings(L"");
    settings.skincolor = 2;
    GlobalSettings = &settings;
    ASSERT_NO_FATAL_FAILURE(Open());
    CControlUI* main = Control(L"main");
    CControlUI* caption = Control(L"caption");
    EXPECT_EQ(0xFF2CA726u, main->GetBkColor()) << "the settings' scheme at creation";
    EXPECT_EQ(0xFF118F2Bu, caption->GetBkColor());

    struct
    {
        WPARAM index;
        DWORD window;
        DWORD caption;
    } schemes[] = {
        { 0, 0xFF1685C3, 0xFF017ABE }, { 1, 0xFF404040, 0xFF1A1A1A }, { 2, 0xFF2CA726, 0xFF118F2B },
        { 3, 0xFFAE0000, 0xFFC80000 }, { 4, 0xFFC900FB, 0xFFB21FC7 }, { 5, 0xFF996666, 0xFF964C41 },
    };
    for (const auto& s : schemes) {
        ::SendMessageW(m_hWnd, CWaitPoweroff::kMsgColorScheme, s.index, 0);
        EXPECT_EQ(s.window, main->GetBkColor()) << "scheme " << s.index;
        EXPECT_EQ(s.window, main->GetBorderColor()) << "scheme " << s.index;
        EXPECT_EQ(s.caption, caption->GetBkColor()) << "scheme " << s.index;
    }
    // Indices from outside the table change nothing.
    for (WPARAM index : { static_cast<WPARAM>(6), static_cast<WPARAM>(-1), static_cast<WPARAM>(0x7FFFFFFF) }) {
        ::SendMessageW(m_hWnd, CWaitPoweroff::kMsgColorScheme, index, 0);
        EXPECT_EQ(0xFF996666u, main->GetBkColor());
        EXPECT_EQ(0xFF964C41u, caption->GetBkColor());
    }
}

TEST_F(WaitPoweroffTest, WithoutItsSkinTheWindowIsNotCreated)
{
    UseProgramFolder(ViewsProgramFolder() + L"missing\\");
    CWaitPoweroff* wnd = new CWaitPoweroff(m_shutdown);
    EXPECT_EQ(nullptr, wnd->Create(nullptr, L"自动关机程序", 0x86C80000, 0x188));
    EXPECT_EQ(0, ApplicationWindowList.GetSize());
    delete wnd; // a failed creation leaves the object to its creator
}

} // namespace

namespace {

// Destroys the countdown window right after its WM_CREATE succeeded, the way a
// window can be lost inside CreateWindowEx.
LRESULT CALLBACK DestroyAfterCreate(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    wchar_t className[32] = {};
    if (code == HC_ACTION && pMsg->message == WM_CREATE && pMsg->lResult == 0 &&
        ::GetClassNameW(pMsg->hwnd, className, 32) > 0 && wcscmp(className, L"自动关机") == 0)
        ::DestroyWindow(pMsg->hwnd);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WaitPoweroffTest, WindowLostDuringCreationLeavesTheObjectToItsCreator)
{
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, DestroyAfterCreate, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    CWaitPoweroff* wnd = new CWaitPoweroff(m_shutdown);
    HWND hWnd = wnd->Create(nullptr, L"自动关机程序", 0x86C80000, 0x188);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(nullptr, hWnd);
    EXPECT_EQ(0, ApplicationWindowList.GetSize());
    EXPECT_EQ(nullptr, wnd->GetWindowHandle());
    delete wnd; // still alive: freeing it here must be the only free
}

} // namespace
