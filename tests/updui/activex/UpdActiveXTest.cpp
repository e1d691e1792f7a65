#include <windows.h>
#include <ole2.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "ActiveXUI.h"
#include "UpdActiveXTestSupport.h"

using namespace UpdActiveXTest;

namespace {

// A 200-pixel host on the left of the 400x300 window and a button filling the rest.
std::wstring HostMarkup(LPCWSTR pstrHostAttributes)
{
    return std::wstring(L"<Window><HorizontalLayout><ActiveX name=\"ax\" width=\"200\" ") + pstrHostAttributes +
        L" /><Button name=\"btn\" /></HorizontalLayout></Window>";
}

bool Saw(const TTestControlLog& log, UINT uMsg)
{
    return std::find(log.messages.begin(), log.messages.end(), uMsg) != log.messages.end();
}

} // namespace

class CUpdActiveX : public CActiveXFixture
{
protected:
    void SetUp() override
    {
        CActiveXFixture::SetUp();
        Register(kTestClsid);
    }
    CActiveXUI* AttachHost(LPCWSTR pstrHostAttributes)
    {
        CControlUI* pRoot = Build(HostMarkup(pstrHostAttributes));
        if (pRoot == nullptr) return nullptr;
        Attach(pRoot);
        return static_cast<CActiveXUI*>(manager->FindControl(L"ax")->GetInterface(L"ActiveX"));
    }
};

TEST_F(CUpdActiveX, ZeroOrUnreadableClsidIsRefusedAndCreatesNothing)
{
    const wchar_t* values[] = { L"{00000000-0000-0000-0000-000000000000}", L"{not a class id}", L"No.Such.ProgId",
                                L"" };
    for (const wchar_t* pstrValue : values) {
        CActiveXUI host;
        host.SetAttribute(L"delaycreate", L"false");
        host.SetAttribute(L"clsid", pstrValue);
        host.SetPos(Rect(0, 0, 100, 100)); // a layout would create a delayed control
        EXPECT_TRUE(::IsEqualGUID(GUID_NULL, host.GetClsid())) << pstrValue;
        EXPECT_EQ(0, controls.nCreated) << pstrValue;
        IUnknown* pUnk = nullptr;
        EXPECT_EQ(E_PENDING, host.GetControl(IID_IUnknown, reinterpret_cast<void**>(&pUnk))) << pstrValue;
    }
    CActiveXUI host;
    EXPECT_FALSE(host.SetClsid(GUID_NULL));
    EXPECT_TRUE(host.SetClsid(kTestClsid));
    EXPECT_FALSE(host.SetClsid(GUID_NULL));
    EXPECT_TRUE(::IsEqualGUID(kTestClsid, host.GetClsid())); // a refused value keeps the one before
}

// A host given no class creates nothing and asks COM for nothing: under Wine each request
// for the null class searched the registry and called the activation service, so a skin
// with thousands of such hosts took seconds to lay out. A factory answering for the null
// class counts any request that still reaches COM.
TEST_F(CUpdActiveX, HostWithoutAClassNeverAsksComForOne)
{
    // Kept past the test: a control made before the fix would outlive a local log.
    static TTestControlConfig nullSetup;
    static TTestControlLog nullControls;
    static CTestControlFactory nullFactory(nullSetup, nullControls);
    ASSERT_TRUE(nullFactory.Register(GUID_NULL));
    CControlUI* pRoot = Build(L"<Window><HorizontalLayout><ActiveX /><ActiveX delaycreate=\"false\" />"
                              L"<ActiveX modulename=\"nosuchmodule.dll\" /></HorizontalLayout></Window>");
    ASSERT_NE(nullptr, pRoot);
    Attach(pRoot);
    CContainerUI* pLayout = static_cast<CContainerUI*>(pRoot);
    ASSERT_EQ(3, pLayout->GetCount());
    for (int i = 0; i < pLayout->GetCount(); i++) {
        CActiveXUI* pHost = static_cast<CActiveXUI*>(pLayout->GetItemAt(i));
        pHost->SetPos(Rect(0, 0, 50, 50));
        EXPECT_FALSE(pHost->CreateHostedControl()) << i;
        IUnknown* pUnk = nullptr;
        EXPECT_EQ(E_PENDING, pHost->GetControl(IID_IUnknown, reinterpret_cast<void**>(&pUnk))) << i;
    }
    EXPECT_EQ(0, nullControls.nCreated);
    nullFactory.Revoke();
}

