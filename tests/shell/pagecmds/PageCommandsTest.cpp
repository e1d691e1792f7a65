// Page commands end to end under Wine: a copy of lumora.exe runs from its own
// program folder, and the test acts as its portal page through the engine's
// page channel (app.sendMessage), then looks at the main window from outside
// as any other program could: its rectangle, z-order, capture and the screen.
#include <gtest/gtest.h>
#include <json/json.h>
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "HeldPageServer.h"
#include "LumoraProcess.h"
#include "PageCommandSuite.h"
#include "ScreenShot.h"
#include "TestProgramFolder.h"
#include "WindowProbes.h"

namespace {

const UINT kSelectPageMessage = WM_APP + 3; // lParam = option position from 1
const LPARAM kHomeOption = 2;
const int kCaptionHeight = 58; // main.xml
const int kStatusHeight = 26;
const int kMiniWidth = 476;
const int kMiniHeight = 270;

std::string Describe(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
        std::to_string(rc.bottom);
}

bool RectIs(HWND wnd, const RECT& expected)
{
    RECT rc = WindowRect(wnd);
    return EqualRect(&rc, &expected) != FALSE;
}

bool IsRed(DWORD p)
{
    return (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40;
}
bool IsDark(DWORD p)
{
    return (p >> 16) < 0x40 && ((p >> 8) & 0xFF) < 0x50 && (p & 0xFF) < 0x70;
}

// The suite's program run.
class PageCommands : public TPageCommandSuite<PageCommands>
{
public:
    static constexpr const wchar_t* kProgramFolder = L"pagecmds_program";

protected:
    void SetUp() override { SetUpWithHomePage(); }
    void TearDown() override
    {
        if (IsIconic(main_)) SendMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    }

    // Waits until the view shows between these offsets from the window's top and bottom.
    bool ViewSpans(int top, int fromBottom)
    {
        return WaitUntil([&] {
            RECT view = {};
            RECT rc = WindowRect(main_);
            return ShownBrowserRect(main_, &view) && view.top == top && view.bottom == rc.bottom - rc.top - fromBottom;
        });
    }

    // The left button goes down on the page, and the click brings the window
    // to the front before the page's mouse-down handler could send anything.
    void PressOn(POINT screen)
    {
        MouseInput(MOUSEEVENTF_LEFTDOWN, screen);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }));
    }

    // The page's mouse-down handler asks for the drag. The window takes it
    // once its own messages have shown the button down, and posted requests
    // overtake input, so the page asks until it does.
    bool StartDrag()
    {
        bool captured = WaitUntil([&] {
            return Send("movePlayerWindow", Args({ 10, 20 })) && CaptureOf(main_) == main_;
        });
        Barrier(); // no request still on its way restarts the drag later
        return captured;
    }

    RECT PlaceWindow(int x, int y)
    {
        SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return WindowRect(main_);
    }
};

TEST_F(PageCommands, ShowPlayerWindowSelectsThePlayingPage)
{
    ASSERT_TRUE(ViewSpans(1 + kCaptionHeight, 1 + kStatusHeight)) << "home page with both bars";
    ASSERT_TRUE(Send("showPlayerWindow"));
    EXPECT_TRUE(ViewSpans(1 + kCaptionHeight, 1)) << "the playing page has no status bar";
    SendMessageW(main_, kSelectPageMessage, 0, kHomeOption);
    EXPECT_TRUE(ViewSpans(1 + kCaptionHeight, 1 + kStatusHeight));
}

TEST_F(PageCommands, SetWindowFrontTogglesStayOnTop)
{
    ASSERT_FALSE(TopMost(main_));
    ASSERT_TRUE(Send("setWindowFront", Args({ true })));
    EXPECT_TRUE(WaitUntil([&] { return TopMost(main_); }));
    ASSERT_TRUE(Send("setWindowFront", Args({ false })));
    EXPECT_TRUE(WaitUntil([&] { return !TopMost(main_); }));
}

