#include "ActiveXCtrl.h"

#include <exdisp.h>
#include <exdispid.h>
#include <new>

#include "ActiveXEnum.h"
#include "ActiveXFrameWnd.h"
#include "ActiveXUI.h"
#include "ActiveXWnd.h"

namespace UpdUI {

namespace {

// {988934A4-064B-11D3-BB80-00104B35E7F9}
const IID kIidDownloadManager = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
const IID kDiidWebBrowserEvents2 = { 0x34A715A0, 0x6587, 0x11D0, { 0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D } };
const DISPID kDispidOnQuit = 253;

bool Is(REFIID riid, REFIID other)
{
    return ::IsEqualIID(riid, other) != FALSE;
}

// The out-pointer methods answer S_FALSE with a cleared result unless the handler
// produced one.
template <class T> HRESULT ResultOrFalse(HRESULT hr, T** ppOut)
{
    if (ppOut == nullptr) return hr;
    if (*ppOut != nullptr) return hr;
    return S_FALSE;
}

} // namespace

CActiveXCtrl::CActiveXCtrl(CActiveXUI* pOwner)
    : m_dwEventCookie(0), m_dwRef(1), m_pOwner(pOwner), m_pWindow(nullptr), m_pUnkSite(nullptr), m_pViewObject(nullptr),
      m_pInPlaceObject(nullptr), m_hAccel(nullptr), m_bWindowless(true), m_bFocused(false), m_bCaptured(false),
      m_bUIActivated(false), m_bInPlaceActive(false), m_bLocked(false), m_bRunningLocked(false)
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

// Letting go also ends the event connection and drops the control's faces: whoever
// still holds the site (the browser through its events, a kept frame) would
// otherwise keep the released control alive too.
void CActiveXCtrl::SetOwner(CActiveXUI* pOwner)
{
    if (pOwner == nullptr && m_pOwner != nullptr) {
        ConnectBrowserEvents(false);
        DestroyActiveXWnd();
        SetViewObject(nullptr);
        if (m_pInPlaceObject != nullptr) m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
        m_bInPlaceActive = false;
    }
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

bool CActiveXCtrl::IsContainerLocked() const
{
    return m_bLocked;
}

void CActiveXCtrl::SetFocused(bool bFocused)
{
    m_bFocused = bFocused;
}

void CActiveXCtrl::UnlockRunning(IUnknown* pObject)
{
    if (!m_bRunningLocked || pObject == nullptr) return;
    m_bRunningLocked = false;
    ::OleLockRunning(pObject, FALSE, TRUE);
}

RECT CActiveXCtrl::OwnerRect(bool bFromOrigin) const
{
    RECT rc = m_pOwner != nullptr ? m_pOwner->GetPos() : RECT{ 0, 0, 0, 0 };
    if (bFromOrigin) ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

IDocHostUIHandler* CActiveXCtrl::Handler() const
{
    return m_pOwner != nullptr ? m_pOwner->GetUIHandler() : nullptr;
}

IDispatch* CActiveXCtrl::OwnerDispatch() const
{
    return m_pOwner != nullptr ? m_pOwner->GetDispatch() : nullptr;
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != nullptr) return S_OK;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    m_pWindow = new CActiveXWnd(this);
    HWND hWnd = m_pWindow->Init(m_pOwner->GetManagerWindow());
    if (hWnd == nullptr) {
        delete m_pWindow;
        m_pWindow = nullptr;
        return E_FAIL;
    }
    m_pOwner->SetHostWindow(hWnd);
    ConnectBrowserEvents(true);
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

void CActiveXCtrl::ConnectBrowserEvents(bool bConnect)
{
    if (m_pOwner == nullptr || bConnect == (m_dwEventCookie != 0)) return;
    IWebBrowser2* pBrowser = nullptr;
    if (FAILED(m_pOwner->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser))) || pBrowser == nullptr)
        return;
    IConnectionPointContainer* pContainer = nullptr;
    HRESULT hr = pBrowser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer));
    pBrowser->Release();
    if (FAILED(hr) || pContainer == nullptr) return;
    IConnectionPoint* pPoint = nullptr;
    if (SUCCEEDED(pContainer->FindConnectionPoint(kDiidWebBrowserEvents2, &pPoint)) && pPoint != nullptr) {
        if (!bConnect) pPoint->Unadvise(m_dwEventCookie);
        if (!bConnect || FAILED(pPoint->Advise(static_cast<IDispatch*>(this), &m_dwEventCookie))) m_dwEventCookie = 0;
        pPoint->Release();
    }
    pContainer->Release();
}

// ---------------------------------------------------------------- IUnknown

