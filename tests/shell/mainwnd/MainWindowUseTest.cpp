// lumora.exe as a user meets it, end to end under Wine: quitting after
// notices, the notice popups, the boss key against a second start, the
// sizing corner, and the look under every colour scheme and in full screen.
// Screenshots are kept beside the test programs for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "HeldPageServer.h"
#include "LumoraProcess.h"
#include "LumoraProgramSuite.h"
#include "ScreenShot.h"
#include "TestProgramFolder.h"
#include "WindowProbes.h"

namespace {

const UINT kColorSchemeMessage = WM_USER + 6;
const UINT kSelectPageMessage = WM_APP + 3; // lParam = option position from 1
const LPARAM kTvOption = 1;
const LPARAM kHomeOption = 2;
const LPARAM kPlayingOption = 3;
const WPARAM kExitCommand = 105;
const int kTvTabX = 1 + 12 + 150 + 28 + 54; // main.xml: the middle of each page tab
const int kHomeTabX = kTvTabX + 108;
const int kTabBottomY = 57;
const DWORD kSelectedTab = 0x2E9BE6;
const int kStatusHeight = 26;

std::wstring ShotPath(const std::wstring& name)
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\" + name + L".bmp";
}

// The popup's close button (caption, right) and its "show" button (bottom right): helpwnd.xml.
POINT NoticeCloseButton(HWND popup)
{
    RECT rc = WindowRect(popup);
    return { rc.right - 15, rc.top + 15 };
}

POINT NoticeShowButton(HWND popup)
{
    RECT rc = WindowRect(popup);
    return { rc.right - 14 - 42, rc.bottom - 12 - 14 };
}

// Every command sent before has run once a stay-on-top change is seen: the
// page's messages arrive in order.
bool Barrier(const LumoraProcess& process, HWND main)
{
    bool was = TopMost(main);
    if (!process.SendPageMessage("setWindowFront", was ? "[false]" : "[true]")) return false;
    if (!WaitUntil([&] { return TopMost(main) == !was; })) return false;
    if (!process.SendPageMessage("setWindowFront", was ? "[true]" : "[false]")) return false;
    return WaitUntil([&] { return TopMost(main) == was; });
}

// ---------------------------------------------------------------------------
// Quitting after notices: each case is one run of the program.

struct NoticeExitCase
{
    const char* what;
    std::vector<std::string> notices; // the arguments of each "notice" the page sends
    size_t popups;                    // the popups that open
    bool quitByCloseButton;           // with "退出程序" chosen; otherwise the menu's "退出"
};

void PrintTo(const NoticeExitCase& c, std::ostream* out)
{
    *out << c.what;
}

class NoticeExit : public ::testing::TestWithParam<NoticeExitCase>
{ };

// Each case has a folder of its own: a run that crashed may still hold its files.
TEST_P(NoticeExit, EndsWithExitCodeZero)
{
    const NoticeExitCase& c = GetParam();
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    TestProgramFolder folder(L"mainwnd_use_exit_" + std::wstring(name.begin() + name.rfind('/') + 1, name.end()),
                             { L"home.html", L"tv.html", L"playing.html" });
    ASSERT_TRUE(folder.Ready());
    if (c.quitByCloseButton) {
        ASSERT_TRUE(WritePrivateProfileStringW(L"setting", L"quit", L"1", folder.File(L"cfg.db").c_str()));
    }
    LumoraProcess process;
    ASSERT_TRUE(process.Start(folder.Path()));
    HWND main = process.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !process.Browsers().empty(); })) << "no page to send from";

    for (const std::string& args : c.notices) ASSERT_TRUE(process.SendPageMessage("notice", args)) << args;
    ASSERT_TRUE(Barrier(process, main));
    EXPECT_TRUE(WaitUntil([&] { return NoticePopups(process.ProcessId()).size() == c.popups; }))
        << NoticePopups(process.ProcessId()).size() << " popups";

    if (c.quitByCloseButton)
        PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(process.WaitExit(20000), 0u) << "exit code";
}

