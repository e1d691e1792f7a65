// A view's browser in the running engine: creation, document readiness, load
// errors and script dialogs, as the main window sees them.
#include "EngineFixture.h"

#include "HeldPageServer.h"
#include "ShellMessages.h"
#include "cef_cookie.h"
#include "cef_stand_in.h"

namespace engine_test {
namespace {

const wchar_t kAppExtensionText[] =
    L"var app;if (!app)  app = {};(function() {  app.sendMessage = function(name, arguments) {    native function "
    L"sendMessage();    return sendMessage(name, arguments);  };  app.setClientInfo = function(stringToEncode) {    "
    L"native function setClientInfo();    return setClientInfo(stringToEncode);  };  app.getClientInfo = "
    L"function(stringToDecode) {    native function getClientInfo();    return getClientInfo(stringToDecode);  };  "
    L"app.getClientVersion = function() {    native function getClientVersion();    return getClientVersion();  "
    L"};})();";

class SubFrame : public CefFrame
{
public:
    explicit SubFrame(bool main) : main_(main) { }
    bool IsValid() override { return true; }
    bool IsMain() override { return main_; }
    int64_t GetIdentifier() override { return main_ ? 1 : 2; }
    CefString GetName() override { return CefString(); }
    CefString GetURL() override { return L"http://127.0.0.1/frame.html"; }
    CefRefPtr<CefBrowser> GetBrowser() override { return nullptr; }
    void LoadURL(const CefString&) override { }
    void VisitDOM(CefRefPtr<CefDOMVisitor>) override { }
    CefRefPtr<CefV8Context> GetV8Context() override { return nullptr; }

private:
    bool main_;
    IMPLEMENT_REFCOUNTING(SubFrame);
};

TEST_F(EngineTest, RegistersTheAppExtensionAndKeepsCookiesForWebAddressesOnly)
{
    ASSERT_TRUE(OpenView(WritePage(L"plain.html", "Plain")));
    CefString source;
    ASSERT_TRUE(CefStandInGetExtension(L"v8/app", &source));
    EXPECT_EQ(source.ToWString(), kAppExtensionText);
    std::vector<CefString> schemes = CefCookieManager::GetGlobalManager()->GetSupportedSchemes();
    ASSERT_EQ(schemes.size(), 2u);
    EXPECT_EQ(schemes[0].ToWString(), L"http");
    EXPECT_EQ(schemes[1].ToWString(), L"https");
}

TEST_F(EngineTest, ViewIsAChildWindowAndReportsCreationThenReadiness)
{
    CefRefPtr<CefBrowser> browser = OpenView(WritePage(L"ready.html", "Ready"), { 0, 0, 300, 200 });
    ASSERT_TRUE(browser);
    int id = browser->GetIdentifier();
    EXPECT_NE(id, 0);
    EXPECT_EQ(handler_->GetBrowserId(), id);
    EXPECT_EQ(root_.Count(WM_LUMORA_BROWSER_CREATED, id), 1);
    HWND window = BrowserWindow(browser);
    EXPECT_EQ(GetParent(window), root_.Handle());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & 0x56010000u, 0x56010000u);

    // One "ready" from the load's end and one from the document's DOMContentLoaded.
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == 1 && root_.Count(WM_LUMORA_PAGE_READY, id) == 2; }));
    EXPECT_EQ(root_.Count(WM_LUMORA_PAGE_READY), 2) << "no other browser id is reported";
    EXPECT_TRUE(delegate_->messages.empty()) << "DomComplete is the handler's own";
}

// A view keeps one page browser: a second one made for it while the first
// lives is closed at once instead of running unseen; once the first is gone, a
// new one takes its place.
TEST_F(EngineTest, ASecondPageBrowserForTheViewIsClosedAndAReplacementIsTracked)
{
    CefRefPtr<CefBrowser> first = OpenView(WritePage(L"first.html", "First"), { 0, 0, 300, 200 });
    ASSERT_TRUE(first);
    CefRefPtr<CefBrowser> second = OpenView(WritePage(L"second.html", "Second"), { 0, 0, 300, 200 });
    ASSERT_TRUE(second);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(BrowserWindow(second)); })) << "the second browser still runs";
    EXPECT_EQ(handler_->GetBrowserId(), first->GetIdentifier());
    EXPECT_TRUE(IsWindow(BrowserWindow(first)));
    EXPECT_EQ(root_.Count(WM_LUMORA_BROWSER_CREATED), 1) << "the closed one was never reported";

    first->GetHost()->CloseBrowser(true);
    ASSERT_TRUE(PumpUntil([&] { return !handler_->GetBrowser(); }));
    CefRefPtr<CefBrowser> third = OpenView(WritePage(L"third.html", "Third"), { 0, 0, 300, 200 });
    ASSERT_TRUE(third);
    EXPECT_EQ(handler_->GetBrowserId(), third->GetIdentifier());
    EXPECT_TRUE(IsWindow(BrowserWindow(third)));
}

