#include <windows.h>
#include <ole2.h>
#include <exdisp.h>

#include <vector>

#include <gtest/gtest.h>

#include "WebBrowserUI.h"
#include "UpdActiveXTestSupport.h"

using namespace UpdActiveXTest;

namespace {

const wchar_t kStartUrl[] = L"http://127.0.0.1/start.html";

class CRecordingHandler : public CWebBrowserEventHandlerUI
{
public:
    void OnBrowserEvent(DISPID dispid, DISPPARAMS*) override { events.push_back(dispid); }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    std::vector<DISPID> events;
};

} // namespace

// The browser's class is served by the test control (with a browser face) in this
// process: there is no real browser engine under the test runner.
class CUpdWebBrowser : public CActiveXFixture
{
protected:
    void SetUp() override
    {
        CActiveXFixture::SetUp();
        setup.pBrowserLog = &browser;
        Register(CWebBrowserUI::WebBrowserClsid());
    }
    CWebBrowserUI* BuildBrowser(LPCWSTR pstrAttributes)
    {
        CControlUI* pRoot =
            Build(std::wstring(L"<Window><WebBrowser name=\"web\" ") + pstrAttributes + L" /></Window>");
        return static_cast<CWebBrowserUI*>(pRoot);
    }
    IDispatch* SiteDispatch() { return Query<IDispatch>(IID_IDispatch); }

    TFakeBrowserLog browser = {};
};

TEST_F(CUpdWebBrowser, UrlWithoutAutonaviCreatesBrowserButStaysBlank)
{
    CWebBrowserUI* pWeb = BuildBrowser(L"url=\"http://127.0.0.1/start.html\"");
    ASSERT_NE(nullptr, pWeb);
    EXPECT_STREQ(L"ActiveXUI", pWeb->GetControlClass());
    EXPECT_EQ(pWeb, pWeb->GetInterface(L"ActiveX"));
    Attach(pWeb);
    EXPECT_EQ(1, controls.nCreated);
    EXPECT_NE(nullptr, pWeb->GetWebBrowser2());
    EXPECT_EQ(0, browser.nNavigations);
}

TEST_F(CUpdWebBrowser, AutonaviNavigatesAtFirstLayout)
{
    CWebBrowserUI* pWeb = BuildBrowser(L"url=\"http://127.0.0.1/start.html\" autonavi=\"true\"");
    ASSERT_NE(nullptr, pWeb);
    EXPECT_EQ(0, controls.nCreated);
    EXPECT_EQ(nullptr, pWeb->GetWebBrowser2());
    Attach(pWeb);
    EXPECT_EQ(1, controls.nCreated);
    EXPECT_EQ(1, browser.nNavigations);
    EXPECT_STREQ(kStartUrl, browser.szLastUrl);

    pWeb->NavigateUrl(nullptr);
    EXPECT_EQ(1, browser.nNavigations);
    pWeb->NavigateUrl(L"http://127.0.0.1/next.html");
    EXPECT_EQ(2, browser.nNavigations);
}

// Released, the browser comes back at the next layout (and navigates again).
TEST_F(CUpdWebBrowser, ReleasedBrowserIsCreatedAgainByTheNextLayout)
{
    CWebBrowserUI* pWeb = BuildBrowser(L"url=\"http://127.0.0.1/start.html\" autonavi=\"true\"");
    ASSERT_NE(nullptr, pWeb);
    Attach(pWeb);
    pWeb->ReleaseHostedControl();
    EXPECT_EQ(nullptr, pWeb->GetWebBrowser2());
    EXPECT_EQ(0, controls.nAlive);
    pWeb->SetPos(Rect(0, 0, 400, 300));
    EXPECT_EQ(2, controls.nCreated);
    EXPECT_EQ(2, browser.nNavigations);
}