TEST_F(CUpdActiveX, DelayedControlExistsOnlyAfterFirstLayout)
{
    CControlUI* pRoot = Build(HostMarkup((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str()));
    ASSERT_NE(nullptr, pRoot);
    CActiveXUI* pHost = static_cast<CActiveXUI*>(static_cast<CContainerUI*>(pRoot)->GetItemAt(0));
    EXPECT_TRUE(pHost->IsDelayCreate());
    EXPECT_EQ(0, controls.nCreated);
    IOleObject* pObject = nullptr;
    EXPECT_EQ(E_PENDING, pHost->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)));
    EXPECT_EQ(nullptr, pObject);
    EXPECT_EQ(E_POINTER, pHost->GetControl(IID_IOleObject, nullptr));

    Attach(pRoot);
    EXPECT_EQ(1, controls.nCreated);
    ASSERT_EQ(S_OK, pHost->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)));
    pObject->Release();
    EXPECT_EQ(1, log.Count(L"showactivex"));
    EXPECT_EQ(0, controls.rcObject.left);
    EXPECT_EQ(200, controls.rcObject.right);
    EXPECT_EQ(300, controls.rcObject.bottom);
}

TEST_F(CUpdActiveX, SwitchingDelayOffCreatesAtOnce)
{
    CControlUI* pRoot = Build(HostMarkup((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str()));
    ASSERT_NE(nullptr, pRoot);
    CActiveXUI* pHost = static_cast<CActiveXUI*>(static_cast<CContainerUI*>(pRoot)->GetItemAt(0));
    EXPECT_EQ(0, controls.nCreated);
    pHost->SetDelayCreate(false);
    EXPECT_EQ(1, controls.nCreated);
    Attach(pRoot);
    EXPECT_EQ(1, controls.nCreated); // the layout does not create it a second time
}

TEST_F(CUpdActiveX, WindowlessControlGetsClicksOnlyInsideItsHitArea)
{
    setup.rcHit = Rect(50, 50, 150, 150);
    CActiveXUI* pHost = AttachHost((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str());
    ASSERT_NE(nullptr, pHost);
    EXPECT_EQ(hWnd, pHost->GetHostWindow());
    EXPECT_EQ(nullptr, ::FindWindowExW(hWnd, nullptr, L"ActiveXWnd", nullptr));

    Click(100, 100);
    EXPECT_TRUE(Saw(controls, WM_LBUTTONDOWN));
    EXPECT_TRUE(Saw(controls, WM_LBUTTONUP));

    controls.messages.clear();
    Click(20, 250);  // on the host, outside the hit area
    Click(300, 100); // on the button
    EXPECT_FALSE(Saw(controls, WM_LBUTTONDOWN));
    EXPECT_EQ(1, log.Count(L"click"));

    pHost->SetMouseEnabled(false);
    Click(100, 100);
    EXPECT_FALSE(Saw(controls, WM_LBUTTONDOWN));
}

TEST_F(CUpdActiveX, KeysReachWindowlessControlOnlyWhileFocused)
{
    AttachHost((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str());
    IOleInPlaceSiteWindowless* pSite = Query<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    ASSERT_NE(nullptr, pSite);
    ::SendMessageW(hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(Saw(controls, WM_KEYDOWN));
    pSite->SetFocus(TRUE);
    EXPECT_EQ(S_OK, pSite->GetFocus());
    ::SendMessageW(hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(Saw(controls, WM_KEYDOWN));
    pSite->Release();
}

TEST_F(CUpdActiveX, WindowedControlLivesInItsOwnChildWindow)
{
    setup.bWindowless = false;
    CActiveXUI* pHost = AttachHost((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str());
    ASSERT_NE(nullptr, pHost);
    HWND hwndChild = ::FindWindowExW(hWnd, nullptr, L"ActiveXWnd", L"UIActiveX");
    ASSERT_NE(nullptr, hwndChild);
    EXPECT_EQ(hwndChild, pHost->GetHostWindow());
    RECT rc = {};
    ::GetWindowRect(hwndChild, &rc);
    ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(200, rc.right);
    EXPECT_EQ(0, controls.rcObject.left); // the control's rectangle starts at its window's origin
    EXPECT_EQ(200, controls.rcObject.right);

    pHost->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(hwndChild));
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    pHost->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(hwndChild));

    pHost->ReleaseHostedControl();
    EXPECT_FALSE(::IsWindow(hwndChild));
}

// A windowless control going invisible must not hide the dialog it draws into.
TEST_F(CUpdActiveX, HidingWindowlessControlKeepsTheDialogVisible)
{
    CActiveXUI* pHost = AttachHost((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str());
    ASSERT_NE(nullptr, pHost);
    pHost->SetVisible(false);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    pHost->SetVisible(true);
}

TEST_F(CUpdActiveX, ReleaseClosesControlAndLeavesSiteAnsweringUnexpected)
{
    setup.rcHit = Rect(0, 0, 200, 300);
    CActiveXUI* pHost = AttachHost((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str());
    ASSERT_NE(nullptr, pHost);
    pHost->ReleaseHostedControl();
    EXPECT_EQ(1, controls.Count("Close"));
    EXPECT_EQ(1, controls.Count("SetClientSite(null)"));
    EXPECT_EQ(0, controls.nAlive);
    IUnknown* pUnk = nullptr;
    EXPECT_EQ(E_PENDING, pHost->GetControl(IID_IUnknown, reinterpret_cast<void**>(&pUnk)));

    IOleInPlaceSiteWindowless* pSite = Query<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    ASSERT_NE(nullptr, pSite);
    HWND hwndAny = nullptr;
    EXPECT_EQ(E_UNEXPECTED, pSite->GetWindow(&hwndAny));
    EXPECT_EQ(E_UNEXPECTED, pSite->SetFocus(TRUE));
    pSite->Release();

    controls.messages.clear();
    Click(100, 100); // the message filter is gone with the control
    EXPECT_TRUE(controls.messages.empty());
}

TEST_F(CUpdActiveX, SiteAnswersWithoutHandlersAsAPlainContainer)
{
    AttachHost((std::wstring(L"clsid=\"") + kTestClsidText + L"\"").c_str());
    IDocHostUIHandler* pUI = Query<IDocHostUIHandler>(IID_IDocHostUIHandler);
    IServiceProvider* pServices = Query<IServiceProvider>(IID_IServiceProvider);
    IOleContainer* pContainer = Query<IOleContainer>(IID_IOleContainer);
    IOleInPlaceSite* pInPlace = Query<IOleInPlaceSite>(IID_IOleInPlaceSite);
    ASSERT_TRUE(pUI != nullptr && pServices != nullptr && pContainer != nullptr && pInPlace != nullptr);

    EXPECT_EQ(S_OK, pUI->ShowContextMenu(0, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_FALSE, pUI->TranslateAccelerator(nullptr, nullptr, 0));
    IDispatch* pExternal = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(E_NOINTERFACE, pUI->GetExternal(&pExternal));
    EXPECT_EQ(nullptr, pExternal);
    OLECHAR* pstrUrl = reinterpret_cast<OLECHAR*>(1);
    EXPECT_EQ(S_FALSE, pUI->TranslateUrl(0, nullptr, &pstrUrl));
    EXPECT_EQ(nullptr, pstrUrl);

    void* pService = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, pServices->QueryService(kIidDownloadManager, kIidDownloadManager, &pService));
    EXPECT_EQ(nullptr, pService);

    IEnumUnknown* pEnum = nullptr;
    ASSERT_EQ(S_OK, pContainer->EnumObjects(OLECONTF_EMBEDDINGS, &pEnum));
    IUnknown* pItem = nullptr;
    ULONG nFetched = 0;
    EXPECT_EQ(S_OK, pEnum->Next(1, &pItem, &nFetched));
    EXPECT_EQ(1u, nFetched);
    ASSERT_NE(nullptr, pItem);
    pItem->Release();
    EXPECT_EQ(S_FALSE, pEnum->Next(1, &pItem, &nFetched));
    EXPECT_EQ(S_OK, pEnum->Reset());
    EXPECT_EQ(S_OK, pEnum->Next(1, &pItem, &nFetched));
    pItem->Release();
    pEnum->Release();

    IOleInPlaceFrame* pFrame = nullptr;
    IOleInPlaceUIWindow* pDoc = nullptr;
    RECT rcPos = {}, rcClip = {};
    OLEINPLACEFRAMEINFO info = {};
    EXPECT_EQ(E_POINTER, pInPlace->GetWindowContext(&pFrame, &pDoc, nullptr, &rcClip, &info));
    ASSERT_EQ(S_OK, pInPlace->GetWindowContext(&pFrame, &pDoc, &rcPos, &rcClip, &info));
    EXPECT_EQ(nullptr, pDoc);
    EXPECT_EQ(hWnd, info.hwndFrame);
    EXPECT_EQ(1u, info.cAccelEntries);
    ASSERT_NE(nullptr, pFrame);
    EXPECT_EQ(static_cast<HRESULT>(0x800401A1), pFrame->RequestBorderSpace(nullptr));
    HWND hwndFrame = nullptr;
    EXPECT_EQ(S_OK, pFrame->GetWindow(&hwndFrame));
    EXPECT_EQ(hWnd, hwndFrame);

    // A frame the control keeps past its release must not reach a freed owner.
    CActiveXUI* pHost = static_cast<CActiveXUI*>(manager->FindControl(L"ax"));
    pHost->ReleaseHostedControl();
    EXPECT_EQ(E_UNEXPECTED, pFrame->GetWindow(&hwndFrame));
    pFrame->Release();

    pUI->Release();
    pServices->Release();
    pContainer->Release();
    pInPlace->Release();
}
