#include "ActiveXTest.h"

#include "PageArgs.h"

// Page bridge

TEST_F(ActiveXTest, PageNamesMatchByLeadingWordCaseSensitively)
{
    struct TCase
    {
        LPCWSTR name;
        DISPID id; // -1: not found
    } cases[] = {
        { L"SendMessage", 1 }, { L"SendMessageToClient", 1 }, { L"sendmessage", -1 },     { L"SendExe", 2 },
        { L"reload", 3 },      { L"listAdShow", 4 },          { L"listAdClose", 5 },      { L"SuperPowerPlay", 6 },
        { L"isOk", 7 },        { L"queryStatus", 8 },         { L"getClientVersion", 9 }, { L"NoticeFunc", 10 },
        { L"unknown", -1 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "name " << static_cast<const void*>(c.name));
        LPOLESTR name = const_cast<LPOLESTR>(c.name);
        DISPID id = 12345;
        HRESULT hr = CPageBridgeUI::GetIDsOfNames(&name, 1, &id);
        if (c.id < 0) {
            EXPECT_EQ(static_cast<HRESULT>(0xFFFFFFFF), hr);
            EXPECT_EQ(12345, id) << "no id is written for an unknown name";
        } else {
            EXPECT_EQ(S_OK, hr);
            EXPECT_EQ(c.id, id);
        }
    }
    LPOLESTR two[2] = { const_cast<LPOLESTR>(L"isOk"), const_cast<LPOLESTR>(L"reload") };
    DISPID ids[2] = {};
    EXPECT_EQ(E_INVALIDARG, CPageBridgeUI::GetIDsOfNames(two, 2, ids));
    std::wstring sLong = L"SendMessage" + std::wstring(200, L'x');
    LPOLESTR longName = const_cast<LPOLESTR>(sLong.c_str());
    EXPECT_EQ(static_cast<HRESULT>(0xFFFFFFFF), CPageBridgeUI::GetIDsOfNames(&longName, 1, ids))
        << "a name that does not fit the buffer matches nothing";
}

TEST_F(ActiveXTest, SendMessageNeedsExactlyTwoStrings)
{
    config.pBrowserLog = &browserLog;
    Host<CActiveXUI>(&CActiveXUI::WebBrowserClsid(), RECT{ 0, 0, 100, 100 });
    IDispatch* bridge = External();
    ASSERT_NE(nullptr, bridge);
    host->textArrayMessage = WM_USER + 300;
    host->textCount = 2;

    CPageArray two({ CPageArray::Text(L"a"), CPageArray::Text(L"视频") });
    CPageArray three({ CPageArray::Text(L"a"), CPageArray::Text(L"b"), CPageArray::Text(L"c") });
    CPageArray mixed({ CPageArray::Text(L"a"), CPageArray::Int(5) });

    struct TCase
    {
        const char* name;
        CArgs args;
        HRESULT hr;
    } cases[] = {
        { "three strings", CArgs().Int(WM_USER + 300).Int(9).Object(&three), DISP_E_TYPEMISMATCH },
        { "a number among the strings", CArgs().Int(WM_USER + 300).Int(9).Object(&mixed), DISP_E_TYPEMISMATCH },
        { "message given as text", CArgs().Text(L"x").Int(9).Object(&two), DISP_E_TYPEMISMATCH },
        { "two arguments", CArgs().Int(WM_USER + 300).Int(9), DISP_E_BADPARAMCOUNT },
        { "no array", CArgs().Int(WM_USER + 300).Int(9).Int(1), DISP_E_TYPEMISMATCH },
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hr, Call(bridge, CPageBridgeUI::DispSendMessage, c.args));
        EXPECT_TRUE(host->sent.empty()) << "a refused call sends nothing";
    }

    CArgs named = CArgs().Int(WM_USER + 300).Int(9).Object(&two);
    DISPID namedId = 0;
    DISPPARAMS* params = named.Params();
    params->cNamedArgs = 1;
    params->rgdispidNamedArgs = &namedId;
    EXPECT_EQ(DISP_E_NONAMEDARGS, bridge->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, params, nullptr, nullptr, nullptr));

    CArgs good = CArgs().Int(WM_USER + 300).Int(9).Object(&two);
    ASSERT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispSendMessage, good));
    ASSERT_EQ(1u, host->sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_USER + 300), host->sent[0].uMsg);
    EXPECT_EQ(9u, host->sent[0].wParam);
    std::vector<std::wstring> expected = { L"a", L"视频" };
    EXPECT_EQ(expected, host->sent[0].texts);
    EXPECT_TRUE(host->sent[0].bNullAfterTexts) << "the array ends in a null entry";

    host->sent.clear();
    CArgs power = CArgs().Int(WM_USER + 300).Bool(true).Object(&two);
    ASSERT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispSuperPowerPlay, power));
    ASSERT_EQ(1u, host->sent.size());
    EXPECT_EQ(1u, host->sent[0].wParam);
    bridge->Release();
}

