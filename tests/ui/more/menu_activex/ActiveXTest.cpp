#include <gtest/gtest.h>

#include <mshtmhst.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "ActiveXUI.h"
#include "ContainerUI.h"
#include "HtmlCtrlUI.h"
#include "ManagedHostWnd.h"
#include "PageBridgeUI.h"
#include "SkinBuilderUI.h"
#include "TestOleControl.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace {

// Records the addresses of objects of one size allocated while armed, so a test can
// name controls the skin builder created and deleted on its own. A fixed array: the
// recorder itself must not allocate.
struct TAllocationRecord
{
    size_t nSize = 0;
    void* apRecorded[16] = {};
    int nRecorded = 0;
};
TAllocationRecord* g_pAllocationRecord = nullptr;

} // namespace

void* operator new(size_t nSize)
{
    // The process heap directly, so the replacement pair never mixes with the CRT's own.
    void* p = ::HeapAlloc(::GetProcessHeap(), 0, nSize != 0 ? nSize : 1);
    if (p == nullptr) throw std::bad_alloc();
    TAllocationRecord* pRecord = g_pAllocationRecord;
    if (pRecord != nullptr && nSize == pRecord->nSize && pRecord->nRecorded < 16)
        pRecord->apRecorded[pRecord->nRecorded++] = p;
    return p;
}

void operator delete(void* p) noexcept
{
    if (p != nullptr) ::HeapFree(::GetProcessHeap(), 0, p);
}

void operator delete(void* p, size_t) noexcept
{
    if (p != nullptr) ::HeapFree(::GetProcessHeap(), 0, p);
}

namespace {

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

// A page's array: "length" and the method "IndexOf" giving element i.
class CPageArray : public IDispatch
{
public:
    explicit CPageArray(std::vector<VARIANT> items) : m_items(std::move(items)) { }
    ~CPageArray()
    {
        for (VARIANT& v : m_items) ::VariantClear(&v);
    }
    static VARIANT Text(LPCWSTR pstr)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = ::SysAllocString(pstr);
        return v;
    }
    static VARIANT Int(LONG n)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = n;
        return v;
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
        *ppv = this;
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        if (wcscmp(names[0], L"length") == 0)
            ids[0] = 1;
        else if (wcscmp(names[0], L"IndexOf") == 0)
            ids[0] = 2;
        else
            return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (id == 1) {
            *result = Int(static_cast<LONG>(m_items.size()));
            return S_OK;
        }
        LONG i = params->rgvarg[0].lVal;
        if (i < 0 || i >= static_cast<LONG>(m_items.size())) return DISP_E_BADINDEX;
        return ::VariantCopy(result, &m_items[i]);
    }

private:
    std::vector<VARIANT> m_items;
};

// Arguments as the page passes them (first to last), stored the way IDispatch wants.
class CArgs
{
public:
    CArgs& Int(LONG n) { return Push(CPageArray::Int(n)); }
    CArgs& Text(LPCWSTR pstr) { return Push(CPageArray::Text(pstr)); }
    CArgs& Bool(bool b)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_BOOL;
        v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
        return Push(v);
    }
    CArgs& Object(IDispatch* p)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_DISPATCH;
        v.pdispVal = p;
        return Push(v);
    }
    DISPPARAMS* Params()
    {
        m_reversed.assign(m_args.rbegin(), m_args.rend());
        m_params = { m_reversed.data(), nullptr, static_cast<UINT>(m_reversed.size()), 0 };
        return &m_params;
    }

private:
    CArgs& Push(VARIANT v)
    {
        m_args.push_back(v);
        return *this;
    }
    std::vector<VARIANT> m_args;
    std::vector<VARIANT> m_reversed;
    DISPPARAMS m_params = {};
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

    HRESULT Call(IDispatch* pDisp, DISPID id, CArgs& args, VARIANT* pResult = nullptr)
    {
        return pDisp->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, args.Params(), pResult, nullptr, nullptr);
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

CHostWnd* ActiveXTest::sharedHost = nullptr;
CTestControlFactory* ActiveXTest::testFactory = nullptr;
CTestControlFactory* ActiveXTest::browserFactory = nullptr;
TTestControlConfig ActiveXTest::config;
TTestControlLog ActiveXTest::controlLog;
TFakeBrowserLog ActiveXTest::browserLog;

