#include "PageBridgeUI.h"

#include <cstring>
#include <exdisp.h>
#include <mshtml.h>
#include <new>
#include <vector>

#include "ActiveXUI.h"

namespace {

struct TBridgeNameUI
{
    const char* pstrWord;
    DISPID id;
};

// Looked up in this order; a page name matches the first word it begins with.
const TBridgeNameUI kBridgeNames[] = {
    { "listAdShow", CPageBridgeUI::DispListAdShow },
    { "listAdClose", CPageBridgeUI::DispListAdClose },
    { "SendMessage", CPageBridgeUI::DispSendMessage },
    { "SendExe", CPageBridgeUI::DispSendExe },
    { "reload", CPageBridgeUI::DispReload },
    { "SuperPowerPlay", CPageBridgeUI::DispSuperPowerPlay },
    { "isOk", CPageBridgeUI::DispIsOk },
    { "queryStatus", CPageBridgeUI::DispQueryStatus },
    { "getClientVersion", CPageBridgeUI::DispGetClientVersion },
    { "NoticeFunc", CPageBridgeUI::DispNoticeFunc },
};

const int kNameBufferSize = 128;
const WPARAM kListAdShown = 204;
const WPARAM kListAdClosed = 205;
const wchar_t kClientVersion[] = L"4.1.10.10";

// The page passes arguments first to last; the parameter block holds them last to first.
const VARIANT& Arg(const DISPPARAMS* pParams, UINT iPageIndex)
{
    const VARIANT& v = pParams->rgvarg[pParams->cArgs - 1 - iPageIndex];
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal != nullptr) return *v.pvarVal;
    return v;
}

bool IsInt(const VARIANT& v)
{
    return v.vt == VT_I4 || v.vt == VT_INT;
}

bool IsObject(const VARIANT& v)
{
    return v.vt == VT_DISPATCH && v.pdispVal != nullptr;
}

LPCWSTR TextOf(const VARIANT& v)
{
    return v.bstrVal != nullptr ? v.bstrVal : L"";
}

HRESULT DispIdOf(IDispatch* pObject, LPCWSTR pstrName, DISPID* pId)
{
    LPOLESTR pName = const_cast<LPOLESTR>(pstrName);
    return pObject->GetIDsOfNames(IID_NULL, &pName, 1, LOCALE_USER_DEFAULT, pId);
}

HRESULT ReadArrayLength(IDispatch* pItems, int* pnLength)
{
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = DispIdOf(pItems, L"length", &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS noArgs = { nullptr, nullptr, 0, 0 };
    VARIANT result;
    ::VariantInit(&result);
    hr = pItems->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, &result, nullptr, nullptr);
    if (FAILED(hr)) return hr;
    bool bInt = IsInt(result);
    *pnLength = bInt ? result.lVal : 0;
    ::VariantClear(&result);
    return bInt ? S_OK : DISP_E_TYPEMISMATCH;
}