void* CActiveXCtrl::FaceFor(REFIID riid)
{
    if (Is(riid, IID_IUnknown) || Is(riid, IID_IOleInPlaceSiteWindowless) || Is(riid, IID_IOleInPlaceSiteEx) ||
        Is(riid, IID_IOleInPlaceSite) || Is(riid, IID_IOleWindow))
        return static_cast<IOleInPlaceSiteWindowless*>(this);
    if (Is(riid, IID_IOleClientSite)) return static_cast<IOleClientSite*>(this);
    if (Is(riid, IID_IOleControlSite)) return static_cast<IOleControlSite*>(this);
    if (Is(riid, IID_IOleContainer)) return static_cast<IOleContainer*>(this);
    if (Is(riid, IID_IObjectWithSite)) return static_cast<IObjectWithSite*>(this);
    if (Is(riid, IID_IDocHostUIHandler)) return static_cast<IDocHostUIHandler*>(this);
    if (Is(riid, IID_IDispatch)) return static_cast<IDispatch*>(this);
    if (Is(riid, IID_IServiceProvider)) return static_cast<IServiceProvider*>(this);
    return nullptr;
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = FaceFor(riid);
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
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

// ---------------------------------------------------------------- IObjectWithSite

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

// ---------------------------------------------------------------- IOleClientSite

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
    if (m_pUnkSite != nullptr &&
        SUCCEEDED(m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer))) &&
        *ppContainer != nullptr)
        return S_OK;
    *ppContainer = nullptr;
    return QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer));
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    HDC hDC = hWnd != nullptr ? ::GetDC(hWnd) : nullptr;
    if (hDC == nullptr) return E_FAIL;
    if (m_pViewObject != nullptr) {
        RECT rc = OwnerRect(false);
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

// ---------------------------------------------------------------- IOleInPlaceSiteWindowless

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
    m_bCaptured = fCapture != FALSE;
    if (m_bCaptured)
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
    m_bFocused = fFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD grfFlags, HDC* phDC)
{
    if (phDC == nullptr) return E_POINTER;
    *phDC = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *phDC = ::GetDC(m_pOwner->GetHostWindow());
    if (*phDC == nullptr) return E_FAIL;
    if ((grfFlags & OLEDC_PAINTBKGND) != 0) {
        RECT rc = OwnerRect(!m_bWindowless);
        ::FillRect(*phDC, &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return ::ReleaseDC(m_pOwner->GetHostWindow(), hDC) != 0 ? S_OK : E_FAIL;
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
    HWND hWnd = m_pOwner->GetHostWindow();
    if (hWnd == nullptr) return E_FAIL;
    return ::InvalidateRgn(hWnd, hRGN, fErase) ? S_OK : E_FAIL;
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
    if (plResult == nullptr) return E_POINTER;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *plResult = ::DefWindowProcW(m_pOwner->GetHostWindow(), msg, wParam, lParam);
    return S_OK;
}

// ---------------------------------------------------------------- IOleInPlaceSiteEx

// Windowless when the control asks for it and offers the windowless in-place face;
// otherwise it gets a child window of its own.
STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL*, DWORD dwFlags)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    IOleObject* pObject = nullptr;
    if (FAILED(m_pOwner->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject))) || pObject == nullptr)
        return E_UNEXPECTED;
    if (!m_bRunningLocked) m_bRunningLocked = SUCCEEDED(::OleLockRunning(pObject, TRUE, FALSE));
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = pObject->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&m_pInPlaceObject));
        if (SUCCEEDED(hr) && m_pInPlaceObject != nullptr) {
            m_pOwner->SetHostWindow(m_pOwner->GetManagerWindow());
            if (m_pOwner->GetManager() != nullptr) m_pOwner->GetManager()->AddMessageFilter(m_pOwner);
        }
    }
    if (FAILED(hr) || m_pInPlaceObject == nullptr) {
        m_bWindowless = false;
        m_pInPlaceObject = nullptr;
        hr = CreateActiveXWnd();
        if (SUCCEEDED(hr))
            hr = pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
        if (FAILED(hr)) m_pInPlaceObject = nullptr;
    }
    pObject->Release();
    if (m_pInPlaceObject != nullptr) {
        RECT rc = OwnerRect(!m_bWindowless);
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL)
{
    m_bInPlaceActive = false;
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    ConnectBrowserEvents(false);
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

// ---------------------------------------------------------------- IOleInPlaceSite

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
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr || lprcClipRect == nullptr) return E_POINTER;
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_hAccel == nullptr) {
        ACCEL ac = {};
        m_hAccel = ::CreateAcceleratorTableW(&ac, 1);
    }
    *ppFrame = new CActiveXFrameWnd(this);
    if (lpFrameInfo != nullptr) {
        lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = m_pOwner->GetManagerWindow();
        lpFrameInfo->haccel = m_hAccel;
        lpFrameInfo->cAccelEntries = 1;
    }
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