// The pin button ("置顶" / "取消置顶", left of the menu button) is read by
// what a click on it does: it always offers the opposite of the window's state.
TEST_F(PageCommands, PinButtonAndStayOnTopAgreeAcrossTabsFullScreenAndSetWindowFront)
{
    const RECT rc = PlaceWindow(100, 60);
    const POINT pin = { rc.right - 6 - 4 * 32 - 15, rc.top + 4 + 15 }; // main.xml: five 30-pixel buttons, 2 apart
    const POINT away = { rc.left + 300, rc.top + 300 };
    // Clicks alternate between two points of the button, so two in quick
    // succession are two clicks, not a double-click.
    int clicks = 0;
    auto clickPin = [&] {
        const POINT at = { pin.x + (clicks++ % 2 == 0 ? -8 : 8), pin.y };
        MouseInput(MOUSEEVENTF_LEFTDOWN, at);
        MouseInput(MOUSEEVENTF_LEFTUP, at);
        MouseInput(0, away);
    };
    ASSERT_FALSE(TopMost(main_));

    clickPin();
    ASSERT_TRUE(WaitUntil([&] { return TopMost(main_); })) << "the pin button did not pin";
    for (LPARAM page : { LPARAM(1), LPARAM(3), kHomeOption }) {
        SendMessageW(main_, kSelectPageMessage, 0, page);
        EXPECT_TRUE(TopMost(main_)) << "a switch to page option " << page << " dropped the pin";
    }
    ASSERT_TRUE(Send("setFullscreen", Args({ true })));
    ASSERT_TRUE(Send("setFullscreen", Args({ false })));
    EXPECT_TRUE(WaitUntil([&] { return RectIs(main_, rc); }));
    EXPECT_TRUE(WaitUntil([&] { return TopMost(main_); })) << "leaving full screen dropped the pin";
    clickPin();
    EXPECT_TRUE(WaitUntil([&] { return !TopMost(main_); })) << "the button did not offer to unpin";

    // Pinned by the page: the button offers to unpin.
    ASSERT_TRUE(Send("setWindowFront", Args({ true })));
    ASSERT_TRUE(WaitUntil([&] { return TopMost(main_); })) << std::hex << GetWindowLongPtrW(main_, GWL_EXSTYLE);
    clickPin();
    EXPECT_TRUE(WaitUntil([&] { return !TopMost(main_); }))
        << "after setWindowFront [true] the button still offered to pin";

    // Unpinned by the page: the button offers to pin again.
    clickPin();
    ASSERT_TRUE(WaitUntil([&] { return TopMost(main_); }));
    ASSERT_TRUE(Send("setWindowFront", Args({ false })));
    ASSERT_TRUE(WaitUntil([&] { return !TopMost(main_); }));
    clickPin();
    EXPECT_TRUE(WaitUntil([&] { return TopMost(main_); }))
        << "after setWindowFront [false] the button still offered to unpin";
    ASSERT_TRUE(Send("setWindowFront", Args({ false })));
    EXPECT_TRUE(WaitUntil([&] { return !TopMost(main_); }));
}

// "Off" without "on", and "on" twice: the normal rectangle survives both.
TEST_F(PageCommands, SetMiniShowsTheMiniPlayerAndRestoresTheWindow)
{
    const RECT normal = PlaceWindow(60, 40);
    ASSERT_TRUE(Send("setMini", Args({ false })));
    ASSERT_TRUE(Send("setMini", Args({ true })));
    ASSERT_TRUE(WaitUntil([&] {
        RECT rc = WindowRect(main_);
        return rc.right - rc.left == kMiniWidth && rc.bottom - rc.top == kMiniHeight;
    })) << Describe(WindowRect(main_));
    // Centred on the window's monitor, the playing page without bars.
    RECT work = MonitorArea(main_, true);
    RECT mini = WindowRect(main_);
    EXPECT_EQ(mini.left, work.left + (work.right - work.left - kMiniWidth) / 2);
    EXPECT_EQ(mini.top, work.top + (work.bottom - work.top - kMiniHeight) / 2);
    EXPECT_TRUE(ViewSpans(1, 1)) << "no caption, no status bar";

    ASSERT_TRUE(Send("setMini", Args({ true })));
    ASSERT_TRUE(Send("setMini", Args({ false })));
    EXPECT_TRUE(WaitUntil([&] { return RectIs(main_, normal); }))
        << Describe(WindowRect(main_)) << " instead of " << Describe(normal);
    EXPECT_TRUE(ViewSpans(1 + kCaptionHeight, 1)) << "the playing page stays selected";
    SendMessageW(main_, kSelectPageMessage, 0, kHomeOption);
    EXPECT_TRUE(ViewSpans(1 + kCaptionHeight, 1 + kStatusHeight));
}

