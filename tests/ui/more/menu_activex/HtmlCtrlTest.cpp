#include "ActiveXTest.h"

#include "HtmlCtrlUI.h"

// HTML control and the document host rules

TEST_F(ActiveXTest, HtmlControlHostsTheBrowserWithItsOwnDocumentHost)
{
    config.pBrowserLog = &browserLog;
    CHtmlCtrlUI* html = new CHtmlCtrlUI;
    root->Add(html);
    html->SetAttribute(L"clsid", L"{6C3F0A51-2B7E-4D8A-9F10-5A7E2C1B0D01}");
    EXPECT_TRUE(html->IsWebBrowser());
    EXPECT_EQ(nullptr, html->GetWebBrowser()) << "nothing is created before the first SetPos";
    html->SetPos(RECT{ 0, 0, 100, 100 });
    ASSERT_NE(nullptr, html->GetWebBrowser());

    IDispatch* external = External();
    ASSERT_EQ(static_cast<IDispatch*>(html), external);
    LPOLESTR name = const_cast<LPOLESTR>(L"SendMessage");
    DISPID id = 0;
    EXPECT_EQ(E_NOTIMPL, external->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
    DISPPARAMS none = { nullptr, nullptr, 0, 0 };
    EXPECT_EQ(E_INVALIDARG, external->Invoke(271, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, external->Invoke(271, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, external->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    external->Release();

    IDispatch* sink = SiteFace<IDispatch>(IID_IDispatch);
    ASSERT_NE(nullptr, sink) << "navigation events still reach the site";
    sink->Release();
}

TEST_F(ActiveXTest, FailedHtmlControlCreationKeepsNoBrowser)
{
    config.bFailCreate = true;
    CHtmlCtrlUI* html = new CHtmlCtrlUI;
    root->Add(html);
    html->SetPos(RECT{ 0, 0, 100, 100 });
    EXPECT_EQ(nullptr, html->GetWebBrowser());
    root->RemoveAll();
}

TEST_F(ActiveXTest, DocumentHostsTurnMenusIntoNotificationsAndEatBrowserKeys)
{
    config.pBrowserLog = &browserLog;
    CActiveXUI* ax = Host<CActiveXUI>(&CActiveXUI::WebBrowserClsid(), RECT{ 0, 0, 100, 100 });
    IDocHostUIHandler* plain = SiteFace<IDocHostUIHandler>(IID_IDocHostUIHandler);
    ASSERT_NE(nullptr, plain);
    CHtmlCtrlUI* html = new CHtmlCtrlUI;
    root->Add(html);
    IDocHostUIHandler* faces[2] = { plain, static_cast<IDocHostUIHandler*>(html) };
    CControlUI* senders[2] = { ax, html };

    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(i == 0 ? "ActiveX" : "HtmlCtrl");
        IDocHostUIHandler* face = faces[i];
        host->log.records.clear();
        EXPECT_EQ(E_NOTIMPL, face->ShowContextMenu(11, nullptr, nullptr, nullptr));
        EXPECT_TRUE(host->log.records.empty()) << "the page's scroll bar keeps the browser's menu";
        EXPECT_EQ(S_OK, face->ShowContextMenu(0, nullptr, nullptr, nullptr));
        ASSERT_EQ(1u, host->log.records.size());
        EXPECT_EQ(NotifyContextMenu, host->log.records[0].type);
        EXPECT_EQ(senders[i], host->log.records[0].sender);

        DOCHOSTUIINFO info = {};
        info.dwFlags = 0xFF;
        info.dwDoubleClick = 7;
        EXPECT_EQ(S_OK, face->GetHostInfo(&info));
        EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER), info.dwFlags);
        EXPECT_EQ(0u, info.dwDoubleClick);

        struct TKey
        {
            bool ctrl;
            bool alt;
            WPARAM key;
            HRESULT hr;
        } keys[] = {
            { true, false, 'N', S_OK },        { true, false, 'P', S_OK },      { true, false, 'C', S_FALSE },
            { false, true, VK_LEFT, S_OK },    { false, true, VK_RIGHT, S_OK }, { false, false, VK_LEFT, S_FALSE },
            { false, false, VK_ESCAPE, S_OK }, { false, false, 'N', S_FALSE },
        };
        for (const TKey& k : keys) {
            SetKeys(k.ctrl, k.alt);
            MSG msg = { hwnd, WM_KEYDOWN, k.key, 0, 0, {} };
            EXPECT_EQ(k.hr, face->TranslateAccelerator(&msg, nullptr, 0)) << "key " << k.key;
        }
        SetKeys(false, false);
    }
    plain->Release();
}
