#include "ActiveXCtrl.h"

#include <cwchar>
#include <new>

#include "ActiveXEnum.h"
#include "ActiveXFrameWnd.h"
#include "ActiveXUI.h"
#include "ActiveXWnd.h"
#include "DocHostRulesUI.h"
#include "PageBridgeUI.h"

namespace {

// Not exported by the import libraries: {C4D244B0-D43E-11CF-893B-00AA00BDCE1A}.
const IID kIidDocHostShowUI = { 0xC4D244B0, 0xD43E, 0x11CF, { 0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A } };

bool Is(REFIID riid, REFIID other)
{
    return ::IsEqualIID(riid, other) != FALSE;
}

} // namespace

CActiveXCtrl::CActiveXCtrl()
    : m_dwRef(1), m_pOwner(nullptr), m_pWindow(nullptr), m_pUnkSite(nullptr), m_pViewObject(nullptr),
      m_pInPlaceObject(nullptr), m_hAccel(nullptr), m_bLocked(false), m_bFocused(false), m_bCaptured(false),
      m_bUIActivated(false), m_bInPlaceActive(false), m_bWindowless(true)
{ }

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyActiveXWnd();
    if (m_pUnkSite != nullptr) m_pUnkSite->Release();
    if (m_pViewObject != nullptr) m_pViewObject->Release();
    if (m_pInPlaceObject != nullptr) m_pInPlaceObject->Release();
    if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
}

CActiveXUI* CActiveXCtrl::GetOwner() const
{
    return m_pOwner;
}

void CActiveXCtrl::SetOwner(CActiveXUI* pOwner)
{
    m_pOwner = pOwner;
}

IViewObject* CActiveXCtrl::GetViewObject() const
{
    return m_pViewObject;
}

void CActiveXCtrl::SetViewObject(IViewObject* pViewObject)
{
    if (pViewObject != nullptr) pViewObject->AddRef();
    if (m_pViewObject != nullptr) m_pViewObject->Release();
    m_pViewObject = pViewObject;
}

IOleInPlaceObject* CActiveXCtrl::GetInPlaceObject() const
{
    return m_pInPlaceObject;
}

bool CActiveXCtrl::IsWindowless() const
{
    return m_bWindowless;
}

bool CActiveXCtrl::IsInPlaceActive() const
{
    return m_bInPlaceActive;
}

bool CActiveXCtrl::IsFocused() const
{
    return m_bFocused;
}

bool CActiveXCtrl::IsCaptured() const
{
    return m_bCaptured;
}

bool CActiveXCtrl::IsUIActive() const
{
    return m_bUIActivated;
}

void CActiveXCtrl::SetFocused(bool bFocused)
{
    m_bFocused = bFocused;
}

bool CActiveXCtrl::IsOwnerPlainActiveX() const
{
    return m_pOwner != nullptr && wcscmp(m_pOwner->GetControlClass(), L"ActiveXUI") == 0;
}

RECT CActiveXCtrl::OwnerRect() const
{
    return m_pOwner != nullptr ? m_pOwner->GetPos() : RECT{ 0, 0, 0, 0 };
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != nullptr) return S_OK;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    m_pWindow = new (std::nothrow) CActiveXWnd(this);
    if (m_pWindow == nullptr) return E_OUTOFMEMORY;
    HWND hWnd = m_pWindow->Init(m_pOwner->GetManagerWindow());
    if (hWnd == nullptr) {
        delete m_pWindow;
        m_pWindow = nullptr;
        return E_FAIL;
    }
    m_pOwner->SetHostWindow(hWnd);
    return S_OK;
}

void CActiveXCtrl::DestroyActiveXWnd()
{
    if (m_pWindow == nullptr) return;
    HWND hWnd = m_pWindow->GetWindowHandle();
    if (m_pOwner != nullptr && m_pOwner->GetHostWindow() == hWnd) m_pOwner->SetHostWindow(nullptr);
    if (hWnd != nullptr) ::DestroyWindow(hWnd);
    delete m_pWindow;
    m_pWindow = nullptr;
}

// ---------------------------------------------------------------------------
// IUnknown