TEST_F(EngineTest, EveryDocumentGetsItsOwnListenerAndIsReadyOnce)
{
    CefRefPtr<CefBrowser> browser = OpenView(WritePage(L"first.html", "First"));
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == 1; }));
    browser->GetMainFrame()->LoadURL(WritePage(L"second.html", "Second"));
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == 2; }));
    browser->Reload();
    ASSERT_TRUE(PumpUntil([&] { return handler_->domCompletes == 3; }));
    CallPage(browser->GetIdentifier(), "list"); // the renderer has nothing left to send
    DrainMessages();
    EXPECT_EQ(handler_->domCompletes, 3);
    EXPECT_EQ(handler_->loadStarts.size(), 3u);
}

TEST_F(EngineTest, APageStillLoadingIsNotReportedReady)
{
    HeldPageServer server;
    ASSERT_TRUE(server.Start());
    CefRefPtr<CefBrowser> browser = OpenView(server.HeldAddress());
    ASSERT_TRUE(browser);
    int id = browser->GetIdentifier();
    ASSERT_EQ(handler_->loadStarts.size(), 1u);
    // After this call the renderer has handled "CreateDomListener" (sent at load start).
    CallPage(id, "list");
    DrainMessages();
    EXPECT_EQ(root_.Count(WM_LUMORA_PAGE_READY), 0);
    EXPECT_EQ(handler_->domCompletes, 0);
    server.Release();
    EXPECT_TRUE(PumpUntil([&] { return handler_->domCompletes == 1 && root_.Count(WM_LUMORA_PAGE_READY, id) == 2; }));
    EXPECT_EQ(root_.Count(WM_LUMORA_LOAD_ERROR), 0);
}

TEST_F(EngineTest, OnlyAFailedMainPageIsReportedAsLoadError)
{
    CefRefPtr<CefBrowser> browser = OpenView(L"file:///Z:/no/such/folder/portal.html");
    ASSERT_TRUE(browser);
    int id = browser->GetIdentifier();
    ASSERT_TRUE(PumpUntil([&] { return root_.Count(WM_LUMORA_LOAD_ERROR) == 1; }));
    EXPECT_EQ(root_.Count(WM_LUMORA_LOAD_ERROR, id), 1);
    EXPECT_EQ(root_.Count(WM_LUMORA_PAGE_READY), 0);

    struct Case
    {
        bool mainFrame;
        cef_errorcode_t code;
        int reported;
    } cases[] = {
        { false, ERR_CONNECTION_REFUSED, 0 },
        { false, ERR_FILE_NOT_FOUND, 0 },
        { true, ERR_ABORTED, 0 },
        { true, ERR_NAME_NOT_RESOLVED, 1 },
    };
    for (const Case& c : cases) {
        int before = root_.Count(WM_LUMORA_LOAD_ERROR, id);
        handler_->OnLoadError(browser, new SubFrame(c.mainFrame), c.code, L"", L"http://127.0.0.1/x");
        EXPECT_EQ(root_.Count(WM_LUMORA_LOAD_ERROR, id) - before, c.reported)
            << "main frame " << c.mainFrame << ", code " << c.code;
    }
}

TEST_F(EngineTest, AddressesTheEngineCannotReadAreLoadErrors)
{
    const wchar_t* addresses[] = { L"http://example.com/", L"https://127.0.0.1/", L"not an address" };
    for (const wchar_t* address : addresses) {
        CefRefPtr<CefBrowser> browser = OpenView(address);
        ASSERT_TRUE(browser);
        int id = browser->GetIdentifier();
        EXPECT_TRUE(PumpUntil([&] { return root_.Count(WM_LUMORA_LOAD_ERROR, id) == 1; })) << address;
        browser->GetHost()->CloseBrowser(true);
        handler_ = new TestHandler(delegate_.get()); // a fresh view for the next address
    }
}

TEST_F(EngineTest, ConfirmAsksTheUserAndAlertIsLeftToTheEngine)
{
    CefRefPtr<CefBrowser> browser = OpenView(WritePage(L"dialogs.html", "Dialogs"));
    int id = browser->GetIdentifier();
    Json::Value text(Json::arrayValue);
    text.append("继续吗?");
    struct Case
    {
        int button;
        bool result;
    } cases[] = { { IDYES, true }, { IDNO, false } };
    for (const Case& c : cases) {
        std::thread answer = AnswerMessageBox(L"提示", c.button);
        Json::Value reply = CallPage(id, "confirm", text);
        answer.join();
        EXPECT_EQ(reply["result"], Json::Value(c.result));
    }
    std::thread answer = AnswerMessageBox(L"JavaScript", IDOK);
    Json::Value reply = CallPage(id, "alert", text);
    answer.join();
    EXPECT_FALSE(reply.isMember("result")) << "the engine's own box answered the alert";
}

} // namespace
} // namespace engine_test
