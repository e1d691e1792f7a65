// The main window of lumora.exe end to end under Wine: a copy of the program
// runs from its own folder with a portal of local pages and a stand-in
// updater; the tests talk to it only as other programs do, by window messages,
// the window property "lumora", the screen and the engine's page channel.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "LumoraProcess.h"
#include "LumoraProgramSuite.h"
#include "ScreenShot.h"
#include "TestProgramFolder.h"
#include "WindowProbes.h"

namespace {

const UINT kTrayMessage = WM_USER + 1;
const UINT kRecreateViewsMessage = WM_USER + 2;
const UINT kLoadHomeAddressMessage = WM_USER + 4;
const UINT kColorSchemeMessage = WM_USER + 6;
const UINT kPageReadyMessage = WM_APP + 1;
const UINT kSelectPageMessage = WM_APP + 3;
const LPARAM kQuitRequest = 0x800;
const WPARAM kCheckForUpdatesCommand = 0x800D;
const WPARAM kExitCommand = 105;
const int kCaptionHeight = 58; // main.xml
const int kStatusHeight = 26;

struct Size
{
    int width;
    int height;
};

Size WindowSize(HWND wnd)
{
    RECT rc;
    GetWindowRect(wnd, &rc);
    return { rc.right - rc.left, rc.bottom - rc.top };
}

LRESULT HitTest(HWND wnd, int x, int y)
{
    RECT rc;
    GetWindowRect(wnd, &rc);
    return SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
}

// The suite's program run.
class MainWindow : public TLumoraProgramSuite<MainWindow>
{
public:
    static constexpr const wchar_t* kProgramFolder = L"mainwnd_program";

protected:
    std::wstring UrlOfBrowserWith(const std::wstring& url) const
    {
        for (const LumoraProcess::Browser& b : process_->Browsers())
            if (b.url == url) return b.url;
        return std::wstring();
    }
};

TEST_F(MainWindow, StartsTheUpdaterWithSAAndWithSFromCheckForUpdates)
{
    ASSERT_TRUE(WaitUntil([&] { return folder_->UpdaterCalls().size() == 1; }));
    EXPECT_EQ(folder_->UpdaterCalls()[0], "S A");

    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, kCheckForUpdatesCommand, 0), 1);
    ASSERT_TRUE(WaitUntil([&] { return folder_->UpdaterCalls().size() == 2; }));
    EXPECT_EQ(folder_->UpdaterCalls()[1], "S");
}

TEST_F(MainWindow, HomeAndPlayingViewsOpenTheirAddressesAndTvWaitsForItsPage)
{
    const std::wstring home = folder_->PageAddress(L"home.html");
    const std::wstring tv = folder_->PageAddress(L"tv.html");
    const std::wstring playing = folder_->PageAddress(L"playing.html");
    ASSERT_TRUE(WaitUntil([&] { return process_->Browsers().size() == 2; }));
    EXPECT_EQ(UrlOfBrowserWith(home), home);
    EXPECT_EQ(UrlOfBrowserWith(playing), playing);

    // The loaded home page's window is attached over the view, between the bars.
    Size size = WindowSize(main_);
    RECT view = {};
    ASSERT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &view) && view.right > view.left; }));
    EXPECT_EQ(view.left, 2);
    EXPECT_EQ(view.right, size.width - 2);
    EXPECT_EQ(view.top, 1 + kCaptionHeight);
    EXPECT_EQ(view.bottom, size.height - 1 - kStatusHeight);

    // The TV option is the first page option: its browser comes with it.
    SendMessageW(main_, kSelectPageMessage, 0, 1);
    ASSERT_TRUE(WaitUntil([&] { return process_->Browsers().size() == 3; }));
    EXPECT_EQ(UrlOfBrowserWith(tv), tv);
    EXPECT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &view) && view.left == 2; }));

    // Later selections only switch pages; "playing" hides the status bar.
    SendMessageW(main_, kSelectPageMessage, 0, 3);
    EXPECT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &view) && view.bottom == size.height - 1; }));
    SendMessageW(main_, kSelectPageMessage, 0, 1);
    SendMessageW(main_, kSelectPageMessage, 0, 2);
    EXPECT_TRUE(
        WaitUntil([&] { return ShownBrowserRect(main_, &view) && view.bottom == size.height - 1 - kStatusHeight; }));
    EXPECT_EQ(process_->Browsers().size(), 3u);
}