void* CActiveXCtrl::FaceFor(REFIID riid)
{
    if (Is(riid, IID_IUnknown) || Is(riid, IID_IOleWindow) || Is(riid, IID_IOleInPlaceSite) ||
        Is(riid, IID_IOleInPlaceSiteEx) || Is(riid, IID_IOleInPlaceSiteWindowless))
        return static_cast<IOleInPlaceSiteWindowless*>(this);
    if (Is(riid, IID_IOleClientSite)) return static_cast<IOleClientSite*>(this);
    if (Is(riid, IID_IOleControlSite)) return static_cast<IOleControlSite*>(this);
    if (Is(riid, IID_IOleContainer)) return static_cast<IOleContainer*>(this);
    if (Is(riid, IID_IObjectWithSite)) return static_cast<IObjectWithSite*>(this);
    if (Is(riid, kIidDocHostShowUI)) return static_cast<IDocHostShowUI*>(this);
    if (Is(riid, IID_IOleControl)) return static_cast<IOleControl*>(this);
    if (Is(riid, IID_IDispatch) && m_pOwner != nullptr && m_pOwner->IsWebBrowser())
        return static_cast<IDispatch*>(this);
    return nullptr;
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (Is(riid, IID_IDocHostUIHandler)) {
        if (m_pOwner == nullptr) return E_NOINTERFACE;
        // A derived control (the HTML control) serves the document host itself.
        IDocHostUIHandler* pHandler =
            IsOwnerPlainActiveX() ? static_cast<IDocHostUIHandler*>(this) : static_cast<IDocHostUIHandler*>(m_pOwner);
        pHandler->AddRef();
        *ppvObject = pHandler;
        return S_OK;
    }
    void* pFace = FaceFor(riid);
    if (pFace == nullptr) return E_NOINTERFACE;
    static_cast<IUnknown*>(static_cast<IOleInPlaceSiteWindowless*>(this))->AddRef();
    *ppvObject = pFace;
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    LONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

// ---------------------------------------------------------------------------
// IObjectWithSite

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    if (pUnkSite != nullptr) pUnkSite->AddRef();
    if (m_pUnkSite != nullptr) m_pUnkSite->Release();
    m_pUnkSite = pUnkSite;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, LPVOID* ppvSite)
{
    if (ppvSite == nullptr) return E_POINTER;
    *ppvSite = nullptr;
    if (m_pUnkSite == nullptr) return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

// ---------------------------------------------------------------------------
// IOleClientSite

STDMETHODIMP CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk != nullptr) *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == nullptr) return E_POINTER;
    *ppContainer = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != nullptr)
        hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer));
    if (SUCCEEDED(hr) && *ppContainer != nullptr) return hr;
    *ppContainer = nullptr;
    return QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer));
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    HDC hDC = ::GetDC(hWnd);
    if (hDC == nullptr) return E_FAIL;
    if (m_pViewObject != nullptr) {
        RECT rc = OwnerRect();
        RECTL rcl = { rc.left, rc.top, rc.right, rc.bottom };
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcl, &rcl, nullptr, 0);
    }
    ::ReleaseDC(hWnd, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleInPlaceSiteWindowless

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    m_bCaptured = fCapture == TRUE;
    if (fCapture)
        ::SetCapture(m_pOwner->GetHostWindow());
    else
        ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (fFocus) m_pOwner->SetFocus();
    m_bFocused = fFocus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD grfFlags, HDC* phDC)
{
    if (phDC == nullptr) return E_POINTER;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *phDC = ::GetDC(m_pOwner->GetHostWindow());
    if ((grfFlags & OLEDC_PAINTBKGND) != 0 && *phDC != nullptr) {
        RECT rc = OwnerRect();
        if (!m_bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
        ::FillRect(*phDC, &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->GetHostWindow(), hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    if (hWnd == nullptr) return E_FAIL;
    return ::InvalidateRect(hWnd, pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return ::InvalidateRgn(m_pOwner->GetHostWindow(), hRGN, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    LRESULT lResult = ::DefWindowProcW(m_pOwner->GetHostWindow(), msg, wParam, lParam);
    if (plResult != nullptr) *plResult = lResult;
    return S_OK;
}

// ---------------------------------------------------------------------------
// IOleInPlaceSiteEx

// Windowless when the control asks for it and offers the windowless in-place face;
// otherwise it gets a child window of its own.
STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL*, DWORD dwFlags)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    IOleObject* pObject = nullptr;
    if (FAILED(m_pOwner->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject))) || pObject == nullptr)
        return E_UNEXPECTED;
    ::OleLockRunning(pObject, TRUE, FALSE);
    HRESULT hr = E_FAIL;
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = pObject->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&m_pInPlaceObject));
        if (SUCCEEDED(hr)) {
            m_pOwner->SetHostWindow(m_pOwner->GetManagerWindow());
            m_pOwner->JoinMessageFilters();
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        m_pInPlaceObject = nullptr;
        hr = CreateActiveXWnd();
        if (SUCCEEDED(hr))
            hr = pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
        if (FAILED(hr)) m_pInPlaceObject = nullptr;
    }
    pObject->Release();
    if (m_pInPlaceObject != nullptr) {
        RECT rc = OwnerRect();
        if (!m_bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL)
{
    m_bInPlaceActive = false;
    if (m_pOwner != nullptr) m_pOwner->LeaveMessageFilters();
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

// ---------------------------------------------------------------------------
// IOleInPlaceSite

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL bNoRedraw = FALSE;
    return OnInPlaceActivateEx(&bNoRedraw, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                            LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr || lprcClipRect == nullptr ||
        lpFrameInfo == nullptr)
        return E_POINTER;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_hAccel == nullptr) {
        ACCEL ac = {};
        m_hAccel = ::CreateAcceleratorTableW(&ac, 1);
    }
    *ppFrame = new CActiveXFrameWnd(this);
    *ppDoc = nullptr;
    lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = m_pOwner->GetManagerWindow();
    lpFrameInfo->haccel = m_hAccel;
    lpFrameInfo->cAccelEntries = 1;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT)
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleWindow

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->GetHostWindow() == nullptr) CreateActiveXWnd();
    if (m_pOwner->GetHostWindow() == nullptr) return E_FAIL;
    *phwnd = m_pOwner->GetHostWindow();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL)
{
    return S_OK;
}

