#include "ActiveXFrameWnd.h"

namespace {

const HRESULT kNoToolSpace = static_cast<HRESULT>(0x800401A1); // INPLACE_E_NOTOOLSPACE

} // namespace

namespace UIShared {

CActiveXFrameWnd::CActiveXFrameWnd(IOleClientSite* pSite) : m_dwRef(1), m_pSite(pSite), m_pActiveObject(nullptr)
{
    if (m_pSite != nullptr) m_pSite->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != nullptr) m_pActiveObject->Release();
    if (m_pSite != nullptr) m_pSite->Release();
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (!::IsEqualIID(riid, IID_IUnknown) && !::IsEqualIID(riid, IID_IOleWindow) &&
        !::IsEqualIID(riid, IID_IOleInPlaceUIWindow) && !::IsEqualIID(riid, IID_IOleInPlaceFrame))
        return E_NOINTERFACE;
    AddRef();
    *ppvObject = static_cast<IOleInPlaceFrame*>(this);
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    LONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = nullptr;
    if (!GetOwnerWindow(phwnd)) return E_UNEXPECTED;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return kNoToolSpace;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR)
{
    if (pActiveObject != nullptr) pActiveObject->AddRef();
    if (m_pActiveObject != nullptr) m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

} // namespace UIShared