TEST_F(MainWindow, HitTestGivesFramesCaptionAndClientAreas)
{
    ASSERT_FALSE(IsZoomed(main_));
    Size s = WindowSize(main_);
    struct Case
    {
        int x, y;
        LRESULT expected;
        const char* what;
    };
    const Case cases[] = {
        { 0, 0, HTTOPLEFT, "top-left corner" },
        { s.width - 1, 0, HTTOPRIGHT, "top-right corner" },
        { s.width / 2, 1, HTTOP, "top edge" },
        { 0, s.height - 1, HTBOTTOMLEFT, "bottom-left corner" },
        { s.width / 2, s.height - 1, HTBOTTOM, "bottom edge" },
        { s.width - 1, s.height - 1, HTBOTTOMRIGHT, "bottom-right corner" },
        { s.width - 9, s.height - 9, HTBOTTOMRIGHT, "bottom-right grip" },
        { 1, s.height / 2, HTLEFT, "left edge" },
        { s.width - 2, s.height / 2, HTRIGHT, "right edge" },
        { 700, 30, HTCAPTION, "caption background" },
        { 21, 30, HTCAPTION, "logo" },
        { 40, s.height - 13, HTCAPTION, "version label" },
        { 350, 30, HTCLIENT, "page option" },
        { s.width - 20, 20, HTCLIENT, "close button" },
    };
    for (const Case& c : cases) EXPECT_EQ(HitTest(main_, c.x, c.y), c.expected) << c.what;

    // A maximised window has no frame to size it by.
    SendMessageW(main_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(IsZoomed(main_));
    s = WindowSize(main_);
    // The controls take the new size when the window paints next.
    EXPECT_TRUE(WaitUntil([&] { return HitTest(main_, s.width - 1, s.height - 1) == HTCAPTION; }));
    EXPECT_EQ(HitTest(main_, 0, 0), HTCAPTION);
    SendMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(main_));
}

TEST_F(MainWindow, PrivateMessagesIgnoreBadIndicesPointersAndBrowsers)
{
    Size size = WindowSize(main_);
    RECT before = {};
    ASSERT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &before) && before.right == size.width - 2; }));
    for (LPARAM page : { LPARAM(0), LPARAM(4), LPARAM(-1), LPARAM(0x7FFFFFFF) })
        EXPECT_EQ(SendMessageW(main_, kSelectPageMessage, 0, page), 0) << page;
    // A pointer that means nothing in the main program's process.
    SendMessageW(main_, kLoadHomeAddressMessage, 0, 0x12345678);
    SendMessageW(main_, kColorSchemeMessage, 99, 0);
    EXPECT_EQ(SendMessageW(main_, kPageReadyMessage, 0, 9999), 1) << "an unknown browser";
    EXPECT_EQ(SendMessageW(main_, kPageReadyMessage, 0, 0), 1);
    SendMessageW(main_, kTrayMessage, 0, WM_MOUSEMOVE);

    ASSERT_TRUE(process_->Running());
    RECT after = {};
    ASSERT_TRUE(ShownBrowserRect(main_, &after));
    EXPECT_TRUE(EqualRect(&before, &after))
        << "the shown page did not change: " << before.left << "," << before.top << "," << before.right << ","
        << before.bottom << " -> " << after.left << "," << after.top << "," << after.right << "," << after.bottom;
    EXPECT_EQ(process_->Browsers().size(), 3u);
}

// Any process can ask for the views' browsers again: views whose browsers live
// get no second one. The engine creates browsers and answers the list in the
// order it was asked, so the list taken after the messages shows any created.
TEST_F(MainWindow, RecreateViewsMakesNoSecondBrowserForALiveView)
{
    std::vector<LumoraProcess::Browser> before = process_->Browsers();
    ASSERT_FALSE(before.empty());
    for (int i = 0; i < 3; ++i) SendMessageW(main_, kRecreateViewsMessage, 0, 0);
    std::vector<LumoraProcess::Browser> after = process_->Browsers();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].id, before[i].id);
    EXPECT_TRUE(process_->Running());
}