// ---------------------------------------------------------------------------
// IOleControlSite

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == nullptr) return E_POINTER;
    *ppDisp = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    HRESULT hr = m_pOwner->GetControl(IID_IDispatch, reinterpret_cast<void**>(ppDisp));
    return hr == E_PENDING ? E_UNEXPECTED : hr;
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = fGotFocus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleContainer

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** ppenum)
{
    if (ppenum == nullptr) return E_POINTER;
    *ppenum = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    IUnknown* pObject = nullptr;
    m_pOwner->GetControl(IID_IUnknown, reinterpret_cast<void**>(&pObject));
    *ppenum = new CActiveXEnum(pObject);
    if (pObject != nullptr) pObject->Release();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = fLock != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**)
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IDocHostUIHandler (a plain ActiveX control hosting the web browser)

STDMETHODIMP CActiveXCtrl::ShowContextMenu(DWORD dwID, POINT*, IUnknown*, IDispatch*)
{
    return CDocHostRulesUI::ShowContextMenu(m_pOwner, dwID);
}

STDMETHODIMP CActiveXCtrl::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return CDocHostRulesUI::GetHostInfo(pInfo);
}

STDMETHODIMP CActiveXCtrl::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                  IOleInPlaceUIWindow*)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::HideUI()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::UpdateUI()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnDocWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnFrameWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(LPMSG lpMsg, const GUID*, DWORD)
{
    return CDocHostRulesUI::TranslateAccelerator(lpMsg);
}

STDMETHODIMP CActiveXCtrl::GetOptionKeyPath(LPOLESTR*, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch == nullptr) return E_POINTER;
    *ppDispatch = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    IDispatch* pDispatch = IsOwnerPlainActiveX() ? static_cast<IDispatch*>(this) : static_cast<IDispatch*>(m_pOwner);
    pDispatch->AddRef();
    *ppDispatch = pDispatch;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateUrl(DWORD, OLECHAR*, OLECHAR** ppchURLOut)
{
    if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet != nullptr) *ppDORet = nullptr;
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IDocHostShowUI

STDMETHODIMP CActiveXCtrl::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*)
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleControl

STDMETHODIMP CActiveXCtrl::GetControlInfo(CONTROLINFO* pCI)
{
    if (pCI == nullptr) return E_POINTER;
    pCI->hAccel = nullptr;
    pCI->cAccel = 0;
    pCI->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnMnemonic(MSG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnAmbientPropertyChange(DISPID)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::FreezeEvents(BOOL)
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IDispatch: the page bridge

STDMETHODIMP CActiveXCtrl::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
    return CPageBridgeUI::GetIDsOfNames(rgszNames, cNames, rgDispId);
}

STDMETHODIMP CActiveXCtrl::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                  EXCEPINFO*, UINT*)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    CPageBridgeUI bridge(m_pOwner);
    return bridge.Invoke(dispIdMember, pDispParams, pVarResult);
}
