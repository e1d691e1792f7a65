#include "ActiveXUI.h"

#include <cwchar>
#include <exdisp.h>

#include "ActiveXCtrl.h"
#include "uishared/OlePlacementUI.h"
#include "WindowManagerUI.h"

namespace {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kWebBrowserClsid = { 0x8856F961, 0x340A, 0x11D0, { 0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2 } };
// The shell-browser service of a web browser: its value is IShellBrowser's id.
const GUID kSidShellBrowser = { 0x000214E2, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };

const int kMaxClsidText = 99;

// Mouse messages from WM_MOUSEMOVE to WM_MOUSEHWHEEL.
bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= 0x200 && uMsg <= 0x20E;
}

// Key messages from WM_KEYDOWN to WM_UNICHAR.
bool IsKeyMessage(UINT uMsg)
{
    return uMsg >= 0x100 && uMsg <= 0x109;
}

template <class T> void ReleaseAndClear(T*& p)
{
    if (p == nullptr) return;
    p->Release();
    p = nullptr;
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL), m_bCreated(false), m_pUnk(nullptr), m_pControl(nullptr), m_hwndHost(nullptr),
      m_dwEventCookie(0), m_pHostedList(nullptr), m_pFilterList(nullptr)
{ }

CActiveXUI::~CActiveXUI()
{
    ReleaseHostedControl();
    LeaveHostedBrowsers();
}

void CActiveXUI::JoinHostedBrowsers(CWindowManagerUI* pManager)
{
    if (pManager == m_pHostedList) return;
    LeaveHostedBrowsers();
    if (pManager != nullptr && pManager->AddHostedBrowser(this)) m_pHostedList = pManager;
}

void CActiveXUI::LeaveHostedBrowsers()
{
    CWindowManagerUI* pManager = m_pHostedList;
    m_pHostedList = nullptr;
    if (pManager != nullptr) pManager->RemoveHostedBrowser(this);
}

// One entry per control: a control activated again must not be fed each message twice.
void CActiveXUI::JoinMessageFilters()
{
    if (m_pManager == m_pFilterList) return;
    LeaveMessageFilters();
    if (m_pManager != nullptr && m_pManager->AddMessageFilter(this)) m_pFilterList = m_pManager;
}

void CActiveXUI::LeaveMessageFilters()
{
    CWindowManagerUI* pManager = m_pFilterList;
    m_pFilterList = nullptr;
    if (pManager != nullptr) pManager->RemoveMessageFilter(this);
}

void CActiveXUI::ForgetManager(CWindowManagerUI* pManager)
{
    if (m_pHostedList == pManager) m_pHostedList = nullptr;
    if (m_pFilterList == pManager) m_pFilterList = nullptr;
}

const CLSID& CActiveXUI::WebBrowserClsid()
{
    return kWebBrowserClsid;
}

LPCWSTR CActiveXUI::GetControlClass() const
{
    return L"ActiveXUI";
}

const CLSID& CActiveXUI::GetClsid() const
{
    return m_clsid;
}

bool CActiveXUI::IsWebBrowser() const
{
    return ::IsEqualGUID(m_clsid, kWebBrowserClsid) != FALSE;
}

HWND CActiveXUI::GetHostWindow() const
{
    return m_hwndHost;
}

void CActiveXUI::SetHostWindow(HWND hWnd)
{
    m_hwndHost = hWnd;
}

HWND CActiveXUI::GetManagerWindow() const
{
    return m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
}

void CActiveXUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"clsid") == 0)
        SetClsidText(pstrValue, false);
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

bool CActiveXUI::SetClsidText(LPCWSTR pstrClsid, bool bDelayCreate)
{
    if (pstrClsid == nullptr) return false;
    wchar_t szClsid[kMaxClsidText + 1] = {};
    wcsncpy(szClsid, pstrClsid, kMaxClsidText);
    CLSID clsid = GUID_NULL;
    if (szClsid[0] == L'{')
        ::CLSIDFromString(szClsid, &clsid);
    else
        ::CLSIDFromProgID(szClsid, &clsid);
    return SetClsid(clsid, bDelayCreate);
}

bool CActiveXUI::SetClsid(const CLSID& clsid, bool bDelayCreate)
{
    if (::IsEqualGUID(clsid, GUID_NULL)) return false;
    m_clsid = clsid;
    m_bCreated = false;
    if (!bDelayCreate) CreateHostedControl();
    return true;
}