LONG Himetric(int nPixels, int nIndex)
{
    HDC hDC = ::GetDC(nullptr);
    int nDpi = ::GetDeviceCaps(hDC, nIndex);
    ::ReleaseDC(nullptr, hDC);
    return ::MulDiv(2540, nPixels, nDpi);
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

// ---------------------------------------------------------------------------
// Hosting

TEST_F(ActiveXTest, WindowlessControlIsActivatedInPlaceAndDrawnIntoTheManagerWindow)
{
    CActiveXUI* ax = Host<CActiveXUI>(&kTestClsid, RECT{ 10, 20, 110, 70 });

    EXPECT_EQ(1, controlLog.Count("SetClientSite"));
    EXPECT_EQ(1, controlLog.Count("SetHostNames"));
    EXPECT_EQ(1, controlLog.Count("DoVerb"));
    EXPECT_EQ(1, controlLog.Count("SetSite"));
    EXPECT_EQ(S_OK, controlLog.hrActivate);
    EXPECT_EQ(hwnd, ax->GetHostWindow());
    EXPECT_EQ(Himetric(100, LOGPIXELSX), controlLog.szExtent.cx);
    EXPECT_EQ(Himetric(50, LOGPIXELSY), controlLog.szExtent.cy);
    EXPECT_TRUE(SameRect(RECT{ 10, 20, 110, 70 }, controlLog.rcObject)) << "windowless rectangles stay in the window";

    HDC hDC = ::CreateCompatibleDC(nullptr);
    ax->DoPaint(hDC, RECT{ 0, 0, 320, 240 });
    ax->DoPaint(hDC, RECT{ 200, 200, 300, 230 });
    ::DeleteDC(hDC);
    EXPECT_EQ(1, controlLog.nDraws) << "a paint outside the control draws nothing";
    EXPECT_EQ(10, controlLog.rcDraw.left);
    EXPECT_EQ(70, controlLog.rcDraw.bottom);

    ax->SetVisible(false);
    EXPECT_TRUE(::IsWindowVisible(hwnd)) << "hiding a windowless control must not hide the window holding it";
}

TEST_F(ActiveXTest, WindowlessMessagesFollowHitTestCaptureAndFocus)
{
    CActiveXUI* ax = Host<CActiveXUI>(&kTestClsid, RECT{ 0, 0, 100, 100 });
    IOleInPlaceSiteWindowless* site = SiteFace<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    ASSERT_NE(nullptr, site);

    struct TCase
    {
        const char* name;
        UINT uMsg;
        POINT pt;
        bool bCaptured;
        bool bFocused;
        bool bForwarded;
        bool bHandled;
    } cases[] = {
        { "press on the hit area", WM_LBUTTONDOWN, { 20, 30 }, false, false, true, true },
        { "press outside it", WM_LBUTTONDOWN, { 80, 90 }, false, false, false, false },
        { "press outside while captured", WM_LBUTTONDOWN, { 80, 90 }, true, false, true, true },
        { "cursor on the hit area", WM_SETCURSOR, { 20, 30 }, false, false, true, false },
        { "key without focus", WM_KEYDOWN, { 0, 0 }, false, false, false, false },
        { "key with focus", WM_KEYDOWN, { 0, 0 }, false, true, true, true },
        { "context menu", WM_CONTEXTMENU, { 0, 0 }, false, false, true, false },
        { "timer", WM_TIMER, { 0, 0 }, false, false, false, false },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        site->SetCapture(c.bCaptured ? TRUE : FALSE);
        site->SetFocus(c.bFocused ? TRUE : FALSE);
        controlLog.messages.clear();
        bool bHandled = false;
        LRESULT lRes = ax->MessageHandler(c.uMsg, 0, MAKELPARAM(c.pt.x, c.pt.y), bHandled);
        EXPECT_EQ(c.bForwarded ? 1u : 0u, controlLog.messages.size());
        EXPECT_EQ(c.bHandled, bHandled);
        EXPECT_EQ(c.bForwarded ? 42 : 0, lRes);
    }
    site->SetCapture(FALSE);
    site->SetFocus(FALSE);

    controlLog.messages.clear();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
    ASSERT_EQ(1u, controlLog.messages.size()) << "the window's own messages reach the control through the filter";
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), controlLog.messages[0]);
    site->Release();
}