// The page sets how many strings come: one that cannot be kept fails the call.
bool KeepText(std::vector<CStringUI>& aTexts, LPCWSTR pstrText)
{
    try {
        aTexts.push_back(CStringUI(pstrText));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Elements are copied one by one, so a bogus length fails at the first missing
// element instead of reserving room for it.
HRESULT ReadArrayStrings(IDispatch* pItems, int nLength, std::vector<CStringUI>& aTexts)
{
    if (nLength <= 0) return S_OK;
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = DispIdOf(pItems, L"IndexOf", &id);
    if (FAILED(hr)) return hr;
    for (int i = 0; i < nLength; i++) {
        VARIANT arg;
        ::VariantInit(&arg);
        arg.vt = VT_I4;
        arg.lVal = i;
        DISPPARAMS args = { &arg, nullptr, 1, 0 };
        VARIANT result;
        ::VariantInit(&result);
        hr = pItems->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &args, &result, nullptr, nullptr);
        if (FAILED(hr)) return hr;
        bool bString = result.vt == VT_BSTR;
        bool bKept = bString && KeepText(aTexts, TextOf(result));
        ::VariantClear(&result);
        if (!bString) return DISP_E_TYPEMISMATCH;
        if (!bKept) return E_OUTOFMEMORY;
    }
    return S_OK;
}

// A null entry closes the array, so a receiver that walks it finds its end.
HRESULT PointersTo(const std::vector<CStringUI>& aTexts, std::vector<LPCWSTR>& aPointers)
{
    try {
        aPointers.reserve(aTexts.size() + 1);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (const CStringUI& s : aTexts) aPointers.push_back(s.GetData());
    aPointers.push_back(nullptr);
    return S_OK;
}

// A page chooses the message number, and the strings go out as lParam: below
// WM_USER are the system's messages, whose lParam may be a buffer the receiver
// fills (WM_GETTEXT writes wParam characters into it). Only the range a program
// defines for itself is sent; numbers past 0xFFFF are the system's again.
bool IsPageMessage(const VARIANT& vMessage)
{
    return vMessage.lVal >= static_cast<LONG>(WM_USER) && vMessage.lVal <= 0xFFFF;
}

bool IsExeName(LPCWSTR pstrName)
{
    return pstrName[0] == L'\0' || wcscmp(pstrName, L"joyvale") == 0 || wcscmp(pstrName, L"lumoravid") == 0;
}

IUnknown* IdentityOf(IUnknown* pObject)
{
    IUnknown* pIdentity = nullptr;
    if (pObject == nullptr || FAILED(pObject->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pIdentity))))
        return nullptr;
    return pIdentity;
}

} // namespace

CStringUI CPageBridgeUI::m_sLastFailedUrl;

CPageBridgeUI::CPageBridgeUI(CActiveXUI* pOwner) : m_pOwner(pOwner) { }

CStringUI CPageBridgeUI::GetLastFailedUrl()
{
    return m_sLastFailedUrl;
}

void CPageBridgeUI::SetLastFailedUrl(LPCWSTR pstrUrl)
{
    m_sLastFailedUrl = pstrUrl != nullptr ? pstrUrl : L"";
}

HRESULT CPageBridgeUI::GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, DISPID* rgDispId)
{
    if (cNames != 1 || rgszNames == nullptr || rgszNames[0] == nullptr) return E_INVALIDARG;
    if (rgDispId == nullptr) return E_POINTER;
    char szName[kNameBufferSize] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, rgszNames[0], -1, szName, kNameBufferSize, nullptr, nullptr) == 0)
        szName[0] = '\0';
    for (const TBridgeNameUI& entry : kBridgeNames) {
        if (strncmp(szName, entry.pstrWord, strlen(entry.pstrWord)) == 0) {
            rgDispId[0] = entry.id;
            return S_OK;
        }
    }
    return static_cast<HRESULT>(0xFFFFFFFF);
}

