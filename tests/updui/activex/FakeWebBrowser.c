// Written against the C vtable so that only the methods the host calls need bodies.
#include "FakeWebBrowser.h"

#include <servprov.h>

typedef struct TFakeWebBrowser
{
    IWebBrowser2 iface;
    LONG ref;
    TFakeWebBrowserLog* log;
} TFakeWebBrowser;

static HRESULT STDMETHODCALLTYPE Browser_QueryInterface(IWebBrowser2* This, REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, &IID_IServiceProvider)) ((TFakeWebBrowser*)This)->log->nServiceQueries++;
    if (!IsEqualIID(riid, &IID_IUnknown) && !IsEqualIID(riid, &IID_IDispatch) &&
        !IsEqualIID(riid, &IID_IWebBrowser2) && !IsEqualIID(riid, &IID_IWebBrowserApp) &&
        !IsEqualIID(riid, &IID_IWebBrowser)) {
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    *ppv = This;
    This->lpVtbl->AddRef(This);
    return S_OK;
}

static ULONG STDMETHODCALLTYPE Browser_AddRef(IWebBrowser2* This)
{
    return (ULONG)InterlockedIncrement(&((TFakeWebBrowser*)This)->ref);
}

static ULONG STDMETHODCALLTYPE Browser_Release(IWebBrowser2* This)
{
    LONG ref = InterlockedDecrement(&((TFakeWebBrowser*)This)->ref);
    if (ref == 0) HeapFree(GetProcessHeap(), 0, This);
    return (ULONG)ref;
}

static HRESULT STDMETHODCALLTYPE Browser_Navigate2(IWebBrowser2* This, VARIANT* url, VARIANT* flags,
                                                   VARIANT* target, VARIANT* postData, VARIANT* headers)
{
    TFakeWebBrowser* browser = (TFakeWebBrowser*)This;
    if (flags != NULL || target != NULL || postData != NULL || headers != NULL) return E_INVALIDARG;
    if (url == NULL || url->vt != VT_BSTR || url->bstrVal == NULL) return E_INVALIDARG;
    browser->log->nNavigations++;
    lstrcpynW(browser->log->szLastUrl, url->bstrVal, 512);
    return S_OK;
}

static IWebBrowser2Vtbl g_browserVtbl;

IWebBrowser2* FakeWebBrowserCreate(TFakeWebBrowserLog* pLog)
{
    TFakeWebBrowser* browser = (TFakeWebBrowser*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(TFakeWebBrowser));
    if (browser == NULL) return NULL;
    g_browserVtbl.QueryInterface = Browser_QueryInterface;
    g_browserVtbl.AddRef = Browser_AddRef;
    g_browserVtbl.Release = Browser_Release;
    g_browserVtbl.Navigate2 = Browser_Navigate2;
    browser->iface.lpVtbl = &g_browserVtbl;
    browser->ref = 1;
    browser->log = pLog;
    return &browser->iface;
}
