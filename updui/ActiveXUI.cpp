#include "ActiveXUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ActiveXCtrl.h"
#include "uishared/OlePlacementUI.h"

namespace UpdUI {

namespace {

const int kMaxClsidText = 99;

typedef HRESULT(STDAPICALLTYPE* GetClassObjectProc)(REFCLSID, REFIID, LPVOID*);

// WM_MOUSEMOVE through WM_MOUSEHWHEEL.
bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= 0x200 && uMsg <= 0x20D;
}

// WM_KEYDOWN through WM_DEADCHAR.
bool IsKeyMessage(UINT uMsg)
{
    return uMsg >= WM_KEYDOWN && uMsg <= WM_DEADCHAR;
}

template <class T> void ReleaseAndClear(T*& p)
{
    if (p == nullptr) return;
    p->Release();
    p = nullptr;
}

template <class T> void ReplaceCounted(T*& pField, T* pNew)
{
    if (pField == pNew) return;
    if (pNew != nullptr) pNew->AddRef();
    if (pField != nullptr) pField->Release();
    pField = pNew;
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL), m_bCreated(false), m_bDelayCreate(true), m_pUnk(nullptr), m_pControl(nullptr),
      m_hwndHost(nullptr), m_pUIHandler(nullptr), m_pDownloadManager(nullptr), m_pDispatch(nullptr),
      m_pListingManager(nullptr)
{ }

CActiveXUI::~CActiveXUI()
{
    ReleaseAndClear(m_pUIHandler);
    ReleaseAndClear(m_pDispatch);
    ReleaseAndClear(m_pDownloadManager);
    // Not virtual here: a derived part is already gone.
    CActiveXUI::ReleaseHostedControl();
    if (m_pListingManager != nullptr) m_pListingManager->RemoveBrowser(this);
}

void CActiveXUI::SetListingManager(CWindowManagerUI* pManager)
{
    m_pListingManager = pManager;
}

CWindowManagerUI* CActiveXUI::GetListingManager() const
{
    return m_pListingManager;
}

LPCWSTR CActiveXUI::GetControlClass() const
{
    return L"ActiveXUI";
}

LPVOID CActiveXUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"ActiveX") == 0) return static_cast<CActiveXUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

const CLSID& CActiveXUI::GetClsid() const
{
    return m_clsid;
}

void CActiveXUI::SetModuleName(LPCWSTR pstrText)
{
    m_sModuleName = pstrText != nullptr ? pstrText : L"";
}

const CStringUI& CActiveXUI::GetModuleName() const
{
    return m_sModuleName;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

bool CActiveXUI::IsCreated() const
{
    return m_bCreated;
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

void CActiveXUI::SetUIHandler(IDocHostUIHandler* pHandler)
{
    ReplaceCounted(m_pUIHandler, pHandler);
}

IDocHostUIHandler* CActiveXUI::GetUIHandler() const
{
    return m_pUIHandler;
}

void CActiveXUI::SetDownloadManager(IDownloadManager* pManager)
{
    ReplaceCounted(m_pDownloadManager, pManager);
}

IDownloadManager* CActiveXUI::GetDownloadManager() const
{
    return m_pDownloadManager;
}

void CActiveXUI::SetDispatch(IDispatch* pDispatch)
{
    ReplaceCounted(m_pDispatch, pDispatch);
}

IDispatch* CActiveXUI::GetDispatch() const
{
    return m_pDispatch;
}

void CActiveXUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"clsid") == 0)
        SetClsidText(pstrValue);
    else if (wcscmp(pstrName, L"modulename") == 0)
        SetModuleName(pstrValue);
    else if (wcscmp(pstrName, L"delaycreate") == 0)
        SetDelayCreate(CAttributeValueUI::IsTrue(pstrValue));
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