HRESULT CPageBridgeUI::Invoke(DISPID dispIdMember, DISPPARAMS* pDispParams, VARIANT* pVarResult)
{
    if (pDispParams == nullptr) return E_INVALIDARG;
    if (pDispParams->cArgs > 0 && pDispParams->rgvarg == nullptr) return E_INVALIDARG;
    switch (dispIdMember) {
    case DispSendMessage: return SendStringPair(pDispParams, false);
    case DispSendExe: return SendExe(pDispParams);
    case DispReload: return Reload();
    case DispListAdShow: Post(UIMSG_PAGE_NOTIFY, kListAdShown, 0); return S_OK;
    case DispListAdClose: Post(UIMSG_PAGE_NOTIFY, kListAdClosed, 0); return S_OK;
    case DispSuperPowerPlay: return SendStringPair(pDispParams, true);
    case DispIsOk: Send(UIMSG_PAGE_ISOK, 0, 0); return S_OK;
    case DispQueryStatus: Send(UIMSG_PAGE_QUERY, 0, 0); return S_OK;
    case DispGetClientVersion:
        if (pVarResult != nullptr) {
            ::VariantInit(pVarResult);
            pVarResult->vt = VT_BSTR;
            pVarResult->bstrVal = ::SysAllocString(kClientVersion);
        }
        return S_OK;
    case DispNoticeFunc: return NoticeFunc(pDispParams);
    case DispNavigateComplete2: return S_OK;
    case DispNavigateError: return OnNavigateError(pDispParams);
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

// SendMessage(message, value, [a, b]) and SuperPowerPlay(message, flag, [a, b]).
HRESULT CPageBridgeUI::SendStringPair(DISPPARAMS* pParams, bool bFlagIsBool)
{
    if (pParams->cArgs != 3) return DISP_E_BADPARAMCOUNT;
    if (pParams->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const VARIANT& vMessage = Arg(pParams, 0);
    const VARIANT& vValue = Arg(pParams, 1);
    const VARIANT& vItems = Arg(pParams, 2);
    bool bValueOk = bFlagIsBool ? vValue.vt == VT_BOOL : IsInt(vValue);
    if (!IsInt(vMessage) || !bValueOk || !IsObject(vItems)) return DISP_E_TYPEMISMATCH;
    if (!IsPageMessage(vMessage)) return E_INVALIDARG;
    int nLength = 0;
    HRESULT hr = ReadArrayLength(vItems.pdispVal, &nLength);
    if (FAILED(hr)) return hr;
    if (nLength != 2) return DISP_E_TYPEMISMATCH;
    std::vector<CStringUI> aTexts;
    hr = ReadArrayStrings(vItems.pdispVal, nLength, aTexts);
    if (FAILED(hr)) return hr;
    std::vector<LPCWSTR> aPointers;
    hr = PointersTo(aTexts, aPointers);
    if (FAILED(hr)) return hr;
    WPARAM wValue = bFlagIsBool ? (vValue.boolVal != VARIANT_FALSE ? 1 : 0) : static_cast<WPARAM>(vValue.lVal);
    Send(static_cast<UINT>(vMessage.lVal), wValue, reinterpret_cast<LPARAM>(aPointers.data()));
    return S_OK;
}

// SendExe(message, name, items): the client's own names send the items; any other
// name is a function of the page's script.
HRESULT CPageBridgeUI::SendExe(DISPPARAMS* pParams)
{
    if (pParams->cArgs != 3) return DISP_E_BADPARAMCOUNT;
    const VARIANT& vMessage = Arg(pParams, 0);
    const VARIANT& vName = Arg(pParams, 1);
    const VARIANT& vItems = Arg(pParams, 2);
    if (!IsInt(vMessage) || vName.vt != VT_BSTR || !IsObject(vItems)) return DISP_E_TYPEMISMATCH;
    LPCWSTR pstrName = TextOf(vName);
    if (!IsExeName(pstrName)) return CallPageFunction(pstrName);
    if (!IsPageMessage(vMessage)) return E_INVALIDARG;
    int nLength = 0;
    HRESULT hr = ReadArrayLength(vItems.pdispVal, &nLength);
    if (FAILED(hr)) return hr;
    if (nLength < 1) return DISP_E_EXCEPTION;
    std::vector<CStringUI> aTexts;
    hr = ReadArrayStrings(vItems.pdispVal, nLength, aTexts);
    if (FAILED(hr)) return hr;
    std::vector<LPCWSTR> aPointers;
    hr = PointersTo(aTexts, aPointers);
    if (FAILED(hr)) return hr;
    Send(static_cast<UINT>(vMessage.lVal), static_cast<WPARAM>(aTexts.size()),
         reinterpret_cast<LPARAM>(aPointers.data()));
    return S_OK;
}

HRESULT CPageBridgeUI::CallPageFunction(LPCWSTR pstrName)
{
    IWebBrowser2* pBrowser = nullptr;
    if (FAILED(m_pOwner->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser))) || pBrowser == nullptr)
        return S_FALSE;
    IDispatch* pDocDisp = nullptr;
    pBrowser->get_Document(&pDocDisp);
    pBrowser->Release();
    if (pDocDisp == nullptr) return S_FALSE;
    IHTMLDocument2* pDocument = nullptr;
    pDocDisp->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&pDocument));
    pDocDisp->Release();
    if (pDocument == nullptr) return S_FALSE;
    IDispatch* pScript = nullptr;
    pDocument->get_Script(&pScript);
    pDocument->Release();
    if (pScript == nullptr) return S_FALSE;
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = DispIdOf(pScript, pstrName, &id);
    if (SUCCEEDED(hr)) {
        DISPPARAMS noArgs = { nullptr, nullptr, 0, 0 };
        VARIANT result;
        ::VariantInit(&result);
        pScript->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArgs, &result, nullptr, nullptr);
        ::VariantClear(&result);
    }
    pScript->Release();
    return SUCCEEDED(hr) ? S_OK : S_FALSE;
}