HRESULT CActiveXUI::GetControl(REFIID iid, LPVOID* ppRet)
{
    if (ppRet == nullptr) return E_POINTER;
    if (m_pUnk == nullptr) return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppRet);
}

void CActiveXUI::ReleaseHostedControl()
{
    m_hwndHost = nullptr;
    if (m_pUnk != nullptr) {
        IObjectWithSite* pSite = nullptr;
        if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&pSite))) &&
            pSite != nullptr) {
            pSite->SetSite(nullptr);
            pSite->Release();
        }
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(nullptr);
        ReleaseAndClear(m_pUnk);
    }
    if (m_pControl != nullptr) {
        m_pControl->SetOwner(nullptr);
        ReleaseAndClear(m_pControl);
    }
    LeaveMessageFilters();
}

// Each step of creation depends on the one before; the first failure ends it.
bool CActiveXUI::CreateHostedControl()
{
    ReleaseHostedControl();
    m_bCreated = true;
    // A control given no class has nothing to create. Asking COM for the null class costs a
    // registry search and a call to the activation service, for every such control.
    if (::IsEqualGUID(m_clsid, GUID_NULL)) return false;
    IOleControl* pOleControl = nullptr;
    HRESULT hr =
        ::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl, reinterpret_cast<void**>(&pOleControl));
    if (FAILED(hr) || pOleControl == nullptr) return false;
    hr = pOleControl->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_pUnk));
    pOleControl->Release();
    if (FAILED(hr) || m_pUnk == nullptr) {
        m_pUnk = nullptr;
        return false;
    }

    m_pControl = new CActiveXCtrl;
    m_pControl->SetOwner(this);
    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    IOleClientSite* pClientSite = static_cast<IOleClientSite*>(m_pControl);
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0) m_pUnk->SetClientSite(pClientSite);

    IPersistStreamInit* pPersist = nullptr;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pPersist))) &&
        pPersist != nullptr) {
        hr = pPersist->InitNew();
        pPersist->Release();
        if (FAILED(hr)) return false;
    }
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) == 0) m_pUnk->SetClientSite(pClientSite);

    IViewObject* pViewObject = nullptr;
    hr = m_pUnk->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&pViewObject));
    if (FAILED(hr)) hr = m_pUnk->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&pViewObject));
    if (FAILED(hr)) hr = m_pUnk->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&pViewObject));
    if (SUCCEEDED(hr)) {
        m_pControl->SetViewObject(pViewObject);
        pViewObject->Release();
    }
    m_pUnk->SetHostNames(L"UIActiveX", nullptr);

    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0) {
        RECT rcItem = m_rcItem;
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pClientSite, 0, GetManagerWindow(), &rcItem);
    }
    IObjectWithSite* pSite = nullptr;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&pSite))) && pSite != nullptr) {
        pSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
        pSite->Release();
    }
    AdviseBrowserEvents();
    return SUCCEEDED(hr);
}

// The site becomes the sink of the web browser's events (navigation errors); the
// connection lasts as long as the browser.
void CActiveXUI::AdviseBrowserEvents()
{
    IConnectionPointContainer* pContainer = nullptr;
    if (FAILED(m_pUnk->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer))) ||
        pContainer == nullptr)
        return;
    IConnectionPoint* pPoint = nullptr;
    if (SUCCEEDED(pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, &pPoint)) && pPoint != nullptr) {
        if (FAILED(pPoint->Advise(static_cast<IOleClientSite*>(m_pControl), &m_dwEventCookie)))
            ::MessageBoxW(nullptr, L"Failed to Advise", L"DWebBrowserEvents2", MB_OK);
        pPoint->Release();
    }
    pContainer->Release();
}

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (!m_bCreated) CreateHostedControl();
    if (m_pUnk == nullptr || m_pControl == nullptr) return;
    PassExtentAndRects();
}