TEST_F(ActiveXTest, SendExeSendsClientItemsOrCallsThePageFunction)
{
    config.pBrowserLog = &browserLog;
    Host<CActiveXUI>(&CActiveXUI::WebBrowserClsid(), RECT{ 0, 0, 100, 100 });
    IDispatch* bridge = External();
    ASSERT_NE(nullptr, bridge);
    host->textArrayMessage = WM_USER + 301;
    host->textCount = 3;
    CPageArray empty({});
    CPageArray three({ CPageArray::Text(L"x"), CPageArray::Text(L"y"), CPageArray::Text(L"z") });

    CArgs noItems = CArgs().Int(WM_USER + 301).Text(L"lumoravid").Object(&empty);
    EXPECT_EQ(DISP_E_EXCEPTION, Call(bridge, CPageBridgeUI::DispSendExe, noItems));
    EXPECT_TRUE(host->sent.empty());

    CArgs items = CArgs().Int(WM_USER + 301).Text(L"joyvale").Object(&three);
    ASSERT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispSendExe, items));
    ASSERT_EQ(1u, host->sent.size());
    EXPECT_EQ(3u, host->sent[0].wParam);
    std::vector<std::wstring> expected = { L"x", L"y", L"z" };
    EXPECT_EQ(expected, host->sent[0].texts);
    EXPECT_TRUE(host->sent[0].bNullAfterTexts) << "the array ends in a null entry";

    host->sent.clear();
    CArgs refresh = CArgs().Int(WM_USER + 301).Text(L"refresh").Object(&empty);
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispSendExe, refresh));
    EXPECT_EQ(1, browserLog.nScriptCalls);
    EXPECT_STREQ(L"refresh", browserLog.szLastScriptName);
    EXPECT_TRUE(host->sent.empty());

    CArgs missing = CArgs().Int(WM_USER + 301).Text(L"noSuchFunction").Object(&empty);
    EXPECT_EQ(S_FALSE, Call(bridge, CPageBridgeUI::DispSendExe, missing));
    browserLog.bHasDocument = FALSE;
    CArgs noDocument = CArgs().Int(WM_USER + 301).Text(L"refresh").Object(&empty);
    EXPECT_EQ(S_FALSE, Call(bridge, CPageBridgeUI::DispSendExe, noDocument));
    EXPECT_EQ(1, browserLog.nScriptCalls);
    bridge->Release();
}

// The strings go out as lParam of a message the page numbers: system messages
// would take them for buffers to read or fill (WM_SETTEXT, WM_GETTEXT). Only the
// range a program defines for itself goes out.
TEST_F(ActiveXTest, PagesSendOnlyTheProgramsOwnMessages)
{
    config.pBrowserLog = &browserLog;
    Host<CActiveXUI>(&CActiveXUI::WebBrowserClsid(), RECT{ 0, 0, 100, 100 });
    IDispatch* bridge = External();
    ASSERT_NE(nullptr, bridge);
    ::SetWindowTextW(hwnd, L"host");
    CPageArray two({ CPageArray::Text(L"a"), CPageArray::Text(L"b") });

    const LONG refused[] = { WM_SETTEXT, WM_GETTEXT, 0, WM_USER - 1, 0x10000, -1 };
    for (LONG uMsg : refused) {
        SCOPED_TRACE(testing::Message() << "message " << uMsg);
        CArgs message = CArgs().Int(uMsg).Int(4096).Object(&two);
        EXPECT_EQ(E_INVALIDARG, Call(bridge, CPageBridgeUI::DispSendMessage, message));
        CArgs power = CArgs().Int(uMsg).Bool(true).Object(&two);
        EXPECT_EQ(E_INVALIDARG, Call(bridge, CPageBridgeUI::DispSuperPowerPlay, power));
        CArgs exe = CArgs().Int(uMsg).Text(L"joyvale").Object(&two);
        EXPECT_EQ(E_INVALIDARG, Call(bridge, CPageBridgeUI::DispSendExe, exe));
        wchar_t szText[64] = {};
        ::GetWindowTextW(hwnd, szText, 64);
        EXPECT_STREQ(L"host", szText);
    }
    EXPECT_TRUE(host->sent.empty());

    for (LONG uMsg : { static_cast<LONG>(WM_USER), static_cast<LONG>(WM_APP + 5), 0xFFFFL }) {
        CArgs message = CArgs().Int(uMsg).Int(1).Object(&two);
        EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispSendMessage, message)) << uMsg;
    }
    bridge->Release();
}

