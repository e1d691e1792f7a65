#pragma once
#include <windows.h>
#include <oleauto.h>

#include <cwchar>
#include <utility>
#include <vector>

// A page's array: "length" and the method "IndexOf" giving element i.
class CPageArray : public IDispatch
{
public:
    explicit CPageArray(std::vector<VARIANT> items) : m_items(std::move(items)) { }
    ~CPageArray()
    {
        for (VARIANT& v : m_items) ::VariantClear(&v);
    }
    static VARIANT Text(LPCWSTR pstr)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = ::SysAllocString(pstr);
        return v;
    }
    static VARIANT Int(LONG n)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = n;
        return v;
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
        *ppv = this;
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        if (wcscmp(names[0], L"length") == 0)
            ids[0] = 1;
        else if (wcscmp(names[0], L"IndexOf") == 0)
            ids[0] = 2;
        else
            return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (id == 1) {
            *result = Int(static_cast<LONG>(m_items.size()));
            return S_OK;
        }
        LONG i = params->rgvarg[0].lVal;
        if (i < 0 || i >= static_cast<LONG>(m_items.size())) return DISP_E_BADINDEX;
        return ::VariantCopy(result, &m_items[i]);
    }

private:
    std::vector<VARIANT> m_items;
};

// Arguments as the page passes them (first to last), stored the way IDispatch wants.
class CArgs
{
public:
    CArgs& Int(LONG n) { return Push(CPageArray::Int(n)); }
    CArgs& Text(LPCWSTR pstr) { return Push(CPageArray::Text(pstr)); }
    CArgs& Bool(bool b)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_BOOL;
        v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
        return Push(v);
    }
    CArgs& Object(IDispatch* p)
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_DISPATCH;
        v.pdispVal = p;
        return Push(v);
    }
    DISPPARAMS* Params()
    {
        m_reversed.assign(m_args.rbegin(), m_args.rend());
        m_params = { m_reversed.data(), nullptr, static_cast<UINT>(m_reversed.size()), 0 };
        return &m_params;
    }

private:
    CArgs& Push(VARIANT v)
    {
        m_args.push_back(v);
        return *this;
    }
    std::vector<VARIANT> m_args;
    std::vector<VARIANT> m_reversed;
    DISPPARAMS m_params = {};
};

// Calls a method of the page bridge the way a page does.
inline HRESULT Call(IDispatch* pDisp, DISPID id, CArgs& args, VARIANT* pResult = nullptr)
{
    return pDisp->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, args.Params(), pResult, nullptr, nullptr);
}