bool CActiveXUI::SetClsidText(LPCWSTR pstrClsid)
{
    if (pstrClsid == nullptr) return false;
    wchar_t szClsid[kMaxClsidText + 1] = {};
    wcsncpy(szClsid, pstrClsid, kMaxClsidText);
    CLSID clsid = GUID_NULL;
    HRESULT hr = szClsid[0] == L'{' ? ::CLSIDFromString(szClsid, &clsid) : ::CLSIDFromProgID(szClsid, &clsid);
    // An unreadable text must not leave a half-parsed identifier behind.
    if (FAILED(hr)) clsid = GUID_NULL;
    return SetClsid(clsid);
}

bool CActiveXUI::SetClsid(REFCLSID clsid)
{
    if (::IsEqualGUID(clsid, GUID_NULL)) return false;
    m_clsid = clsid;
    m_bCreated = false;
    if (!m_bDelayCreate) CreateHostedControl();
    return true;
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate) return;
    if (!bDelayCreate && !m_bCreated && !::IsEqualGUID(m_clsid, GUID_NULL)) {
        m_bDelayCreate = false;
        CreateHostedControl();
    }
    m_bDelayCreate = bDelayCreate;
}

HRESULT CActiveXUI::GetControl(REFIID iid, LPVOID* ppRet)
{
    if (ppRet == nullptr) return E_POINTER;
    *ppRet = nullptr;
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
        if (m_pControl != nullptr) m_pControl->UnlockRunning(m_pUnk);
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(nullptr);
        ReleaseAndClear(m_pUnk);
    }
    if (m_pControl != nullptr) {
        m_pControl->SetOwner(nullptr);
        ReleaseAndClear(m_pControl);
    }
    if (m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
}

// The module stays loaded: the objects it made live on after this call.
IUnknown* CActiveXUI::CreateFromModule()
{
    if (m_sModuleName.IsEmpty()) return nullptr;
    HMODULE hModule = ::LoadLibraryW(m_sModuleName.GetData());
    if (hModule == nullptr) return nullptr;
    GetClassObjectProc pfnGetClassObject =
        reinterpret_cast<GetClassObjectProc>(reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetClassObject")));
    if (pfnGetClassObject == nullptr) return nullptr;
    IClassFactory* pFactory = nullptr;
    if (FAILED(pfnGetClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<LPVOID*>(&pFactory))) ||
        pFactory == nullptr)
        return nullptr;
    IUnknown* pObject = nullptr;
    if (FAILED(pFactory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<LPVOID*>(&pObject))))
        pObject = nullptr;
    pFactory->Release();
    return pObject;
}

IUnknown* CActiveXUI::CreateObject()
{
    IUnknown* pObject = CreateFromModule();
    if (pObject != nullptr) return pObject;
    if (FAILED(::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl, reinterpret_cast<LPVOID*>(&pObject))))
        return nullptr;
    return pObject;
}

// Some controls want their site before InitNew, the others after it.
bool CActiveXUI::InitNewAndSetSite(DWORD dwMiscStatus, IOleClientSite* pClientSite)
{
    const bool bSiteFirst = (dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst) m_pUnk->SetClientSite(pClientSite);
    IPersistStreamInit* pPersist = nullptr;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pPersist))) &&
        pPersist != nullptr) {
        HRESULT hr = pPersist->InitNew();
        pPersist->Release();
        if (FAILED(hr)) {
            if (bSiteFirst) m_pUnk->SetClientSite(nullptr);
            return false;
        }
    }
    if (!bSiteFirst) m_pUnk->SetClientSite(pClientSite);
    return true;
}

void CActiveXUI::PickViewObject()
{
    IViewObject* pView = nullptr;
    HRESULT hr = m_pUnk->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&pView));
    if (FAILED(hr)) hr = m_pUnk->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&pView));
    if (FAILED(hr)) hr = m_pUnk->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&pView));
    if (FAILED(hr) || pView == nullptr) return;
    m_pControl->SetViewObject(pView);
    pView->Release();
}