TEST_F(MainWindow, ScreenShowsTheSkinnedWindowInEveryColourScheme)
{
    SetWindowPos(main_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    Size s = WindowSize(main_);
    const int homeTabX = 1 + 12 + 150 + 28 + 108 + 54;
    std::unique_ptr<ScreenShot> shot;
    auto shows = [&](DWORD bars, DWORD background) {
        return WaitUntil([&] {
            shot.reset(new ScreenShot(main_));
            return Near(shot->Pixel(700, 30), bars) && Near(shot->Pixel(600, s.height - 13), bars) &&
                Near(shot->Pixel(0, s.height / 2), background);
        });
    };
    // Scheme 1 at every start.
    ASSERT_TRUE(shows(0x1A1A1A, 0x404040)) << std::hex << shot->Pixel(700, 30);
    shot->Save(std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\mainwnd_screenshot.bmp");
    EXPECT_TRUE(Near(shot->Pixel(21, 30), 0x2E9BE6)) << "logo";
    EXPECT_TRUE(Near(shot->Pixel(homeTabX, 57), 0x2E9BE6)) << "selected page tab";
    EXPECT_TRUE(Near(shot->Pixel(s.width / 2, s.height - 60), 0xFFFFFF)) << "the page in the view";

    struct Scheme
    {
        WPARAM index;
        DWORD bars, background;
    };
    const Scheme schemes[] = { { 0, 0x017ABE, 0x1685C3 },
                               { 3, 0xC80000, 0xAE0000 },
                               { 5, 0x964C41, 0x996666 },
                               { 6, 0x964C41, 0x996666 },
                               { 1, 0x1A1A1A, 0x404040 } };
    for (const Scheme& scheme : schemes) {
        SendMessageW(main_, kColorSchemeMessage, scheme.index, 0);
        EXPECT_TRUE(shows(scheme.bars, scheme.background)) << "scheme " << scheme.index;
    }
    SetWindowPos(main_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST_F(MainWindow, BossKeyHidesEverythingAndBringsBackWhatWasShownAsItWas)
{
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main_); })) << "the tray icon is there before the boss key";
    SendMessageW(main_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(IsZoomed(main_));

    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    EXPECT_FALSE(IsWindowVisible(main_));
    EXPECT_FALSE(TrayIconPresent(main_));
    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(IsZoomed(main_)) << "brought back maximised, as it was";
    EXPECT_TRUE(TrayIconPresent(main_));
    SendMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);

    // A window hidden in the notification area stays hidden.
    SendMessageW(main_, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindowVisible(main_));
    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    SendMessageW(main_, WM_HOTKEY, 1, MAKELPARAM(MOD_ALT, 'Q'));
    EXPECT_FALSE(IsWindowVisible(main_));
    ShowWindow(main_, SW_SHOW);
}

TEST_F(MainWindow, CloseWithCloseToTrayOnlyHidesTheWindow)
{
    SendMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
    EXPECT_TRUE(process_->Running());
    EXPECT_NE(GetPropW(main_, L"lumora"), nullptr) << "a second start can still find it";
    // The tray icon's left click brings it back.
    SendMessageW(main_, kTrayMessage, 107, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(main_));
}

TEST_F(MainWindow, QuitRequestEndsTheProgramAndLeavesTheSettingsFileAlone)
{
    SendMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, kQuitRequest);
    EXPECT_EQ(process_->WaitExit(15000), 0u);
    EXPECT_EQ(folder_->ReadSetting(L"quit"), 0) << "close-to-tray is still the user's choice";
}

// A portal whose pages cannot be read: each view shows the program's error page.
TEST(MainWindowWithoutPortal, ViewsThatCannotLoadShowTheErrorPageAndTheExitCommandQuits)
{
    TestProgramFolder folder(L"mainwnd_no_portal", { L"home.html", L"tv.html", L"playing.html" }, false);
    ASSERT_TRUE(folder.Ready());
    LumoraProcess process;
    ASSERT_TRUE(process.Start(folder.Path()));
    HWND main = process.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    const std::wstring errorPage = folder.ErrorPageAddress();
    EXPECT_TRUE(WaitUntil([&] {
        std::vector<LumoraProcess::Browser> browsers = process.Browsers();
        return browsers.size() == 2 && browsers[0].url == errorPage && browsers[1].url == errorPage;
    }));
    RECT view = {};
    EXPECT_TRUE(WaitUntil([&] { return ShownBrowserRect(main, &view) && view.left == 2; }));

    SendMessageW(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(process.WaitExit(15000), 0u);
}

// A skin without "main.xml" (the UI library's test skin): the program ends
// without a window instead of using controls it does not have.
TEST(MainWindowWithoutSkin, ProgramEndsWithoutAWindow)
{
    TestProgramFolder folder(L"mainwnd_no_skin", {});
    ASSERT_TRUE(folder.Ready());
    ASSERT_TRUE(folder.UseSkin(std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\test.sk"));
    LumoraProcess process;
    ASSERT_TRUE(process.Start(folder.Path()));
    EXPECT_EQ(process.WaitExit(15000), 0u);
    EXPECT_TRUE(folder.UpdaterCalls().empty()) << "nothing is started for a window that could not be made";
}

} // namespace