// ---------------------------------------------------------------- IOleWindow

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

// ---------------------------------------------------------------- IOleControlSite

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
    return m_pOwner->GetControl(IID_IDispatch, reinterpret_cast<void**>(ppDisp));
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
    m_bFocused = fGotFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------- IOleContainer

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** ppmkOut)
{
    if (ppmkOut != nullptr) *ppmkOut = nullptr;
    return E_NOTIMPL;
}

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

// ---------------------------------------------------------------- IDocHostUIHandler

STDMETHODIMP CActiveXCtrl::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                           IDispatch* pDispatchObjectHit)
{
    if (Handler() != nullptr) return Handler()->ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (Handler() != nullptr) return Handler()->GetHostInfo(pInfo);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                                  IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc)
{
    if (Handler() != nullptr) return Handler()->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::HideUI()
{
    if (Handler() != nullptr) return Handler()->HideUI();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::UpdateUI()
{
    if (Handler() != nullptr) return Handler()->UpdateUI();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::EnableModeless(BOOL fEnable)
{
    if (Handler() != nullptr) return Handler()->EnableModeless(fEnable);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDocWindowActivate(BOOL fActivate)
{
    if (Handler() != nullptr) return Handler()->OnDocWindowActivate(fActivate);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnFrameWindowActivate(BOOL fActivate)
{
    if (Handler() != nullptr) return Handler()->OnFrameWindowActivate(fActivate);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow)
{
    if (Handler() != nullptr) return Handler()->ResizeBorder(prcBorder, pUIWindow, fRameWindow);
    return S_OK;
}

// The handler is told, but the site never claims the key for itself.
STDMETHODIMP CActiveXCtrl::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (Handler() != nullptr) Handler()->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw)
{
    if (pchKey != nullptr) *pchKey = nullptr;
    if (Handler() == nullptr) return S_FALSE;
    return ResultOrFalse(Handler()->GetOptionKeyPath(pchKey, dw), pchKey);
}

STDMETHODIMP CActiveXCtrl::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    if (ppDropTarget != nullptr) *ppDropTarget = nullptr;
    if (Handler() == nullptr) return E_NOTIMPL;
    return ResultOrFalse(Handler()->GetDropTarget(pDropTarget, ppDropTarget), ppDropTarget);
}

STDMETHODIMP CActiveXCtrl::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch != nullptr) *ppDispatch = nullptr;
    if (Handler() == nullptr) return E_NOINTERFACE;
    HRESULT hr = Handler()->GetExternal(ppDispatch);
    if (ppDispatch != nullptr && *ppDispatch != nullptr) return hr;
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXCtrl::TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut)
{
    if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
    if (Handler() == nullptr) return S_FALSE;
    return ResultOrFalse(Handler()->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut), ppchURLOut);
}

STDMETHODIMP CActiveXCtrl::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    if (ppDORet != nullptr) *ppDORet = nullptr;
    if (Handler() == nullptr) return S_FALSE;
    return ResultOrFalse(Handler()->FilterDataObject(pDO, ppDORet), ppDORet);
}

// ---------------------------------------------------------------- IServiceProvider

STDMETHODIMP CActiveXCtrl::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    IDownloadManager* pManager = m_pOwner != nullptr ? m_pOwner->GetDownloadManager() : nullptr;
    if (pManager == nullptr || !Is(guidService, kIidDownloadManager) || !Is(riid, kIidDownloadManager))
        return E_NOINTERFACE;
    pManager->AddRef();
    *ppvObject = pManager;
    return S_OK;
}

// ---------------------------------------------------------------- IDispatch

STDMETHODIMP CActiveXCtrl::GetTypeInfoCount(UINT* pctinfo)
{
    if (OwnerDispatch() == nullptr) return E_NOTIMPL;
    return OwnerDispatch()->GetTypeInfoCount(pctinfo);
}

STDMETHODIMP CActiveXCtrl::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo)
{
    if (OwnerDispatch() == nullptr) return E_NOTIMPL;
    return OwnerDispatch()->GetTypeInfo(iTInfo, lcid, ppTInfo);
}

STDMETHODIMP CActiveXCtrl::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId)
{
    if (OwnerDispatch() == nullptr) return E_NOTIMPL;
    return OwnerDispatch()->GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

STDMETHODIMP CActiveXCtrl::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                                  VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (dispIdMember == kDispidOnQuit) {
        ConnectBrowserEvents(false);
        return S_OK;
    }
    if (OwnerDispatch() == nullptr) return E_NOTIMPL;
    return OwnerDispatch()->Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
}

} // namespace UpdUI