// Each step depends on the one before; the first failure ends creation.
bool CActiveXUI::CreateHostedControl()
{
    ReleaseHostedControl();
    m_bCreated = true;
    // A host given no class has nothing to create, not even from its module. Asking COM for
    // the null class costs a registry search and a call to the activation service, for every
    // such host.
    if (::IsEqualGUID(m_clsid, GUID_NULL)) return false;
    IUnknown* pObject = CreateObject();
    if (pObject == nullptr) return false;
    HRESULT hr = pObject->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_pUnk));
    pObject->Release();
    if (FAILED(hr) || m_pUnk == nullptr) {
        m_pUnk = nullptr;
        return false;
    }

    m_pControl = new CActiveXCtrl(this);
    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    IOleClientSite* pClientSite = nullptr;
    m_pControl->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&pClientSite));
    if (!InitNewAndSetSite(dwMiscStatus, pClientSite)) {
        pClientSite->Release();
        return false;
    }
    PickViewObject();
    m_pUnk->SetHostNames(L"UIActiveX", nullptr);
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"showactivex", 0, 0, false);

    // The notification may have released the control.
    hr = m_pUnk != nullptr ? S_OK : E_UNEXPECTED;
    if (m_pUnk != nullptr && (dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0) {
        RECT rcItem = m_rcItem;
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pClientSite, 0, GetManagerWindow(), &rcItem);
    }
    IObjectWithSite* pWithSite = nullptr;
    if (m_pUnk != nullptr &&
        SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&pWithSite))) &&
        pWithSite != nullptr) {
        pWithSite->SetSite(pClientSite);
        pWithSite->Release();
    }
    pClientSite->Release();
    return SUCCEEDED(hr);
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

// Only a windowed control has a window of its own; hiding the manager's window
// because a windowless control went invisible would hide the whole dialog.
void CActiveXUI::ShowHostWindow()
{
    if (m_pControl == nullptr || m_pControl->IsWindowless() || m_hwndHost == nullptr) return;
    ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::DoPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if (m_pControl == nullptr || !m_pControl->IsWindowless() || m_pControl->GetViewObject() == nullptr) return;
    RECTL rcItem = { m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
    m_pControl->GetViewObject()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcItem, &rcItem, nullptr,
                                      0);
}

bool CActiveXUI::PassesMouseFilter(UINT uMsg, LPARAM lParam) const
{
    if (IsMouseMessage(uMsg) && !IsMouseEnabled()) return false;
    if (m_pControl->IsCaptured()) return true;
    IViewObject* pView = m_pControl->GetViewObject();
    IViewObjectEx* pViewEx = nullptr;
    if (pView == nullptr || FAILED(pView->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&pViewEx))) ||
        pViewEx == nullptr)
        return false;
    POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    if (uMsg == WM_SETCURSOR) {
        // WM_SETCURSOR carries no position: ask where the pointer is now.
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hwndHost, &pt);
    }
    DWORD dwHitResult = HITRESULT_OUTSIDE;
    pViewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &dwHitResult);
    pViewEx->Release();
    return dwHitResult == HITRESULT_HIT;
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pControl == nullptr || !m_pControl->IsInPlaceActive() || m_pControl->GetInPlaceObject() == nullptr) return 0;
    bool bMarkHandled = true;
    if (IsMouseMessage(uMsg) || uMsg == WM_SETCURSOR) {
        if (!PassesMouseFilter(uMsg, lParam)) return 0;
        bMarkHandled = uMsg != WM_SETCURSOR;
    } else if (IsKeyMessage(uMsg)) {
        if (!m_pControl->IsFocused()) return 0;
    } else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        bMarkHandled = false;
    } else {
        return 0;
    }
    IOleInPlaceObjectWindowless* pWindowless =
        static_cast<IOleInPlaceObjectWindowless*>(m_pControl->GetInPlaceObject());
    LRESULT lResult = 0;
    if (pWindowless->OnWindowMessage(uMsg, wParam, lParam, &lResult) == S_OK && bMarkHandled) bHandled = true;
    return lResult;
}

} // namespace UpdUI