INSTANTIATE_TEST_SUITE_P(
    EveryShape, NoticeExit,
    ::testing::Values(NoticeExitCase{ "an empty address", { R"(["一|消息一",""])" }, 1, true },
                      NoticeExitCase{ "an empty address, menu", { R"(["一|消息一",""])" }, 1, false },
                      NoticeExitCase{ "an empty text", { R"(["","http://127.0.0.1:1/notice"])" }, 1, false },
                      NoticeExitCase{ "one argument", { R"(["一|消息一"])" }, 0, true },
                      NoticeExitCase{ "many",
                                      { R"(["一|消息一",""])", R"(["二|消息二","http://127.0.0.1:1/2"])",
                                        R"(["三","http://127.0.0.1:1/3"])", R"(["",""])" },
                                      4,
                                      false }),
    [](const ::testing::TestParamInfo<NoticeExitCase>& info) { return "Case" + std::to_string(info.index); });

// ---------------------------------------------------------------------------
// One program run for the rest, in the tests' order.
class MainWindowUse : public TLumoraProgramSuite<MainWindowUse>
{
public:
    static constexpr const wchar_t* kProgramFolder = L"mainwnd_use_program";

protected:
    void SetUp() override { SetUpWithHomePage(); }
    void TearDown() override
    {
        for (HWND popup : NoticePopups(process_->ProcessId())) PostMessageW(popup, WM_CLOSE, 0, 0);
        WaitUntil([&] { return NoticePopups(process_->ProcessId()).empty(); });
    }

    bool TabSelected(int tabX)
    {
        ScreenShot shot(main_);
        return Near(shot.Pixel(tabX, kTabBottomY), kSelectedTab);
    }

    std::vector<HWND> OpenNotices(const std::vector<std::string>& notices)
    {
        for (const std::string& args : notices) EXPECT_TRUE(process_->SendPageMessage("notice", args));
        std::vector<HWND> popups;
        WaitUntil([&] {
            popups = NoticePopups(process_->ProcessId());
            return popups.size() == notices.size();
        });
        return popups;
    }
};

// The notice's link loads into the home view, and the home view is what the user then sees.
TEST_F(MainWindowUse, NoticeOpenedFromAnotherTabShowsTheHomePage)
{
    SetWindowPos(main_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SendMessageW(main_, kSelectPageMessage, 0, kTvOption);
    ASSERT_TRUE(WaitUntil([&] { return TabSelected(kTvTabX); }));
    // Only web addresses from a page reach the home view: the link names a
    // page of a loopback server, answered at once.
    HeldPageServer server;
    ASSERT_TRUE(server.Start());
    std::wstring address = server.HeldAddress();
    address = address.substr(0, address.rfind(L'/')) + L"/notice.html";
    std::vector<HWND> popups =
        OpenNotices({ R"(["公告|今晚八点升级维护",")" + std::string(address.begin(), address.end()) + "\"]" });
    ASSERT_EQ(popups.size(), 1u);
    ClickAt(NoticeShowButton(popups[0]));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popups[0]); })) << "the popup closes";
    EXPECT_TRUE(WaitUntil([&] {
        for (const LumoraProcess::Browser& b : process_->Browsers())
            if (b.url == address) return true;
        return false;
    })) << "the home view loads the notice's address";
    EXPECT_TRUE(WaitUntil([&] { return TabSelected(kHomeTabX) && !TabSelected(kTvTabX); })) << "and is shown";
    SetWindowPos(main_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST_F(MainWindowUse, SeveralNoticesStackWithoutCoveringEachOtherAndEachTakesTheFirstClick)
{
    std::vector<HWND> popups = OpenNotices({ R"(["一|消息一",""])", R"(["二|消息二",""])", R"(["三|消息三",""])" });
    ASSERT_EQ(popups.size(), 3u);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(popups[0], MONITOR_DEFAULTTOPRIMARY), &info);
    for (size_t i = 0; i < popups.size(); ++i) {
        RECT a = WindowRect(popups[i]);
        EXPECT_EQ(a.right, info.rcWork.right) << "in the corner's column";
        EXPECT_LE(a.bottom, info.rcWork.bottom);
        for (size_t j = i + 1; j < popups.size(); ++j) {
            RECT b = WindowRect(popups[j]);
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &a, &b)) << i << " and " << j << " overlap";
        }
    }
    // One click on a close button closes that popup, one after the other.
    for (HWND popup : popups) {
        ClickAt(NoticeCloseButton(popup));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup); }, 5000)) << "a click was lost";
    }
    // A new popup takes the corner again.
    popups = OpenNotices({ R"(["四|消息四",""])" });
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(WindowRect(popups[0]).bottom, info.rcWork.bottom);
}

// The second start shows the main window: that ends the boss key's hiding,
// so everything it hid and the tray icon come back, and Alt+Q hides again.
TEST_F(MainWindowUse, BossKeySecondStartAndBossKeyAgain)
{
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main_); })) << "the tray icon is there before the boss key";
    std::vector<HWND> popups = OpenNotices({ R"(["公告|消息",""])" });
    ASSERT_EQ(popups.size(), 1u);

    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    ASSERT_FALSE(IsWindowVisible(main_));
    ASSERT_FALSE(IsWindowVisible(popups[0]));
    EXPECT_FALSE(TrayIconPresent(main_));

    LumoraProcess second;
    ASSERT_TRUE(second.Start(folder_->Path()));
    EXPECT_EQ(second.WaitExit(20000), 0u) << "the second start ends at once";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) && IsWindowVisible(popups[0]); }))
        << "the windows come back as they were";
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(main_); })) << "with the tray icon";

    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    EXPECT_FALSE(IsWindowVisible(main_)) << "the next Alt+Q hides again";
    EXPECT_FALSE(IsWindowVisible(popups[0]));
    EXPECT_FALSE(TrayIconPresent(main_));
    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(IsWindowVisible(popups[0]));
    EXPECT_TRUE(TrayIconPresent(main_));
}

