// The main window's timed power-off wired as it runs there: the once-a-second
// check against a clock the test sets, the countdown window it opens with the
// packed main skin, the boss key's hiding, and a recorder in place of the
// real shutdown (which under Wine would end every process of the prefix).
#include <gtest/gtest.h>

#include <string>

#include "BossKeyHiding.h"
#include "HelpWnd.h"
#include "PowerOffWatch.h"
#include "ProgramGlobals.h"
#include "SettingsStore.h"
#include "ViewsTestSupport.h"
#include "WaitPoweroff.h"

namespace {

SYSTEMTIME clockNow = {};

void WINAPI TestClock(SYSTEMTIME* now)
{
    *now = clockNow;
}

void SetClock(WORD hour, WORD minute, WORD second)
{
    clockNow = {};
    clockNow.wYear = 2026;
    clockNow.wMonth = 12;
    clockNow.wDay = 10;
    clockNow.wHour = hour;
    clockNow.wMinute = minute;
    clockNow.wSecond = second;
}

// The open countdown windows of this thread.
BOOL CALLBACK CollectCountdown(HWND hWnd, LPARAM lParam)
{
    if (CWaitPoweroff::IsCountdownWindow(hWnd)) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> Countdowns()
{
    std::vector<HWND> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectCountdown, reinterpret_cast<LPARAM>(&found));
    return found;
}

class PowerOffWatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        UseProgramFolder(ViewsProgramFolder());
        m_settings.powerOffArmed = true;
        m_settings.poweroffhour = 17;
        m_settings.poweroffminute = 20;
    }
    void TearDown() override
    {
        for (HWND hWnd : Countdowns()) ::DestroyWindow(hWnd);
        if (::IsWindow(m_notice)) ::DestroyWindow(m_notice);
        PumpMessages();
    }

    // Checks once a second from 17:19:58 to 17:20:01, as the main window's timer does.
    void CheckAcrossTheMinute()
    {
        for (WORD second : { 58, 59 }) {
            SetClock(17, 19, second);
            ASSERT_TRUE(m_watch.Check(&m_settings));
        }
        for (WORD second : { 0, 1 }) {
            SetClock(17, 20, second);
            ASSERT_TRUE(m_watch.Check(&m_settings));
        }
    }

    // One tick of the open countdown, as its own timer gives it.
    void Tick(HWND countdown)
    {
        for (int i = 0; i < ApplicationWindowList.GetSize(); ++i) {
            auto* manager = static_cast<CWindowManagerUI*>(ApplicationWindowList.GetAt(i));
            if (manager->GetPaintWindow() == countdown)
                FireControlTimer(manager->FindControl(L"close"), CWaitPoweroff::kTickTimer);
        }
        PumpMessages();
    }

    SettingsStore m_settings{ L"" };
    CShutdownRecorder m_shutdown;
    CPowerOffWatch m_watch{ m_shutdown, &TestClock };
    HWND m_notice = nullptr;
};

TEST_F(PowerOffWatchTest, TheChosenMinuteOpensOneCountdownThatSwitchesOff)
{
    ASSERT_NO_FATAL_FAILURE(CheckAcrossTheMinute());
    std::vector<HWND> open = Countdowns();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(open[0]));
    for (int tick = 0; tick < 11 && m_shutdown.calls == 0; ++tick) Tick(open[0]);
    EXPECT_EQ(m_shutdown.calls, 1);
}

// The setting decides at every tick: switched off or moved to another time
// while the countdown runs, the countdown ends and nothing is switched off.
TEST_F(PowerOffWatchTest, ASettingChangedDuringTheCountdownEndsIt)
{
    const struct
    {
        const char* what;
        void (*change)(SettingsStore&);
    } cases[] = {
        { "switched off", [](SettingsStore& s) { s.powerOffArmed = false; } },
        { "another minute", [](SettingsStore& s) { s.poweroffminute = 45; } },
        { "another hour", [](SettingsStore& s) { s.poweroffhour = 18; } },
    };
    for (const auto& c : cases) {
        SetUp();
        ASSERT_NO_FATAL_FAILURE(CheckAcrossTheMinute());
        std::vector<HWND> open = Countdowns();
        ASSERT_EQ(open.size(), 1u) << c.what;
        Tick(open[0]);
        Tick(open[0]);
        c.change(m_settings);
        Tick(open[0]);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(open[0]); })) << c.what << ": the countdown closes";
        EXPECT_EQ(m_shutdown.calls, 0) << c.what;
        m_watch.Check(nullptr); // a fresh start for the next case
    }
}

// The window was kept busy across the chosen minute: the first check after it
// opens the countdown, late and once.
TEST_F(PowerOffWatchTest, AWindowBlockedAcrossTheMinuteFiresOnceLate)
{
    SetClock(17, 19, 59);
    ASSERT_TRUE(m_watch.Check(&m_settings));
    SetClock(17, 22, 30); // nothing ran for two and a half minutes
    ASSERT_TRUE(m_watch.Check(&m_settings));
    EXPECT_EQ(Countdowns().size(), 1u);
    for (WORD second = 31; second < 60; ++second) {
        SetClock(17, 22, second);
        m_watch.Check(&m_settings);
    }
    EXPECT_EQ(Countdowns().size(), 1u) << "once";

    CPowerOffWatch tooLate(m_shutdown, &TestClock);
    for (HWND hWnd : Countdowns()) ::DestroyWindow(hWnd);
    SetClock(17, 19, 59);
    tooLate.Check(&m_settings);
    SetClock(17, 25, 0); // five minutes late
    tooLate.Check(&m_settings);
    EXPECT_TRUE(Countdowns().empty()) << "never later than five minutes";
}

// The boss key hides the program's windows but never a running countdown: it
// stays above everything and goes on to the power-off.
TEST_F(PowerOffWatchTest, TheBossKeyKeepsTheCountdownInSight)
{
    m_notice = (new CHelpWnd(nullptr))->Show(L"公告|今晚八点升级维护", L"");
    ASSERT_NE(m_notice, nullptr);
    ASSERT_NO_FATAL_FAILURE(CheckAcrossTheMinute());
    std::vector<HWND> open = Countdowns();
    ASSERT_EQ(open.size(), 1u);

    CBossKeyHiding hiding;
    hiding.Hide();
    EXPECT_FALSE(::IsWindowVisible(m_notice)) << "the other windows go out of sight";
    EXPECT_TRUE(::IsWindowVisible(open[0]));
    EXPECT_NE(::GetWindowLongPtrW(open[0], GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    for (int tick = 0; tick < 11 && m_shutdown.calls == 0; ++tick) {
        EXPECT_TRUE(::IsWindowVisible(open[0])) << "shown while it counts";
        Tick(open[0]);
    }
    EXPECT_EQ(m_shutdown.calls, 1);
    hiding.Reveal();
    EXPECT_TRUE(::IsWindowVisible(m_notice));
}

} // namespace
