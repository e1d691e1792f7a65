#include "WebBrowserUI.h"

#include "AttributeValueUI.h"

#include <cwchar>

namespace UpdUI {

namespace {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kWebBrowserClsid = { 0x8856F961, 0x340A, 0x11D0, { 0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2 } };
// {988934A4-064B-11D3-BB80-00104B35E7F9}
const IID kIidDownloadManager = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };

const DISPID kDispidStatusTextChange = 102;
const DISPID kDispidCommandStateChange = 105;
const DISPID kDispidBeforeNavigate2 = 250;
const DISPID kDispidNavigateComplete2 = 252;
const DISPID kDispidNavigateError = 271;
const DISPID kDispidNewWindow3 = 273;

bool IsHandedOn(DISPID dispid)
{
    return dispid == kDispidCommandStateChange || dispid == kDispidBeforeNavigate2 ||
        dispid == kDispidNavigateComplete2 || dispid == kDispidNavigateError || dispid == kDispidNewWindow3;
}

} // namespace

CWebBrowserUI::CWebBrowserUI() : m_pWebBrowser2(nullptr), m_dwRef(0), m_bAutoNavi(false), m_pEventHandler(nullptr)
{
    m_clsid = kWebBrowserClsid;
}

// The base part would release the faces handed to the site after this object's own
// parts are gone; let go of them while they still exist.
CWebBrowserUI::~CWebBrowserUI()
{
    ReleaseHostedControl();
    SetDispatch(nullptr);
    SetUIHandler(nullptr);
    SetDownloadManager(nullptr);
}

const CLSID& CWebBrowserUI::WebBrowserClsid()
{
    return kWebBrowserClsid;
}

void CWebBrowserUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"url") == 0)
        SetHomePage(pstrValue);
    else if (wcscmp(pstrName, L"autonavi") == 0)
        SetAutoNavigation(CAttributeValueUI::IsTrue(pstrValue));
    else
        CActiveXUI::SetAttribute(pstrName, pstrValue);
}

void CWebBrowserUI::SetHomePage(LPCWSTR pstrUrl)
{
    m_sHomePage = pstrUrl != nullptr ? pstrUrl : L"";
}

const CStringUI& CWebBrowserUI::GetHomePage() const
{
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

bool CWebBrowserUI::IsAutoNavigation() const
{
    return m_bAutoNavi;
}

void CWebBrowserUI::SetEventHandler(CWebBrowserEventHandlerUI* pHandler)
{
    m_pEventHandler = pHandler;
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const
{
    return m_pWebBrowser2;
}

// Cleared so that the next layout creates the browser again.
void CWebBrowserUI::ReleaseHostedControl()
{
    m_bCreated = false;
    if (m_pWebBrowser2 != nullptr) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = nullptr;
    }
    CActiveXUI::ReleaseHostedControl();
}

bool CWebBrowserUI::CreateHostedControl()
{
    if (!CActiveXUI::CreateHostedControl()) return false;
    SetDispatch(static_cast<IDispatch*>(this));
    SetUIHandler(static_cast<IDocHostUIHandler*>(this));
    SetDownloadManager(static_cast<IDownloadManager*>(this));
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->Release();
    m_pWebBrowser2 = nullptr;
    if (FAILED(GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pWebBrowser2)))) m_pWebBrowser2 = nullptr;
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage.GetData());
    return true;
}

void CWebBrowserUI::NavigateUrl(LPCWSTR pstrUrl)
{
    if (pstrUrl == nullptr || m_pWebBrowser2 == nullptr) return;
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(pstrUrl);
    if (url.bstrVal == nullptr) return;
    m_pWebBrowser2->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
}

// ---------------------------------------------------------------- IUnknown

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IDispatch))
        *ppvObject = static_cast<IDispatch*>(this);
    else if (::IsEqualIID(riid, IID_IDocHostUIHandler))
        *ppvObject = static_cast<IDocHostUIHandler*>(this);
    else if (::IsEqualIID(riid, kIidDownloadManager))
        *ppvObject = static_cast<IDownloadManager*>(this);
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

// ---------------------------------------------------------------- IDispatch

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                                   EXCEPINFO*, UINT*)
{
    if (!::IsEqualIID(riid, IID_NULL)) return E_INVALIDARG;
    if (dispIdMember == kDispidStatusTextChange) return S_OK;
    if (!IsHandedOn(dispIdMember)) return E_NOTIMPL;
    if (m_pEventHandler != nullptr) m_pEventHandler->OnBrowserEvent(dispIdMember, pDispParams);
    return S_OK;
}

// ---------------------------------------------------------------- IDocHostUIHandler

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                            IDispatch* pDispatchObjectHit)
{
    if (m_pEventHandler == nullptr) return S_OK;
    return m_pEventHandler->ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->GetHostInfo(pInfo) : S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                   IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                   IOleInPlaceUIWindow* pDoc)
{
    if (m_pEventHandler == nullptr) return S_OK;
    return m_pEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    return m_pEventHandler != nullptr ? m_pEventHandler->HideUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    return m_pEventHandler != nullptr ? m_pEventHandler->UpdateUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->EnableModeless(fEnable) : S_OK;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->OnDocWindowActivate(fActivate) : S_OK;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->OnFrameWindowActivate(fActivate) : S_OK;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->ResizeBorder(prcBorder, pUIWindow, fRameWindow) : S_OK;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID) : S_OK;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->GetOptionKeyPath(pchKey, dw) : S_OK;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->GetDropTarget(pDropTarget, ppDropTarget) : S_OK;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->GetExternal(ppDispatch) : S_OK;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut) : S_OK;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->FilterDataObject(pDO, ppDORet) : S_OK;
}

// ---------------------------------------------------------------- IDownloadManager

STDMETHODIMP CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                                     LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP)
{
    if (m_pEventHandler == nullptr) return S_OK;
    return m_pEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

// ---------------------------------------------------------------- ITranslateAccelerator

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(MSG*)
{
    return S_OK;
}

} // namespace UpdUI