TEST_F(PageCommands, SetFullscreenCoversTheMonitorAndRestoresTheWindow)
{
    const RECT normal = PlaceWindow(80, 30);
    ASSERT_TRUE(Send("setFullscreen", Args({ false })));
    ASSERT_TRUE(Send("setFullscreen", Args({ true })));
    // The page alone covers the monitor: the window's frame goes in full screen.
    const RECT covering = MonitorArea(main_, false);
    EXPECT_TRUE(WaitUntil([&] { return RectIs(main_, covering); })) << Describe(WindowRect(main_));
    EXPECT_TRUE(TopMost(main_));
    EXPECT_TRUE(ViewSpans(0, 0)) << "no caption, no status bar, no frame";

    ASSERT_TRUE(Send("setFullscreen", Args({ true })));
    ASSERT_TRUE(Send("setFullscreen", Args({ false })));
    EXPECT_TRUE(WaitUntil([&] { return RectIs(main_, normal); }))
        << Describe(WindowRect(main_)) << " instead of " << Describe(normal);
    EXPECT_FALSE(TopMost(main_));
    EXPECT_TRUE(ViewSpans(1 + kCaptionHeight, 1 + kStatusHeight));
}

TEST_F(PageCommands, HidePlayerWindowMinimises)
{
    ASSERT_TRUE(Send("hidePlayerWindow"));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }));
    SendMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(main_));
}

// What a page sends as a notice is shown as text: its tags do not colour it.
TEST_F(PageCommands, NoticeOpensThePopupWithThePageTextAsPlainText)
{
    ASSERT_TRUE(NoticePopups(process_->ProcessId()).empty());
    ASSERT_TRUE(Send("notice", Args({ "系统公告|<c #FF0000>WWMM红色</c>", "http://127.0.0.1:1/notice" })));
    std::vector<HWND> popups;
    ASSERT_TRUE(WaitUntil([&] {
        popups = NoticePopups(process_->ProcessId());
        return popups.size() == 1;
    }));
    HWND popup = popups[0];
    RECT rc = WindowRect(popup);
    RECT work = MonitorArea(popup, true);
    EXPECT_EQ(rc.right, work.right) << "in the work area's bottom-right corner";
    EXPECT_EQ(rc.bottom, work.bottom);

    // The text area below the popup's caption: drawn, in the link colour, never red.
    RECT text = { rc.left, rc.top + 30, rc.right, rc.top + 126 };
    int dark = 0;
    int red = 0;
    EXPECT_TRUE(WaitUntil([&] {
        dark = red = 0;
        ScreenShot shot(text);
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                dark += IsDark(shot.Pixel(x, y));
                red += IsRed(shot.Pixel(x, y));
            }
        }
        return dark > 20;
    })) << "the notice text was not drawn";
    EXPECT_EQ(red, 0) << "a tag from the page coloured the text";

    PostMessageW(popup, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup); }));
}