// Only the home page's control retries the page that failed last.
HRESULT CPageBridgeUI::Reload()
{
    if (m_pOwner->GetName().Compare(L"bhome")) NavigateOwnBrowser(m_sLastFailedUrl.GetData());
    return S_OK;
}

HRESULT CPageBridgeUI::NoticeFunc(DISPPARAMS* pParams)
{
    if (pParams->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    if (pParams->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const VARIANT& vFirst = Arg(pParams, 0);
    const VARIANT& vSecond = Arg(pParams, 1);
    if (vFirst.vt != VT_BSTR || vSecond.vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
    Send(UIMSG_PAGE_NOTICE, reinterpret_cast<WPARAM>(TextOf(vFirst)), reinterpret_cast<LPARAM>(TextOf(vSecond)));
    return S_OK;
}

// NavigateError(browser, address, frame, status, cancel): every failed address is
// remembered; a failed page of this control's own browser is replaced by the
// executable's error page.
HRESULT CPageBridgeUI::OnNavigateError(DISPPARAMS* pParams)
{
    if (pParams->cArgs < 5) return DISP_E_BADPARAMCOUNT;
    const VARIANT& vBrowser = pParams->rgvarg[pParams->cArgs - 1];
    const VARIANT& vUrl = Arg(pParams, 1);
    SetLastFailedUrl(vUrl.vt == VT_BSTR ? TextOf(vUrl) : L"");
    IDispatch* pDisp = nullptr;
    if (vBrowser.vt == VT_DISPATCH)
        pDisp = vBrowser.pdispVal;
    else if (vBrowser.vt == (VT_DISPATCH | VT_BYREF) && vBrowser.ppdispVal != nullptr)
        pDisp = *vBrowser.ppdispVal;
    if (!IsOwnBrowser(pDisp)) return S_OK;
    wchar_t szModule[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CStringUI sErrorUrl(L"res://");
    sErrorUrl += szModule;
    CStringUI sName = m_pOwner->GetName();
    if (sName.Compare(L"bhome"))
        sErrorUrl += L"/HTML_ERR";
    else if (sName.Compare(L"bApply"))
        sErrorUrl += L"/HTML_APPLYERR";
    NavigateOwnBrowser(sErrorUrl.GetData());
    return S_OK;
}

bool CPageBridgeUI::IsOwnBrowser(IDispatch* pDisp)
{
    IWebBrowser2* pBrowser = nullptr;
    if (pDisp == nullptr || FAILED(m_pOwner->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser))) ||
        pBrowser == nullptr)
        return false;
    IUnknown* pEventIdentity = IdentityOf(pDisp);
    IUnknown* pOwnIdentity = IdentityOf(pBrowser);
    pBrowser->Release();
    bool bSame = pEventIdentity != nullptr && pEventIdentity == pOwnIdentity;
    if (pEventIdentity != nullptr) pEventIdentity->Release();
    if (pOwnIdentity != nullptr) pOwnIdentity->Release();
    return bSame;
}

void CPageBridgeUI::NavigateOwnBrowser(LPCWSTR pstrUrl)
{
    IWebBrowser2* pBrowser = nullptr;
    if (FAILED(m_pOwner->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser))) || pBrowser == nullptr)
        return;
    BSTR bstrUrl = ::SysAllocString(pstrUrl);
    VARIANT vEmpty;
    ::VariantInit(&vEmpty);
    pBrowser->Navigate(bstrUrl, &vEmpty, &vEmpty, &vEmpty, &vEmpty);
    ::SysFreeString(bstrUrl);
    pBrowser->Release();
}

LRESULT CPageBridgeUI::Send(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_pOwner->GetManagerWindow();
    return hWnd != nullptr ? ::SendMessageW(hWnd, uMsg, wParam, lParam) : 0;
}

bool CPageBridgeUI::Post(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_pOwner->GetManagerWindow();
    return hWnd != nullptr && ::PostMessageW(hWnd, uMsg, wParam, lParam) != FALSE;
}
