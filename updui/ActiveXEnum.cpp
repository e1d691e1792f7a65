#include "ActiveXEnum.h"

namespace UpdUI {

CActiveXEnum::CActiveXEnum(IUnknown* pUnk) : m_dwRef(1), m_iPos(0), m_pUnk(pUnk)
{
    if (m_pUnk != nullptr) m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_pUnk != nullptr) m_pUnk->Release();
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (!::IsEqualIID(riid, IID_IUnknown) && !::IsEqualIID(riid, IID_IEnumUnknown)) return E_NOINTERFACE;
    AddRef();
    *ppvObject = static_cast<IEnumUnknown*>(this);
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    LONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

// The one object is handed out once, whatever count is asked for.
STDMETHODIMP CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != nullptr) *pceltFetched = 0;
    if (m_iPos > 0 || m_pUnk == nullptr || celt == 0) return S_FALSE;
    if (rgelt == nullptr) return E_POINTER;
    ++m_iPos;
    m_pUnk->AddRef();
    rgelt[0] = m_pUnk;
    if (pceltFetched != nullptr) *pceltFetched = 1;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt)
{
    m_iPos += celt;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** ppenum)
{
    if (ppenum != nullptr) *ppenum = nullptr;
    return E_NOTIMPL;
}

} // namespace UpdUI
