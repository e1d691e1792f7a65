#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <exdisp.h>
#include <servprov.h>

#include <string>
#include <vector>

#include "FakeBrowser.h"

// How the next test control behaves.
struct TTestControlConfig
{
    bool bWindowless = true;
    DWORD dwMiscStatus = 0;
    RECT rcHit = { 0, 0, 0, 0 };     // where QueryHitPoint reports a hit
    HWND hwndShellBrowser = nullptr; // window of the shell-browser service, or none
    bool bFailCreate = false;
    TFakeBrowserLog* pBrowserLog = nullptr; // non-null: the control is also a web browser
    // Also answers for the site (IObjectWithSite), the active object, the shell
    // browser's window (when hwndShellBrowser is set), and for the windowless face
    // when activated with a window, as the controls the main library hosts do;
    // otherwise its window is asked in vain.
    bool bEveryFace = false;
};

// What the host did to the test controls.
struct TTestControlLog
{
    int nCreated = 0;
    int nAlive = 0;
    std::vector<std::string> calls;
    std::vector<UINT> messages;
    RECT rcObject = {};
    SIZEL szExtent = {};
    RECTL rcDraw = {};
    int nDraws = 0;
    int nAccelerators = 0;
    HRESULT hrActivate = E_FAIL;
    HWND hwndActivationParent = nullptr;
    IOleClientSite* pSite = nullptr; // the last client site, AddRef'ed, for the tests to call
    void ReleaseSite()
    {
        if (pSite != nullptr) pSite->Release();
        pSite = nullptr;
    }
    int Count(const char* pstrCall) const
    {
        int n = 0;
        for (const std::string& s : calls) n += s == pstrCall ? 1 : 0;
        return n;
    }
};