TEST_F(ActiveXTest, WindowedControlLivesInItsOwnChildWindow)
{
    config.bWindowless = false;
    CActiveXUI* ax = Host<CActiveXUI>(&kTestClsid, RECT{ 30, 40, 130, 90 });
    HWND child = ax->GetHostWindow();
    ASSERT_NE(nullptr, child);
    ASSERT_NE(hwnd, child);
    wchar_t szClass[64] = {};
    wchar_t szText[64] = {};
    ::GetClassNameW(child, szClass, 64);
    ::GetWindowTextW(child, szText, 64);
    EXPECT_STREQ(L"ActiveXWnd", szClass);
    EXPECT_STREQ(L"UIActiveX", szText);
    EXPECT_EQ(hwnd, ::GetParent(child));
    EXPECT_EQ(0x56000000u, static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE)) & 0x56000000u);
    EXPECT_EQ(child, controlLog.hwndActivationParent);
    EXPECT_TRUE(SameRect(RECT{ 0, 0, 100, 50 }, controlLog.rcObject)) << "windowed rectangles start at the origin";

    RECT rcChild = {};
    ::GetWindowRect(child, &rcChild);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rcChild), 2);
    EXPECT_TRUE(SameRect(RECT{ 30, 40, 130, 90 }, rcChild));

    ax->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(child));
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    ax->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(child));
}

TEST_F(ActiveXTest, ReleasedControlLetsGoAndItsSiteAnswersUnexpected)
{
    CActiveXUI* ax = Host<CActiveXUI>(&kTestClsid, RECT{ 0, 0, 100, 100 });
    IOleInPlaceSiteWindowless* site = SiteFace<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    IOleClientSite* client = SiteFace<IOleClientSite>(IID_IOleClientSite);
    ASSERT_NE(nullptr, site);
    ASSERT_NE(nullptr, client);
    controlLog.calls.clear();

    root->Remove(ax);

    std::vector<std::string> expected = { "SetSite(null)", "Close", "SetClientSite(null)" };
    EXPECT_EQ(expected, controlLog.calls);
    HWND hwndSite = nullptr;
    EXPECT_EQ(E_UNEXPECTED, site->GetWindow(&hwndSite));
    EXPECT_EQ(E_UNEXPECTED, site->GetCapture());
    EXPECT_EQ(E_UNEXPECTED, site->InvalidateRect(nullptr, FALSE));
    EXPECT_EQ(E_UNEXPECTED, client->ShowObject());
    controlLog.messages.clear();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
    EXPECT_TRUE(controlLog.messages.empty()) << "the message filter left with the control";
    client->Release();
    site->Release();
}

TEST_F(ActiveXTest, ClassIdsAndCreationFailures)
{
    CActiveXUI* ax = new CActiveXUI;
    root->Add(ax);
    void* p = nullptr;
    EXPECT_EQ(E_POINTER, ax->GetControl(IID_IOleObject, nullptr));
    EXPECT_EQ(E_PENDING, ax->GetControl(IID_IOleObject, &p));
    EXPECT_FALSE(ax->SetClsid(GUID_NULL, false));
    EXPECT_FALSE(ax->SetClsidText(L"Lumora.NoSuchControl", false));
    EXPECT_TRUE(ax->SetClsidText(L"{6C3F0A51-2B7E-4D8A-9F10-5A7E2C1B0D01}", true));
    EXPECT_TRUE(::IsEqualGUID(kTestClsid, ax->GetClsid()));
    EXPECT_EQ(E_PENDING, ax->GetControl(IID_IOleObject, &p)) << "delayed creation waits for SetPos";

    config.bFailCreate = true;
    ax->SetPos(RECT{ 0, 0, 50, 50 });
    EXPECT_EQ(E_PENDING, ax->GetControl(IID_IOleObject, &p));
    EXPECT_FALSE(ax->CreateHostedControl());

    config.bFailCreate = false;
    ax->SetAttribute(L"clsid", L"{6C3F0A51-2B7E-4D8A-9F10-5A7E2C1B0D01}");
    ASSERT_EQ(S_OK, ax->GetControl(IID_IOleObject, &p)) << "markup creates the control at once";
    static_cast<IUnknown*>(p)->Release();
}

