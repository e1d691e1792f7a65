#pragma once
#include <windows.h>
#include <objidl.h>

namespace UpdUI {

// Enumerates the container's one object.
class CActiveXEnum final : public IEnumUnknown
{
public:
    explicit CActiveXEnum(IUnknown* pUnk);
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Next)(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHOD(Skip)(ULONG celt) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** ppenum) override;

private:
    ~CActiveXEnum();

    LONG m_dwRef;
    ULONG m_iPos;
    IUnknown* m_pUnk;
};

} // namespace UpdUI