// The playing page has no status bar: its page reaches the bottom-right
// corner, which must still size the window.
TEST_F(MainWindowUse, ThePlayingPageLeavesTheSizingCornerToTheWindow)
{
    SendMessageW(main_, kSelectPageMessage, 0, kPlayingOption);
    RECT rc = WindowRect(main_);
    RECT view = {};
    ASSERT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &view) && view.bottom == rc.bottom - rc.top - 1; }));
    for (POINT corner : { POINT{ rc.right - 3, rc.bottom - 3 }, POINT{ rc.right - 9, rc.bottom - 9 } }) {
        EXPECT_TRUE(WaitUntil([&] { return WindowFromPoint(corner) == main_; }))
            << "the page's window covers the corner at " << corner.x - rc.left << "," << corner.y - rc.top;
        EXPECT_EQ(SendMessageW(main_, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
    }
    POINT onPage = { rc.right - 30, rc.bottom - 30 };
    EXPECT_NE(WindowFromPoint(onPage), main_) << "the page keeps the rest";
    SendMessageW(main_, kSelectPageMessage, 0, kHomeOption);
}

// Each scheme's status bar keeps its text readable; the screenshots are
// mainwnd_scheme<N>.bmp beside the test programs.
TEST_F(MainWindowUse, ScreenshotsUnderEveryColourScheme)
{
    SetWindowPos(main_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    const DWORD bars[] = { 0x017ABE, 0x1A1A1A, 0x118F2B, 0xC80000, 0xB21FC7, 0x964C41 };
    for (WPARAM scheme = 0; scheme < 6; ++scheme) {
        SendMessageW(main_, kColorSchemeMessage, scheme, 0);
        std::unique_ptr<ScreenShot> shot;
        int contrast = 0;
        EXPECT_TRUE(WaitUntil([&] {
            shot.reset(new ScreenShot(main_));
            const int h = shot->Height();
            if (!Near(shot->Pixel(600, h - 13), bars[scheme])) return false;
            // The version label's text: its strongest pixel against the bar.
            contrast = 0;
            for (int y = h - kStatusHeight; y < h - 1; ++y)
                for (int x = 13; x < 213; ++x)
                    contrast = std::max(contrast, std::abs(Luminance(shot->Pixel(x, y)) - Luminance(bars[scheme])));
            return contrast > 0;
        })) << "scheme "
            << scheme;
        EXPECT_GE(contrast, 100) << "the status text is hard to read on scheme " << scheme;
        shot->Save(ShotPath(L"mainwnd_scheme" + std::to_wstring(scheme)));
    }
    SendMessageW(main_, kColorSchemeMessage, 1, 0);
    SetWindowPos(main_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// In full screen the page alone covers the monitor: no frame line at any edge.
TEST_F(MainWindowUse, FullScreenShowsThePageEdgeToEdge)
{
    ASSERT_TRUE(process_->SendPageMessage("setFullscreen", "[true]"));
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(main_, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT monitor = info.rcMonitor;
    const int midX = (monitor.left + monitor.right) / 2;
    const int midY = (monitor.top + monitor.bottom) / 2;
    std::unique_ptr<ScreenShot> shot;
    auto page = [&](int x, int y) { return Near(shot->Pixel(x - monitor.left, y - monitor.top), 0xFFFFFF); };
    EXPECT_TRUE(WaitUntil([&] {
        shot.reset(new ScreenShot(monitor));
        return page(midX, midY + 100) && page(monitor.left, midY + 100) && page(monitor.right - 1, midY + 100) &&
            page(midX, monitor.bottom - 1);
    })) << "left "
        << std::hex << shot->Pixel(0, midY + 100 - monitor.top) << " right "
        << shot->Pixel(monitor.right - 1 - monitor.left, midY + 100 - monitor.top) << " bottom "
        << shot->Pixel(midX - monitor.left, monitor.bottom - 1 - monitor.top);
    // The top row is the stand-in page's address bar, from corner to corner.
    for (int x : { 0, 2, static_cast<int>(monitor.right - monitor.left) - 3,
                   static_cast<int>(monitor.right - monitor.left) - 1 })
        EXPECT_TRUE(Near(shot->Pixel(x, 0), 0xEEEEEE)) << "x " << x << ": " << std::hex << shot->Pixel(x, 0);
    shot->Save(ShotPath(L"mainwnd_fullscreen"));
    ASSERT_TRUE(process_->SendPageMessage("setFullscreen", "[false]"));
    RECT view = {};
    EXPECT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &view) && view.left == 2; })) << "the frame is back";
}

} // namespace