TEST_F(CUpdWebBrowser, EventsWithoutHandlerAnswerOkAndShowNoMenu)
{
    CWebBrowserUI* pWeb = BuildBrowser(L"");
    ASSERT_NE(nullptr, pWeb);
    Attach(pWeb);
    IDispatch* pSink = SiteDispatch();
    ASSERT_NE(nullptr, pSink);
    struct
    {
        DISPID dispid;
        HRESULT hr;
    } cases[] = { { 102, S_OK }, { 105, S_OK },      { 250, S_OK },      { 252, S_OK },    { 271, S_OK },
                  { 273, S_OK }, { 251, E_NOTIMPL }, { 259, E_NOTIMPL }, { -1, E_NOTIMPL } };
    DISPPARAMS none = {};
    for (const auto& c : cases) {
        EXPECT_EQ(c.hr, pSink->Invoke(c.dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr))
            << c.dispid;
    }
    EXPECT_EQ(E_INVALIDARG, pSink->Invoke(250, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    UINT nInfo = 7;
    EXPECT_EQ(S_OK, pSink->GetTypeInfoCount(&nInfo));
    EXPECT_EQ(0u, nInfo);
    pSink->Release();

    IDocHostUIHandler* pUI = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    ASSERT_NE(nullptr, pUI);
    EXPECT_EQ(S_OK, pUI->ShowContextMenu(0, nullptr, nullptr, nullptr)); // handled: no menu of the browser's own
    pUI->Release();

    IServiceProvider* pServices = Query<IServiceProvider>(IID_IServiceProvider);
    ASSERT_NE(nullptr, pServices);
    IDownloadManager* pDownloads = nullptr;
    ASSERT_EQ(S_OK,
              pServices->QueryService(kIidDownloadManager, kIidDownloadManager, reinterpret_cast<void**>(&pDownloads)));
    EXPECT_EQ(S_OK, pDownloads->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0));
    pDownloads->Release();
    pServices->Release();
}

TEST_F(CUpdWebBrowser, HandlerGetsTheBrowserEventsAndUiCalls)
{
    CWebBrowserUI* pWeb = BuildBrowser(L"");
    ASSERT_NE(nullptr, pWeb);
    CRecordingHandler handler;
    pWeb->SetEventHandler(&handler);
    Attach(pWeb);
    IDispatch* pSink = SiteDispatch();
    ASSERT_NE(nullptr, pSink);
    DISPPARAMS none = {};
    for (DISPID dispid : { 102, 105, 250, 252, 271, 273, 251 })
        pSink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    EXPECT_EQ((std::vector<DISPID>{ 105, 250, 252, 271, 273 }), handler.events);
    pSink->Release();

    IDocHostUIHandler* pUI = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    ASSERT_NE(nullptr, pUI);
    EXPECT_EQ(S_FALSE, pUI->ShowContextMenu(0, nullptr, nullptr, nullptr));
    pUI->Release();
    pWeb->SetEventHandler(nullptr);
}

// The manager offers keys to the browsers the builder listed: it reaches this one
// through its IWebBrowser2 (and, finding no document window, lets the key pass).
TEST_F(CUpdWebBrowser, BuilderListsTheBrowserWithTheManager)
{
    CWebBrowserUI* pWeb = BuildBrowser(L"");
    ASSERT_NE(nullptr, pWeb);
    Attach(pWeb);
    MSG msg = {};
    msg.hwnd = ::GetDesktopWindow(); // not the manager's own window
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    browser.nServiceQueries = 0;
    EXPECT_FALSE(CWindowManagerUI::PreTranslateAll(&msg));
    EXPECT_GE(browser.nServiceQueries, 1);
}

// A browser the builder made and then dropped, or a built tree deleted without ever being
// attached, must leave the manager's list: the list is walked for every message.
TEST_F(CUpdWebBrowser, DeletedBrowsersLeaveTheManagersList)
{
    ASSERT_EQ(0, manager->GetBrowserCount());
    // A child of a control that holds no children is deleted by the builder.
    delete Build(L"<Window><Control><WebBrowser/></Control></Window>");
    EXPECT_EQ(0, manager->GetBrowserCount());
    // Without a parent only the first control is kept; the second is deleted at once.
    CControlUI* pFirst = Build(L"<Window><WebBrowser name=\"a\"/><WebBrowser name=\"b\"/></Window>");
    ASSERT_NE(nullptr, pFirst);
    EXPECT_EQ(1, manager->GetBrowserCount());
    delete pFirst; // never attached
    EXPECT_EQ(0, manager->GetBrowserCount());
    // Keys for other windows still pass through the (now empty) list.
    MSG msg = {};
    msg.hwnd = ::GetDesktopWindow();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    EXPECT_FALSE(CWindowManagerUI::PreTranslateAll(&msg));
}

TEST_F(CUpdWebBrowser, ABrowserOutlivingItsManagerForgetsIt)
{
    CWebBrowserUI* pWeb = new CWebBrowserUI;
    CWindowManagerUI* pOther = new CWindowManagerUI;
    ASSERT_TRUE(pOther->AddBrowser(pWeb));
    EXPECT_FALSE(pOther->AddBrowser(pWeb)); // listed once
    EXPECT_EQ(pOther, pWeb->GetListingManager());
    // Moving to another manager's list leaves the first one.
    ASSERT_TRUE(manager->AddBrowser(pWeb));
    EXPECT_EQ(0, pOther->GetBrowserCount());
    ASSERT_TRUE(pOther->AddBrowser(pWeb));
    EXPECT_EQ(0, manager->GetBrowserCount());
    delete pOther;
    EXPECT_EQ(nullptr, pWeb->GetListingManager());
    delete pWeb;
    // Only ActiveX hosts are taken.
    CControlUI plain;
    EXPECT_FALSE(manager->AddBrowser(&plain));
    EXPECT_FALSE(manager->AddBrowser(nullptr));
}
