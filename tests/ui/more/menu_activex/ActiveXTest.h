#pragma once
#include <gtest/gtest.h>

#include <mshtmhst.h>

#include <string>
#include <vector>

#include "ActiveXUI.h"
#include "ContainerUI.h"
#include "ManagedHostWnd.h"
#include "PageBridgeUI.h"
#include "TestOleControl.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

// The fixture of the ActiveX host, page bridge and HTML control tests: one host window
// for the whole suite, a fresh manager and root for each test, and the test control's
// and fake browser's factories registered with COM.

// Records the addresses of objects of one size allocated while armed, so a test can
// name controls the skin builder created and deleted on its own. A fixed array: the
// recorder itself must not allocate.
struct TAllocationRecord
{
    size_t nSize = 0;
    void* apRecorded[16] = {};
    int nRecorded = 0;
};
// Armed by a test that wants to know which objects of one size were made.
extern TAllocationRecord* g_pAllocationRecord;

// {6C3F0A51-2B7E-4D8A-9F10-5A7E2C1B0D01}: the test control's class.
const CLSID kTestClsid = { 0x6C3F0A51, 0x2B7E, 0x4D8A, { 0x9F, 0x10, 0x5A, 0x7E, 0x2C, 0x1B, 0x0D, 0x01 } };

struct TSentRecord
{
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
    std::vector<std::wstring> texts;
    bool bNullAfterTexts;
};

using CNotifyLog = TNotifyLog<INotifyUI, TNotifyRecUI>;

// The window holding the controls; it records what the page bridge sends, copying
// the strings while they are valid.
class CHostWnd : public TResettableHostWnd<CWindowWnd, CWindowManagerUI, CNotifyLog>
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraAxTestHost"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg >= WM_USER && uMsg < WM_APP) Record(uMsg, wParam, lParam);
        return TResettableHostWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void Record(UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        TSentRecord r = { uMsg, wParam, lParam, {}, false };
        if (uMsg == textArrayMessage) {
            const LPCWSTR* aTexts = reinterpret_cast<const LPCWSTR*>(lParam);
            for (WPARAM i = 0; i < textCount; i++) r.texts.push_back(aTexts[i]);
            r.bNullAfterTexts = aTexts[textCount] == nullptr;
        } else if (uMsg == UIMSG_PAGE_NOTICE) {
            r.texts.push_back(reinterpret_cast<LPCWSTR>(wParam));
            r.texts.push_back(reinterpret_cast<LPCWSTR>(lParam));
        }
        sent.push_back(r);
    }
    // What the old manager sends while it goes is not kept.
    void Reset(bool bNewManager)
    {
        TResettableHostWnd::Reset(false);
        sent.clear();
        TResettableHostWnd::Reset(bNewManager);
    }
    std::vector<TSentRecord> sent;
    UINT textArrayMessage = 0;
    WPARAM textCount = 0;
};

class ActiveXTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ::OleInitialize(nullptr);
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        sharedHost = new CHostWnd;
        sharedHost->Create(nullptr, L"host", WS_POPUP | WS_VISIBLE, 0, 0, 0, 320, 240);
        testFactory = new CTestControlFactory(config, controlLog);
        browserFactory = new CTestControlFactory(config, controlLog);
        testFactory->Register(kTestClsid);
        browserFactory->Register(CActiveXUI::WebBrowserClsid());
    }
    static void TearDownTestSuite()
    {
        sharedHost->Reset(false);
        ::DestroyWindow(sharedHost->GetWindowHandle());
        delete sharedHost;
        testFactory->Revoke();
        browserFactory->Revoke();
        delete testFactory;
        delete browserFactory;
        ::OleUninitialize();
    }
    void SetUp() override
    {
        config = TTestControlConfig();
        config.bEveryFace = true;
        config.rcHit = RECT{ 10, 20, 60, 70 };
        ResetLog();
        browserLog = TFakeBrowserLog();
        browserLog.bHasDocument = TRUE;
        host = sharedHost;
        hwnd = host->GetWindowHandle();
        host->Reset(true);
        root = new CContainerUI;
        pm().AttachRoot(root);
    }
    void TearDown() override
    {
        SetKeys(false, false);
        ::ReleaseCapture();
        host->Reset(false);
        ResetLog();
        Pump();
    }
    static void ResetLog()
    {
        if (controlLog.pSite != nullptr) controlLog.pSite->Release();
        controlLog = TTestControlLog();
    }

    CWindowManagerUI& pm() { return *host->m_pm; }

    // A control of the given class placed at rc in the root.
    template <class T> T* Host(const CLSID* pClsid, RECT rc, LPCWSTR pstrName = L"")
    {
        T* p = new T;
        p->SetName(pstrName);
        root->Add(p);
        if (pClsid != nullptr) p->SetClsid(*pClsid, true);
        p->SetPos(rc);
        return p;
    }

    template <class T> T* SiteFace(REFIID riid)
    {
        T* p = nullptr;
        if (controlLog.pSite == nullptr || FAILED(controlLog.pSite->QueryInterface(riid, reinterpret_cast<void**>(&p))))
            return nullptr;
        return p;
    }

    // The page bridge as a page reaches it: the document host's external object.
    IDispatch* External()
    {
        IDocHostUIHandler* pHandler = SiteFace<IDocHostUIHandler>(IID_IDocHostUIHandler);
        if (pHandler == nullptr) return nullptr;
        IDispatch* pExternal = nullptr;
        pHandler->GetExternal(&pExternal);
        pHandler->Release();
        return pExternal;
    }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    static void SetKeys(bool bCtrl, bool bAlt)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = bCtrl ? 0x80 : 0;
        keys[VK_MENU] = bAlt ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    static CHostWnd* sharedHost;
    static CTestControlFactory* testFactory;
    static CTestControlFactory* browserFactory;
    static TTestControlConfig config;
    static TTestControlLog controlLog;
    static TFakeBrowserLog browserLog;
    CHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    CContainerUI* root = nullptr;
};

// The extent in HIMETRIC of nPixels along the axis of nIndex (LOGPIXELSX or LOGPIXELSY).
LONG Himetric(int nPixels, int nIndex);
bool SameRect(const RECT& a, const RECT& b);