// A control given no class creates nothing and asks COM for nothing: under Wine each
// request for the null class searched the registry and called the activation service, so a
// skin with thousands of such controls took seconds to lay out. A factory answering for the
// null class counts any request that still reaches COM.
TEST_F(ActiveXTest, ControlWithoutAClassNeverAsksComForOne)
{
    // Kept past the test: a control made before the fix would outlive a local log.
    static TTestControlConfig nullConfig;
    static TTestControlLog nullLog;
    static CTestControlFactory nullFactory(nullConfig, nullLog);
    ASSERT_TRUE(nullFactory.Register(GUID_NULL));
    CSkinBuilderUI builder;
    CControlUI* pBuilt = builder.Build(nullptr,
                                       L"<Window><Container><ActiveX /><ActiveX name=\"b\" /><ActiveX clsid=\"\" />"
                                       L"</Container></Window>",
                                       nullptr, nullptr, &pm());
    ASSERT_NE(nullptr, pBuilt);
    root->Add(pBuilt);
    IContainerUI* pBox = static_cast<IContainerUI*>(pBuilt->GetInterface(L"IContainer"));
    ASSERT_NE(nullptr, pBox);
    ASSERT_EQ(3, pBox->GetCount());
    for (int i = 0; i < pBox->GetCount(); i++) {
        CActiveXUI* ax = static_cast<CActiveXUI*>(pBox->GetItemAt(i));
        ax->SetPos(RECT{ 0, 0, 50, 50 });
        EXPECT_FALSE(ax->CreateHostedControl()) << i;
        void* p = nullptr;
        EXPECT_EQ(E_PENDING, ax->GetControl(IID_IOleObject, &p)) << i;
    }
    EXPECT_EQ(0, nullLog.nCreated);
    nullFactory.Revoke();
}

TEST_F(ActiveXTest, SiteFacesFrameAndEnumerator)
{
    Host<CActiveXUI>(&kTestClsid, RECT{ 0, 0, 100, 100 });
    IDispatch* bridge = SiteFace<IDispatch>(IID_IDispatch);
    EXPECT_EQ(nullptr, bridge) << "only a hosted web browser gets the page bridge";

    IOleInPlaceSiteWindowless* site = SiteFace<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    ASSERT_NE(nullptr, site);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = reinterpret_cast<IOleInPlaceUIWindow*>(1);
    RECT rcPos = {};
    RECT rcClip = {};
    OLEINPLACEFRAMEINFO info = {};
    EXPECT_EQ(E_POINTER, site->GetWindowContext(&frame, &doc, nullptr, &rcClip, &info));
    ASSERT_EQ(S_OK, site->GetWindowContext(&frame, &doc, &rcPos, &rcClip, &info));
    EXPECT_EQ(nullptr, doc);
    EXPECT_EQ(hwnd, info.hwndFrame);
    EXPECT_EQ(1u, info.cAccelEntries);
    HWND hwndFrame = nullptr;
    EXPECT_EQ(S_OK, frame->GetWindow(&hwndFrame));
    EXPECT_EQ(hwnd, hwndFrame);
    EXPECT_EQ(static_cast<HRESULT>(0x800401A1), frame->RequestBorderSpace(nullptr));
    IOleInPlaceFrame* frame2 = nullptr;
    OLEINPLACEFRAMEINFO info2 = {};
    site->GetWindowContext(&frame2, &doc, &rcPos, &rcClip, &info2);
    EXPECT_EQ(info.haccel, info2.haccel) << "one accelerator table per site, not one per call";
    frame2->Release();

    IOleContainer* container = SiteFace<IOleContainer>(IID_IOleContainer);
    ASSERT_NE(nullptr, container);
    IEnumUnknown* items = nullptr;
    ASSERT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, &items));
    IUnknown* item = nullptr;
    ULONG nFetched = 0;
    EXPECT_EQ(S_OK, items->Next(1, &item, &nFetched));
    EXPECT_EQ(1u, nFetched);
    item->Release();
    EXPECT_EQ(S_FALSE, items->Next(1, &item, &nFetched));
    EXPECT_EQ(0u, nFetched);
    items->Release();
    container->Release();

    root->RemoveAll();
    EXPECT_EQ(E_UNEXPECTED, frame->GetWindow(&hwndFrame)) << "the frame outlives the control safely";
    frame->Release();
    site->Release();
}

TEST_F(ActiveXTest, HostedBrowserTranslatesAcceleratorsOfItsDocumentWindowOnly)
{
    HWND shell = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND view = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, shell, nullptr, nullptr, nullptr);
    HWND document = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, view, nullptr, nullptr, nullptr);
    config.hwndShellBrowser = shell;
    // Markup lists ActiveX and HtmlCtrl controls with the manager as hosted browsers.
    CSkinBuilderUI builder;
    CControlUI* built = builder.Build(nullptr,
                                      L"<Window><Container><ActiveX name=\"ax\" "
                                      L"clsid=\"{6C3F0A51-2B7E-4D8A-9F10-5A7E2C1B0D01}\"/>"
                                      L"<HtmlCtrl name=\"html\"/></Container></Window>",
                                      nullptr, nullptr, &pm());
    ASSERT_NE(nullptr, built);
    pm().AttachRoot(built);
    CActiveXUI* ax = dynamic_cast<CActiveXUI*>(pm().FindControl(L"ax"));
    ASSERT_NE(nullptr, ax);
    void* pObject = nullptr;
    ASSERT_EQ(S_OK, ax->GetControl(IID_IOleObject, &pObject)) << "the clsid attribute created the control";
    static_cast<IUnknown*>(pObject)->Release();
    EXPECT_NE(nullptr, dynamic_cast<CHtmlCtrlUI*>(pm().FindControl(L"html")));

    MSG onView = { view, WM_KEYDOWN, 'N', 0, 0, {} };
    EXPECT_FALSE(CWindowManagerUI::PreTranslateAll(&onView));
    EXPECT_EQ(0, controlLog.nAccelerators);
    MSG onDocument = { document, WM_KEYDOWN, 'N', 0, 0, {} };
    EXPECT_TRUE(CWindowManagerUI::PreTranslateAll(&onDocument));
    EXPECT_EQ(1, controlLog.nAccelerators);

    static_cast<CContainerUI*>(built)->RemoveAll();
    EXPECT_FALSE(CWindowManagerUI::PreTranslateAll(&onDocument)) << "a deleted control leaves the hosted list";
    ::DestroyWindow(shell);
}