void CActiveXUI::PassExtentAndRects()
{
    UIShared::COlePlacementUI::Place(m_pUnk, m_pControl->GetInPlaceObject(), m_pControl->IsWindowless(), m_hwndHost,
                                     m_rcItem);
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::SetInternalVisible(bool bVisible)
{
    CControlUI::SetInternalVisible(bVisible);
    ShowHostWindow();
}

// Only a windowed control has a window of its own to show or hide; a windowless one
// draws into the manager's window, which must stay as it is.
void CActiveXUI::ShowHostWindow()
{
    if (m_hwndHost == nullptr || m_hwndHost == GetManagerWindow()) return;
    ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (m_pControl == nullptr || !m_pControl->IsWindowless() || m_pControl->GetViewObject() == nullptr) return;
    RECTL rcItem = { m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
    m_pControl->GetViewObject()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcItem, &rcItem, nullptr,
                                      0);
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pControl == nullptr || !m_pControl->IsInPlaceActive() || m_pControl->GetInPlaceObject() == nullptr) return 0;
    bool bWasHandled = true;
    if (IsMouseMessage(uMsg) || uMsg == WM_SETCURSOR) {
        if (!m_pControl->IsCaptured()) {
            IViewObjectEx* pViewEx = nullptr;
            IViewObject* pView = m_pControl->GetViewObject();
            if (pView == nullptr ||
                FAILED(pView->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&pViewEx))) ||
                pViewEx == nullptr)
                return 0;
            POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
            DWORD dwHitResult = HITRESULT_OUTSIDE;
            pViewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &dwHitResult);
            pViewEx->Release();
            if (dwHitResult != HITRESULT_HIT) return 0;
        }
        if (uMsg == WM_SETCURSOR) bWasHandled = false;
    } else if (IsKeyMessage(uMsg)) {
        if (!m_pControl->IsFocused()) return 0;
    } else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        bWasHandled = false;
    } else {
        return 0;
    }
    IOleInPlaceObjectWindowless* pWindowless =
        static_cast<IOleInPlaceObjectWindowless*>(m_pControl->GetInPlaceObject());
    LRESULT lResult = 0;
    HRESULT hr = pWindowless->OnWindowMessage(uMsg, wParam, lParam, &lResult);
    if (hr == S_OK) bHandled = bWasHandled;
    return lResult;
}

// Only the browser's document window (the shell view's first child) takes part: the
// browser then decides whether the key is one of its accelerators.
bool CActiveXUI::TranslateHostedAccelerator(MSG* pMsg)
{
    if (m_pUnk == nullptr || pMsg == nullptr) return false;
    IServiceProvider* pProvider = nullptr;
    if (FAILED(m_pUnk->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&pProvider))) ||
        pProvider == nullptr)
        return false;
    IOleWindow* pShellBrowser = nullptr;
    HRESULT hr = pProvider->QueryService(kSidShellBrowser, kSidShellBrowser, reinterpret_cast<void**>(&pShellBrowser));
    pProvider->Release();
    if (FAILED(hr) || pShellBrowser == nullptr) return false;
    HWND hwndBrowser = nullptr;
    pShellBrowser->GetWindow(&hwndBrowser);
    pShellBrowser->Release();
    HWND hwndView = hwndBrowser != nullptr ? ::GetWindow(hwndBrowser, GW_CHILD) : nullptr;
    HWND hwndDocument = hwndView != nullptr ? ::GetWindow(hwndView, GW_CHILD) : nullptr;
    if (hwndDocument == nullptr || pMsg->hwnd != hwndDocument) return false;
    IOleInPlaceActiveObject* pActive = nullptr;
    if (FAILED(m_pUnk->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&pActive))) ||
        pActive == nullptr)
        return false;
    hr = pActive->TranslateAccelerator(pMsg);
    pActive->Release();
    return hr == S_OK;
}

// The base class hands out neither face (see the header); derived classes replace them.
STDMETHODIMP CActiveXUI::QueryInterface(REFIID /*riid*/, void** ppvObject)
{
    if (ppvObject != nullptr) *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CActiveXUI::AddRef()
{
    return 1;
}

STDMETHODIMP_(ULONG) CActiveXUI::Release()
{
    return 1;
}

STDMETHODIMP CActiveXUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != nullptr) *pctinfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::GetHostInfo(DOCHOSTUIINFO*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                IOleInPlaceUIWindow*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::HideUI()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::UpdateUI()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::OnDocWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::OnFrameWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXUI::GetOptionKeyPath(LPOLESTR*, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch != nullptr) *ppDispatch = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::TranslateUrl(DWORD, OLECHAR*, OLECHAR**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXUI::FilterDataObject(IDataObject*, IDataObject**)
{
    return E_NOTIMPL;
}