// A minimal in-process OLE control: windowless or windowed in-place activation,
// drawing, hit tests, window messages and (optionally) a web browser face.
class CTestOleControl : public IOleControl,
                        public IOleObject,
                        public IOleInPlaceObjectWindowless,
                        public IViewObjectEx,
                        public IObjectWithSite,
                        public IServiceProvider,
                        public IOleInPlaceActiveObject
{
public:
    CTestOleControl(const TTestControlConfig& config, TTestControlLog& log) : m_config(config), m_log(log)
    {
        m_log.nCreated++;
        m_log.nAlive++;
        if (config.pBrowserLog != nullptr) m_pBrowser = FakeBrowserCreate(config.pBrowserLog);
    }
    virtual ~CTestOleControl()
    {
        m_log.nAlive--;
        if (m_pBrowser != nullptr) m_pBrowser->Release();
        if (m_pSite != nullptr) m_pSite->Release();
    }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleControl))
            *ppv = static_cast<IOleControl*>(this);
        else if (IsEqualIID(riid, IID_IOleObject))
            *ppv = static_cast<IOleObject*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceObject) ||
                 (IsEqualIID(riid, IID_IOleInPlaceObjectWindowless) && (m_config.bWindowless || m_config.bEveryFace)))
            *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) ||
                 IsEqualIID(riid, IID_IViewObjectEx))
            *ppv = static_cast<IViewObjectEx*>(this);
        else if (m_config.bEveryFace && IsEqualIID(riid, IID_IObjectWithSite))
            *ppv = static_cast<IObjectWithSite*>(this);
        else if (m_config.bEveryFace && IsEqualIID(riid, IID_IServiceProvider) && m_config.hwndShellBrowser != nullptr)
            *ppv = static_cast<IServiceProvider*>(this);
        else if (m_config.bEveryFace && IsEqualIID(riid, IID_IOleInPlaceActiveObject))
            *ppv = static_cast<IOleInPlaceActiveObject*>(this);
        else if (IsEqualIID(riid, IID_IWebBrowser2) && m_pBrowser != nullptr)
            return m_pBrowser->QueryInterface(riid, ppv);
        if (*ppv == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_nRef; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG n = --m_nRef;
        if (n == 0) delete this;
        return n;
    }

    // IOleControl
    STDMETHOD(GetControlInfo)(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHOD(OnMnemonic)(MSG*) override { return E_NOTIMPL; }
    STDMETHOD(OnAmbientPropertyChange)(DISPID) override { return S_OK; }
    STDMETHOD(FreezeEvents)(BOOL) override { return S_OK; }

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* pSite) override
    {
        m_log.calls.push_back(pSite != nullptr ? "SetClientSite" : "SetClientSite(null)");
        if (pSite != nullptr) {
            pSite->AddRef();
            m_log.ReleaseSite();
            m_log.pSite = pSite;
        }
        if (pSite != nullptr) pSite->AddRef();
        if (m_pSite != nullptr) m_pSite->Release();
        m_pSite = pSite;
        return S_OK;
    }
    STDMETHOD(GetClientSite)(IOleClientSite** pp) override
    {
        *pp = m_pSite;
        if (m_pSite != nullptr) m_pSite->AddRef();
        return S_OK;
    }
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override
    {
        m_log.calls.push_back("SetHostNames");
        return S_OK;
    }
    STDMETHOD(Close)(DWORD) override
    {
        m_log.calls.push_back("Close");
        return S_OK;
    }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pSite, LONG, HWND hwndParent, LPCRECT) override
    {
        m_log.calls.push_back("DoVerb");
        if (iVerb != OLEIVERB_INPLACEACTIVATE || pSite == nullptr) return S_OK;
        IOleInPlaceSiteWindowless* pInPlace = nullptr;
        if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&pInPlace))))
            return E_FAIL;
        BOOL bNoRedraw = FALSE;
        bool bWindowless = m_config.bWindowless && pInPlace->CanWindowlessActivate() == S_OK;
        HRESULT hr = pInPlace->OnInPlaceActivateEx(&bNoRedraw, bWindowless ? ACTIVATE_WINDOWLESS : 0);
        if (SUCCEEDED(hr) && !bWindowless) pInPlace->GetWindow(&m_log.hwndActivationParent);
        if (bWindowless) m_log.hwndActivationParent = hwndParent;
        pInPlace->Release();
        m_log.hrActivate = hr;
        return hr;
    }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID*) override { return E_NOTIMPL; }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL* psizel) override
    {
        m_log.szExtent = *psizel;
        return S_OK;
    }
    STDMETHOD(GetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* pdwStatus) override
    {
        *pdwStatus = m_config.dwMiscStatus;
        return S_OK;
    }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject(Windowless): the window is the shell browser's.
    STDMETHOD(GetWindow)(HWND* phwnd) override
    {
        *phwnd = m_config.bEveryFace ? m_config.hwndShellBrowser : nullptr;
        return m_config.bEveryFace ? S_OK : E_FAIL;
    }
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return S_OK; }
    STDMETHOD(InPlaceDeactivate)() override { return S_OK; }
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT) override
    {
        m_log.rcObject = *lprcPosRect;
        return S_OK;
    }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    STDMETHOD(OnWindowMessage)(UINT msg, WPARAM, LPARAM, LRESULT* plResult) override
    {
        m_log.messages.push_back(msg);
        *plResult = 42;
        return S_OK;
    }
    STDMETHOD(GetDropTarget)(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObjectEx
    STDMETHOD(Draw)
    (DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL lprcBounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
     ULONG_PTR) override
    {
        m_log.nDraws++;
        if (lprcBounds != nullptr) m_log.rcDraw = *lprcBounds;
        return S_OK;
    }
    STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHOD(GetRect)(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHOD(GetViewStatus)(DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(QueryHitPoint)(DWORD, LPCRECT, POINT pt, LONG, DWORD* pHitResult) override
    {
        *pHitResult = ::PtInRect(&m_config.rcHit, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHOD(QueryHitRect)(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IObjectWithSite
    STDMETHOD(SetSite)(IUnknown* pUnkSite) override
    {
        m_log.calls.push_back(pUnkSite != nullptr ? "SetSite" : "SetSite(null)");
        return S_OK;
    }
    STDMETHOD(GetSite)(REFIID, void**) override { return E_NOTIMPL; }

    // IServiceProvider: the shell-browser service is this object's window face.
    STDMETHOD(QueryService)(REFGUID, REFIID, void** ppv) override
    {
        *ppv = static_cast<IOleWindow*>(static_cast<IOleInPlaceObjectWindowless*>(this));
        AddRef();
        return S_OK;
    }

    // IOleInPlaceActiveObject
    STDMETHOD(TranslateAccelerator)(LPMSG) override
    {
        m_log.nAccelerators++;
        return S_OK;
    }
    STDMETHOD(OnFrameWindowActivate)(BOOL) override { return S_OK; }
    STDMETHOD(OnDocWindowActivate)(BOOL) override { return S_OK; }
    STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }

private:
    ULONG m_nRef = 1;
    TTestControlConfig m_config;
    TTestControlLog& m_log;
    IOleClientSite* m_pSite = nullptr;
    IWebBrowser2* m_pBrowser = nullptr;
};

// Hands out test controls for one class id, registered in this process only.
class CTestControlFactory : public IClassFactory
{
public:
    CTestControlFactory(TTestControlConfig& config, TTestControlLog& log) : m_config(config), m_log(log) { }
    virtual ~CTestControlFactory() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (pOuter != nullptr) return CLASS_E_NOAGGREGATION;
        if (m_config.bFailCreate) return E_OUTOFMEMORY;
        CTestOleControl* pControl = new CTestOleControl(m_config, m_log);
        HRESULT hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }

    // Registers for clsid; the cookie is kept for Revoke.
    bool Register(REFCLSID clsid)
    {
        return SUCCEEDED(::CoRegisterClassObject(clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_dwCookie));
    }
    void Revoke()
    {
        if (m_dwCookie != 0) ::CoRevokeClassObject(m_dwCookie);
        m_dwCookie = 0;
    }

private:
    TTestControlConfig& m_config;
    TTestControlLog& m_log;
    DWORD m_dwCookie = 0;
};