TEST_F(ActiveXTest, SimplePageCallsBecomeWindowMessages)
{
    config.pBrowserLog = &browserLog;
    Host<CActiveXUI>(&CActiveXUI::WebBrowserClsid(), RECT{ 0, 0, 100, 100 });
    IDispatch* bridge = External();
    ASSERT_NE(nullptr, bridge);

    CArgs none;
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispIsOk, none));
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispQueryStatus, none));
    CArgs notice = CArgs().Text(L"标题").Text(L"body");
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispNoticeFunc, notice));
    CArgs badNotice = CArgs().Text(L"only one");
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(bridge, CPageBridgeUI::DispNoticeFunc, badNotice));
    ASSERT_EQ(3u, host->sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_USER + 101), host->sent[0].uMsg);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 102), host->sent[1].uMsg);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 112), host->sent[2].uMsg);
    std::vector<std::wstring> texts = { L"标题", L"body" };
    EXPECT_EQ(texts, host->sent[2].texts);

    host->sent.clear();
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispListAdShow, none));
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispListAdClose, none));
    EXPECT_TRUE(host->sent.empty()) << "the list-ad calls are posted, not sent";
    Pump();
    ASSERT_EQ(2u, host->sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_USER + 200), host->sent[0].uMsg);
    EXPECT_EQ(204u, host->sent[0].wParam);
    EXPECT_EQ(205u, host->sent[1].wParam);

    VARIANT version;
    ::VariantInit(&version);
    EXPECT_EQ(S_OK, Call(bridge, CPageBridgeUI::DispGetClientVersion, none, &version));
    ASSERT_EQ(VT_BSTR, version.vt);
    EXPECT_STREQ(L"4.1.10.10", version.bstrVal);
    ::VariantClear(&version);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(bridge, 11, none));
    EXPECT_EQ(E_INVALIDARG, bridge->Invoke(7, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
    bridge->Release();
}

TEST_F(ActiveXTest, NavigationErrorsShowTheErrorPageOfTheOwnBrowserOnly)
{
    config.pBrowserLog = &browserLog;
    CActiveXUI* ax = Host<CActiveXUI>(&CActiveXUI::WebBrowserClsid(), RECT{ 0, 0, 100, 100 }, L"bApply");
    IDispatch* sink = SiteFace<IDispatch>(IID_IDispatch);
    ASSERT_NE(nullptr, sink);
    IWebBrowser2* own = nullptr;
    ASSERT_EQ(S_OK, ax->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&own)));
    TFakeBrowserLog frameLog = {};
    IWebBrowser2* frame = FakeBrowserCreate(&frameLog);

    auto navigateError = [&](IWebBrowser2* browser, LPCWSTR url) {
        VARIANT vUrl;
        ::VariantInit(&vUrl);
        vUrl.vt = VT_BSTR;
        vUrl.bstrVal = ::SysAllocString(url);
        VARIANT vEmpty;
        ::VariantInit(&vEmpty);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT args[5];
        for (VARIANT& a : args) ::VariantInit(&a);
        args[4].vt = VT_DISPATCH;
        args[4].pdispVal = browser;
        args[3].vt = VT_VARIANT | VT_BYREF;
        args[3].pvarVal = &vUrl;
        args[2].vt = VT_VARIANT | VT_BYREF;
        args[2].pvarVal = &vEmpty;
        args[1].vt = VT_VARIANT | VT_BYREF;
        args[1].pvarVal = &vEmpty;
        args[0].vt = VT_BOOL | VT_BYREF;
        args[0].pboolVal = &cancel;
        DISPPARAMS params = { args, nullptr, 5, 0 };
        HRESULT hr = sink->Invoke(271, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        ::VariantClear(&vUrl);
        return hr;
    };

    EXPECT_EQ(S_OK, navigateError(frame, L"http://example.invalid/frame"));
    EXPECT_EQ(0, browserLog.nNavigations) << "a sub-frame's failure is only recorded";
    EXPECT_STREQ(L"http://example.invalid/frame", CPageBridgeUI::GetLastFailedUrl().GetData());

    EXPECT_EQ(S_OK, navigateError(own, L"http://example.invalid/top"));
    wchar_t szModule[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    std::wstring expected = std::wstring(L"res://") + szModule + L"/HTML_APPLYERR";
    EXPECT_EQ(1, browserLog.nNavigations);
    EXPECT_EQ(expected, browserLog.szLastUrl);

    CArgs none;
    EXPECT_EQ(S_OK, sink->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, none.Params(), nullptr, nullptr, nullptr));
    EXPECT_EQ(1, browserLog.nNavigations) << "reload only works in the control named bhome";
    ax->SetName(L"bhome");
    EXPECT_EQ(S_OK, sink->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, none.Params(), nullptr, nullptr, nullptr));
    EXPECT_EQ(2, browserLog.nNavigations);
    EXPECT_STREQ(L"http://example.invalid/top", browserLog.szLastUrl);

    DISPPARAMS tooFew = { nullptr, nullptr, 0, 0 };
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, sink->Invoke(271, IID_NULL, 0, DISPATCH_METHOD, &tooFew, nullptr, nullptr, nullptr))
        << "an event without its arguments is refused, not read past its end";

    frame->Release();
    own->Release();
    sink->Release();
}