// ---------------------------------------------------------------------------
// The manager's lists

// The builder lists ActiveX and HTML controls with the manager as it creates them,
// before they have a manager; controls it then drops, and a built tree deleted
// without ever being attached, must leave that list, or every message of the
// process walks freed controls.
TEST_F(ActiveXTest, HostedControlsTheBuilderDropsOrNeverAttachesLeaveTheList)
{
    TAllocationRecord record;
    record.nSize = sizeof(CActiveXUI);
    g_pAllocationRecord = &record;
    CSkinBuilderUI builder;
    CControlUI* built = builder.Build(nullptr,
                                      L"<Window><Container><Control><ActiveX/></Control>"
                                      L"<ActiveX name=\"kept\"/></Container><ActiveX/></Window>",
                                      nullptr, nullptr, &pm());
    g_pAllocationRecord = nullptr;
    ASSERT_NE(nullptr, built);
    ASSERT_GE(record.nRecorded, 3) << "three ActiveX controls were made";
    CControlUI* kept = static_cast<CContainerUI*>(built)->GetItemAt(1);
    ASSERT_NE(nullptr, kept);
    ASSERT_TRUE(kept->GetName().Compare(L"kept"));
    for (int i = 0; i < record.nRecorded; i++) {
        if (record.apRecorded[i] == kept) continue;
        EXPECT_FALSE(pm().RemoveHostedBrowser(static_cast<CControlUI*>(record.apRecorded[i])))
            << "a dropped control is still listed";
    }

    delete built;
    EXPECT_FALSE(pm().RemoveHostedBrowser(kept)) << "a deleted, never attached control is still listed";
    MSG msg = { hwnd, WM_KEYDOWN, 'N', 0, 0, {} };
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    msg.hwnd = other;
    EXPECT_FALSE(CWindowManagerUI::PreTranslateAll(&msg));
    ::DestroyWindow(other);
}

// A windowless control is on the manager's message filters exactly while it is
// active in place, once, and never after it is gone, with or without its manager.
TEST_F(ActiveXTest, WindowlessControlIsAFilterOnceAndOnlyWhileActive)
{
    CActiveXUI* ax = Host<CActiveXUI>(&kTestClsid, RECT{ 0, 0, 100, 100 });
    IOleInPlaceSiteWindowless* site = SiteFace<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    ASSERT_NE(nullptr, site);
    IMessageFilterUI* filter = ax;

    for (int i = 0; i < 2; i++) {
        BOOL bNoRedraw = FALSE;
        ASSERT_EQ(S_OK, site->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS));
    }
    controlLog.messages.clear();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
    EXPECT_EQ(1u, controlLog.messages.size()) << "activated three times, fed once";

    ASSERT_EQ(S_OK, site->OnInPlaceDeactivateEx(TRUE));
    EXPECT_FALSE(pm().RemoveMessageFilter(filter)) << "deactivation leaves the filters";
    BOOL bNoRedraw = FALSE;
    ASSERT_EQ(S_OK, site->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS));
    site->Release();

    // Taken out of the tree and off its manager, then deleted.
    root->SetAutoDestroy(false);
    ASSERT_TRUE(root->Remove(ax));
    root->SetAutoDestroy(true);
    ax->SetManager(nullptr, nullptr);
    delete ax;
    EXPECT_FALSE(pm().RemoveMessageFilter(filter)) << "a deleted control is still a filter";
    controlLog.messages.clear();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
    EXPECT_TRUE(controlLog.messages.empty());
}

// ---------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------
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
