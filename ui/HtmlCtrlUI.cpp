#include "HtmlCtrlUI.h"

#include "DocHostRulesUI.h"

namespace {

// Browser events the external object accepts without effect: StatusTextChange,
// ProgressChange, BeforeNavigate2, NavigateComplete2, NavigateError, SetSecureLockIcon.
bool IsIgnoredBrowserEvent(DISPID id)
{
    return id == 102 || id == 105 || id == 250 || id == 252 || id == 271 || id == 273;
}

} // namespace

CHtmlCtrlUI::CHtmlCtrlUI() : m_dwFaceRef(0), m_pWebBrowser(nullptr)
{
    m_clsid = WebBrowserClsid();
}

CHtmlCtrlUI::~CHtmlCtrlUI()
{
    if (m_pWebBrowser != nullptr) {
        m_pWebBrowser->Release();
        m_pWebBrowser = nullptr;
    }
}

LPCWSTR CHtmlCtrlUI::GetControlClass() const
{
    return L"HtmlCtrlUI";
}

// The hosted class is fixed: "clsid" is an ordinary control attribute here.
void CHtmlCtrlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    CControlUI::SetAttribute(pstrName, pstrValue);
}

bool CHtmlCtrlUI::CreateHostedControl()
{
    if (m_pWebBrowser != nullptr) {
        m_pWebBrowser->Release();
        m_pWebBrowser = nullptr;
    }
    bool bCreated = CActiveXUI::CreateHostedControl();
    if (bCreated && FAILED(GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pWebBrowser))))
        m_pWebBrowser = nullptr;
    return bCreated;
}

IWebBrowser2* CHtmlCtrlUI::GetWebBrowser() const
{
    return m_pWebBrowser;
}

// Both faces answer IDispatch (the external object) and, as COM requires of every
// object, IUnknown.
STDMETHODIMP CHtmlCtrlUI::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (!::IsEqualIID(riid, IID_IDispatch) && !::IsEqualIID(riid, IID_IUnknown)) return E_NOINTERFACE;
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CHtmlCtrlUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwFaceRef));
}

STDMETHODIMP_(ULONG) CHtmlCtrlUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwFaceRef));
}

STDMETHODIMP CHtmlCtrlUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CHtmlCtrlUI::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

// The external object offers pages no names.
STDMETHODIMP CHtmlCtrlUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    if (!::IsEqualIID(riid, IID_NULL)) return E_INVALIDARG;
    return IsIgnoredBrowserEvent(dispIdMember) ? S_OK : E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::ShowContextMenu(DWORD dwID, POINT*, IUnknown*, IDispatch*)
{
    return CDocHostRulesUI::ShowContextMenu(this, dwID);
}

STDMETHODIMP CHtmlCtrlUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return CDocHostRulesUI::GetHostInfo(pInfo);
}

STDMETHODIMP CHtmlCtrlUI::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                 IOleInPlaceUIWindow*)
{
    return S_OK;
}

STDMETHODIMP CHtmlCtrlUI::HideUI()
{
    return S_OK;
}

STDMETHODIMP CHtmlCtrlUI::UpdateUI()
{
    return S_OK;
}

STDMETHODIMP CHtmlCtrlUI::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::OnDocWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::OnFrameWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::TranslateAccelerator(LPMSG lpMsg, const GUID*, DWORD)
{
    return CDocHostRulesUI::TranslateAccelerator(lpMsg);
}

STDMETHODIMP CHtmlCtrlUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey != nullptr) *pchKey = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return S_FALSE;
}

STDMETHODIMP CHtmlCtrlUI::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch == nullptr) return E_POINTER;
    *ppDispatch = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CHtmlCtrlUI::TranslateUrl(DWORD, OLECHAR*, OLECHAR** ppchURLOut)
{
    if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHtmlCtrlUI::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet != nullptr) *ppDORet = nullptr;
    return E_NOTIMPL;
}
