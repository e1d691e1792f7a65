// The browser and its document are written against the C vtables so that only the
// few methods the page bridge calls need bodies; the rest stay null and are never
// called.
#include "FakeBrowser.h"

#include <mshtml.h>
#include <servprov.h>
#include <string.h>

typedef struct TFakeScript
{
    IDispatch iface;
    LONG ref;
    TFakeBrowserLog* log;
} TFakeScript;

typedef struct TFakeDocument
{
    IHTMLDocument2 iface;
    LONG ref;
    TFakeBrowserLog* log;
} TFakeDocument;

typedef struct TFakeBrowser
{
    IWebBrowser2 iface;
    LONG ref;
    TFakeBrowserLog* log;
} TFakeBrowser;

static const DISPID kRefreshId = 77;

// --- script object -----------------------------------------------------------

static HRESULT STDMETHODCALLTYPE Script_QueryInterface(IDispatch* This, REFIID riid, void** ppv)
{
    if (!IsEqualIID(riid, &IID_IUnknown) && !IsEqualIID(riid, &IID_IDispatch)) {
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    *ppv = This;
    This->lpVtbl->AddRef(This);
    return S_OK;
}

static ULONG STDMETHODCALLTYPE Script_AddRef(IDispatch* This)
{
    return (ULONG)InterlockedIncrement(&((TFakeScript*)This)->ref);
}

static ULONG STDMETHODCALLTYPE Script_Release(IDispatch* This)
{
    LONG ref = InterlockedDecrement(&((TFakeScript*)This)->ref);
    if (ref == 0) HeapFree(GetProcessHeap(), 0, This);
    return (ULONG)ref;
}

static HRESULT STDMETHODCALLTYPE Script_GetIDsOfNames(IDispatch* This, REFIID riid, LPOLESTR* names, UINT count,
                                                      LCID lcid, DISPID* ids)
{
    (void)This;
    (void)riid;
    (void)lcid;
    if (count != 1 || wcscmp(names[0], L"refresh") != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = kRefreshId;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Script_Invoke(IDispatch* This, DISPID id, REFIID riid, LCID lcid, WORD flags,
                                               DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* argErr)
{
    TFakeScript* script = (TFakeScript*)This;
    (void)riid;
    (void)lcid;
    (void)params;
    (void)result;
    (void)excep;
    (void)argErr;
    if (id != kRefreshId || (flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    script->log->nScriptCalls++;
    lstrcpynW(script->log->szLastScriptName, L"refresh", 64);
    return S_OK;
}

static IDispatchVtbl g_scriptVtbl = {
    .QueryInterface = Script_QueryInterface,
    .AddRef = Script_AddRef,
    .Release = Script_Release,
    .GetIDsOfNames = Script_GetIDsOfNames,
    .Invoke = Script_Invoke,
};

// --- document ------------------------------------------------------------------

static HRESULT STDMETHODCALLTYPE Doc_QueryInterface(IHTMLDocument2* This, REFIID riid, void** ppv)
{
    if (!IsEqualIID(riid, &IID_IUnknown) && !IsEqualIID(riid, &IID_IDispatch) &&
        !IsEqualIID(riid, &IID_IHTMLDocument2)) {
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    *ppv = This;
    This->lpVtbl->AddRef(This);
    return S_OK;
}

static ULONG STDMETHODCALLTYPE Doc_AddRef(IHTMLDocument2* This)
{
    return (ULONG)InterlockedIncrement(&((TFakeDocument*)This)->ref);
}

static ULONG STDMETHODCALLTYPE Doc_Release(IHTMLDocument2* This)
{
    LONG ref = InterlockedDecrement(&((TFakeDocument*)This)->ref);
    if (ref == 0) HeapFree(GetProcessHeap(), 0, This);
    return (ULONG)ref;
}

static HRESULT STDMETHODCALLTYPE Doc_get_Script(IHTMLDocument2* This, IDispatch** p)
{
    TFakeScript* script = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(TFakeScript));
    script->iface.lpVtbl = &g_scriptVtbl;
    script->ref = 1;
    script->log = ((TFakeDocument*)This)->log;
    *p = &script->iface;
    return S_OK;
}

static IHTMLDocument2Vtbl g_documentVtbl = {
    .QueryInterface = Doc_QueryInterface,
    .AddRef = Doc_AddRef,
    .Release = Doc_Release,
    .get_Script = Doc_get_Script,
};

// --- browser -------------------------------------------------------------------

static HRESULT STDMETHODCALLTYPE Browser_QueryInterface(IWebBrowser2* This, REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, &IID_IServiceProvider)) ((TFakeBrowser*)This)->log->nServiceQueries++;
    if (!IsEqualIID(riid, &IID_IUnknown) && !IsEqualIID(riid, &IID_IDispatch) && !IsEqualIID(riid, &IID_IWebBrowser2) &&
        !IsEqualIID(riid, &IID_IWebBrowserApp) && !IsEqualIID(riid, &IID_IWebBrowser)) {
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    *ppv = This;
    This->lpVtbl->AddRef(This);
    return S_OK;
}

static ULONG STDMETHODCALLTYPE Browser_AddRef(IWebBrowser2* This)
{
    return (ULONG)InterlockedIncrement(&((TFakeBrowser*)This)->ref);
}

static ULONG STDMETHODCALLTYPE Browser_Release(IWebBrowser2* This)
{
    LONG ref = InterlockedDecrement(&((TFakeBrowser*)This)->ref);
    if (ref == 0) HeapFree(GetProcessHeap(), 0, This);
    return (ULONG)ref;
}

static HRESULT STDMETHODCALLTYPE Browser_Navigate(IWebBrowser2* This, BSTR url, VARIANT* flags, VARIANT* frame,
                                                  VARIANT* postData, VARIANT* headers)
{
    TFakeBrowserLog* log = ((TFakeBrowser*)This)->log;
    (void)flags;
    (void)frame;
    (void)postData;
    (void)headers;
    log->nNavigations++;
    lstrcpynW(log->szLastUrl, url != NULL ? url : L"", 1024);
    return S_OK;
}

// Only the address: the host never passes the other arguments.
static HRESULT STDMETHODCALLTYPE Browser_Navigate2(IWebBrowser2* This, VARIANT* url, VARIANT* flags, VARIANT* target,
                                                   VARIANT* postData, VARIANT* headers)
{
    TFakeBrowserLog* log = ((TFakeBrowser*)This)->log;
    if (flags != NULL || target != NULL || postData != NULL || headers != NULL) return E_INVALIDARG;
    if (url == NULL || url->vt != VT_BSTR || url->bstrVal == NULL) return E_INVALIDARG;
    log->nNavigations++;
    lstrcpynW(log->szLastUrl, url->bstrVal, 1024);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_get_Document(IWebBrowser2* This, IDispatch** ppDisp)
{
    TFakeBrowserLog* log = ((TFakeBrowser*)This)->log;
    *ppDisp = NULL;
    if (!log->bHasDocument) return S_FALSE;
    TFakeDocument* doc = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(TFakeDocument));
    doc->iface.lpVtbl = &g_documentVtbl;
    doc->ref = 1;
    doc->log = log;
    *ppDisp = (IDispatch*)&doc->iface;
    return S_OK;
}

static IWebBrowser2Vtbl g_browserVtbl = {
    .QueryInterface = Browser_QueryInterface,
    .AddRef = Browser_AddRef,
    .Release = Browser_Release,
    .Navigate = Browser_Navigate,
    .Navigate2 = Browser_Navigate2,
    .get_Document = Browser_get_Document,
};

IWebBrowser2* FakeBrowserCreate(TFakeBrowserLog* pLog)
{
    TFakeBrowser* browser = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(TFakeBrowser));
    browser->iface.lpVtbl = &g_browserVtbl;
    browser->ref = 1;
    browser->log = pLog;
    return &browser->iface;
}
