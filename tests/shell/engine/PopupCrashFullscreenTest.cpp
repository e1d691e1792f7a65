// Popups, a crashing renderer and a page's full-screen request, in the
// running engine.
#include "EngineFixture.h"

#include "ShellMessages.h"

namespace engine_test {
namespace {

Json::Value Args(const std::string& a, const std::string& b)
{
    Json::Value args(Json::arrayValue);
    args.append(a);
    args.append(b);
    return args;
}

std::string Utf8(const std::wstring& text)
{
    return CefString(text).ToString();
}

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST_F(EngineTest, LumoraPopupIsAnEngineWindowWithThePagesTitleAndTheProgramIcon)
{
    CefRefPtr<CefBrowser> main = OpenView(WritePage(L"opener.html", "Opener"));
    int mainId = main->GetIdentifier();
    std::wstring popupUrl = WritePage(L"popup.html", "弹出窗口");
    CallPage(mainId, "window.open", Args(Utf8(popupUrl), "lumora"));
    ASSERT_TRUE(PumpUntil([&] { return handler_->created.size() == 2; }));
    CefRefPtr<CefBrowser> popup = handler_->created.back();
    HWND window = BrowserWindow(popup);
    EXPECT_TRUE(popup->IsPopup());
    EXPECT_EQ(GetAncestor(window, GA_ROOT), window) << "a top-level window of its own";
    EXPECT_TRUE(PumpUntil([&] { return WindowText(window) == L"弹出窗口"; })) << "title follows the page";
    EXPECT_TRUE(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(handler_->GetBrowserId(), mainId) << "the view's main browser stays the first one";
    EXPECT_TRUE(handler_->systemOpens.empty());

    // The popup's page commands are not the view's.
    CallPage(popup->GetIdentifier(), "app.sendMessage", Args("setMini", "x"));
    CallPage(popup->GetIdentifier(), "list");
    DrainMessages();
    EXPECT_TRUE(delegate_->messages.empty());
    EXPECT_EQ(GetParent(BrowserWindow(main)), root_.Handle());
}

TEST_F(EngineTest, OtherPopupsGoToTheSystemOnlyForWebAddresses)
{
    CefRefPtr<CefBrowser> main = OpenView(WritePage(L"opener2.html", "Opener"));
    int id = main->GetIdentifier();
    CallPage(id, "window.open", Args("http://127.0.0.1:1/offer.html", "_blank"));
    CallPage(id, "window.open", Args("file:///C:/windows/notepad.exe", "_blank"));
    CallPage(id, "window.open", Args("ms-settings:", ""));
    CallPage(id, "list");
    DrainMessages();
    ASSERT_EQ(handler_->systemOpens.size(), 1u);
    EXPECT_EQ(handler_->systemOpens[0], L"http://127.0.0.1:1/offer.html");
    EXPECT_EQ(handler_->created.size(), 1u) << "no popup browser was made";
}

TEST_F(EngineTest, CrashedRendererReloadsTheSameAddressAFewTimes)
{
    std::wstring url = WritePage(L"CrashPage.HTML", "Crash");
    CefRefPtr<CefBrowser> browser = OpenView(url);
    int id = browser->GetIdentifier();
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == 1; }));
    for (int crash = 1; crash <= CefClientHandler::kMaxCrashReloads; ++crash) {
        CallPage(id, "crash");
        ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == crash + 1; })) << "reload " << crash;
        EXPECT_EQ(handler_->loadStarts.back(), url) << "the address is reloaded as it was";
    }
    size_t loads = handler_->loadStarts.size();
    CallPage(id, "crash");
    DrainMessages();
    EXPECT_EQ(handler_->loadStarts.size(), loads) << "a page that keeps crashing is left alone";

    // Another address starts a new count.
    browser->GetMainFrame()->LoadURL(WritePage(L"after.html", "After"));
    ASSERT_TRUE(PumpUntil([&] { return handler_->loadStarts.size() == loads + 1; }));
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == CefClientHandler::kMaxCrashReloads + 2; }));
    CallPage(id, "crash");
    EXPECT_TRUE(PumpUntil([&] { return handler_->loadStarts.size() == loads + 2; }));
}

TEST_F(EngineTest, BrowserFullScreenCoversTheMonitorAndReturnsIntoItsWindow)
{
    const RECT placed = { 10, 20, 410, 320 };
    CefRefPtr<CefBrowser> browser = OpenView(WritePage(L"video.html", "Video"), placed);
    int id = browser->GetIdentifier();
    HWND window = BrowserWindow(browser);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);

    // Leaving without having entered changes nothing.
    CallPage(id, "exitFullscreen");
    DrainMessages();
    EXPECT_EQ(GetParent(window), root_.Handle());

    CallPage(id, "requestFullscreen");
    CallPage(id, "requestFullscreen"); // a second request keeps the first saved place
    ASSERT_TRUE(PumpUntil([&] { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }));
    DrainMessages();
    MONITORINFO monitor = { sizeof(monitor) };
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT rc;
    GetWindowRect(window, &rc);
    EXPECT_TRUE(EqualRect(&rc, &monitor.rcMonitor));

    CallPage(id, "exitFullscreen");
    ASSERT_TRUE(PumpUntil([&] { return GetParent(window) == root_.Handle(); }));
    DrainMessages();
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, root_.Handle(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(EqualRect(&rc, &placed)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE), style);
}

} // namespace
} // namespace engine_test