// The page asks from its mouse-down handler; the window then follows the
// pointer until the button goes up. Moves are posted as the system would,
// so their order against the commands is fixed; the button is real input.
TEST_F(PageCommands, MovePlayerWindowDragsOnlyWhileTheLeftButtonIsDown)
{
    const RECT start = PlaceWindow(200, 150);
    const POINT onView = { start.left + 300, start.top + 300 };
    auto postMove = [&](WPARAM keys, POINT screen) {
        MouseInput(0, screen);
        POINT cursor;
        GetCursorPos(&cursor);
        PostMessageW(main_, WM_MOUSEMOVE, keys,
                     MAKELPARAM(cursor.x - WindowRect(main_).left, cursor.y - WindowRect(main_).top));
        return cursor;
    };

    // Without the button the command takes nothing.
    MouseInput(0, onView);
    ASSERT_TRUE(Send("movePlayerWindow", Args({ 10, 20 })));
    Barrier();
    EXPECT_EQ(CaptureOf(main_), nullptr);

    // With it the window follows; the first move is above and left of the
    // window, so its offset inside the window is negative.
    PressOn(onView);
    ASSERT_TRUE(StartDrag());
    POINT first = postMove(MK_LBUTTON, { start.left - 30, start.top - 20 });
    POINT second = postMove(MK_LBUTTON, { start.left + 20, start.top + 50 });
    const RECT dragged = { start.left + second.x - first.x, start.top + second.y - first.y,
                           start.right + second.x - first.x, start.bottom + second.y - first.y };
    EXPECT_TRUE(WaitUntil([&] { return RectIs(main_, dragged); }))
        << Describe(WindowRect(main_)) << " instead of " << Describe(dragged);

    // The button goes up: the drag ends and the mouse is free.
    MouseInput(MOUSEEVENTF_LEFTUP, second);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOf(main_) == nullptr; }));
    postMove(0, { second.x + 40, second.y + 40 });
    Barrier();
    EXPECT_TRUE(RectIs(main_, dragged)) << Describe(WindowRect(main_));
}

TEST_F(PageCommands, MovePlayerWindowEndsWhenCaptureIsLostAndIsIgnoredInFullScreen)
{
    const RECT start = PlaceWindow(150, 100);
    const POINT onView = { start.left + 300, start.top + 300 };
    auto postMoves = [&] {
        PostMessageW(main_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(main_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 90));
        Barrier();
    };
    MouseInput(0, onView);

    // Another window took the mouse: later moves do not drag.
    PressOn(onView);
    ASSERT_TRUE(StartDrag());
    SendMessageW(main_, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(GetDesktopWindow()));
    postMoves();
    EXPECT_TRUE(RectIs(main_, start)) << Describe(WindowRect(main_));

    // Full screen: the window has seen the button down, yet nothing follows the mouse.
    ASSERT_TRUE(Send("setFullscreen", Args({ true })));
    const RECT covering = MonitorArea(main_, false);
    ASSERT_TRUE(WaitUntil([&] { return RectIs(main_, covering); }));
    ASSERT_TRUE(Send("movePlayerWindow", Args({ 1, 1 })));
    postMoves();
    EXPECT_TRUE(RectIs(main_, covering)) << Describe(WindowRect(main_));
    ASSERT_TRUE(Send("setFullscreen", Args({ false })));
    ASSERT_TRUE(WaitUntil([&] { return RectIs(main_, start); })) << Describe(WindowRect(main_));

    // A new drag starts as usual and ends with the button.
    ASSERT_TRUE(StartDrag());
    MouseInput(MOUSEEVENTF_LEFTUP, onView);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOf(main_) == nullptr; }));
}

// A view is attached to its page only once the page's document is complete:
// the home page is held back by the server until the test lets it through.
TEST(PageReadiness, AViewIsAttachedOnlyOnceItsDocumentIsComplete)
{
    HeldPageServer server;
    ASSERT_TRUE(server.Start());
    TestProgramFolder folder(L"pagecmds_held", { server.HeldAddress(), L"tv.html", L"playing.html" });
    ASSERT_TRUE(folder.Ready());
    LumoraProcess process;
    ASSERT_TRUE(process.Start(folder.Path()));
    HWND main = process.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    // The request is in: the browser started loading, its document is not done.
    ASSERT_TRUE(WaitUntil([&] { return server.HeldRequested(); }));
    SendMessageW(main, WM_NULL, 0, 0);
    RECT view = {};
    EXPECT_FALSE(ShownBrowserRect(main, &view)) << "the home view was attached before its document was complete";

    server.Release();
    EXPECT_TRUE(WaitUntil([&] { return ShownBrowserRect(main, &view); }));
    RECT rc = WindowRect(main);
    EXPECT_EQ(view.left, 2);
    EXPECT_EQ(view.top, 1 + kCaptionHeight);
    EXPECT_EQ(view.bottom, rc.bottom - rc.top - 1 - kStatusHeight);
}

} // namespace
