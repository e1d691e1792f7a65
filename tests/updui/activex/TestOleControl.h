#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <exdisp.h>

#include <string>
#include <vector>

#include "FakeWebBrowser.h"

// How the next test control behaves.
struct TTestControlSetup
{
    bool bWindowless = true;
    DWORD dwMiscStatus = 0;
    RECT rcHit = { 0, 0, 0, 0 };               // where QueryHitPoint reports a hit
    TFakeWebBrowserLog* pBrowserLog = nullptr; // non-null: the control also offers IWebBrowser2
};

// What the host did to the test controls.
struct TTestControlLog
{
    int nCreated = 0;
    int nAlive = 0;
    std::vector<std::string> calls;
    std::vector<UINT> messages;
    RECT rcObject = {};
    int nDraws = 0;
    IOleClientSite* pSite = nullptr; // the last client site, AddRef'ed, for the tests to call
    int Count(const char* pstrCall) const
    {
        int n = 0;
        for (const std::string& s : calls) n += s == pstrCall ? 1 : 0;
        return n;
    }
    void ReleaseSite()
    {
        if (pSite != nullptr) pSite->Release();
        pSite = nullptr;
    }
};

// A minimal in-process OLE control: windowless or windowed in-place activation,
// drawing, hit tests and window messages.
class CTestOleControl : public IOleControl, public IOleObject, public IOleInPlaceObjectWindowless, public IViewObjectEx
{
public:
    CTestOleControl(const TTestControlSetup& setup, TTestControlLog& log) : m_setup(setup), m_log(log)
    {
        m_log.nCreated++;
        m_log.nAlive++;
        if (setup.pBrowserLog != nullptr) m_pBrowser = FakeWebBrowserCreate(setup.pBrowserLog);
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
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleControl)) *ppv = static_cast<IOleControl*>(this);
        else if (IsEqualIID(riid, IID_IOleObject)) *ppv = static_cast<IOleObject*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceObject) ||
                 (IsEqualIID(riid, IID_IOleInPlaceObjectWindowless) && m_setup.bWindowless))
            *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) ||
                 IsEqualIID(riid, IID_IViewObjectEx))
            *ppv = static_cast<IViewObjectEx*>(this);
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
            pSite->AddRef();
        }
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
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override
    {
        m_log.calls.push_back("Close");
        return S_OK;
    }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pSite, LONG, HWND, LPCRECT) override
    {
        m_log.calls.push_back("DoVerb");
        if (iVerb != OLEIVERB_INPLACEACTIVATE || pSite == nullptr) return S_OK;
        IOleInPlaceSiteWindowless* pInPlace = nullptr;
        if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&pInPlace))))
            return E_FAIL;
        BOOL bNoRedraw = FALSE;
        bool bWindowless = m_setup.bWindowless && pInPlace->CanWindowlessActivate() == S_OK;
        HRESULT hr = pInPlace->OnInPlaceActivateEx(&bNoRedraw, bWindowless ? ACTIVATE_WINDOWLESS : 0);
        pInPlace->Release();
        return hr;
    }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID*) override { return E_NOTIMPL; }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return S_OK; }
    STDMETHOD(GetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* pdwStatus) override
    {
        *pdwStatus = m_setup.dwMiscStatus;
        return S_OK;
    }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObjectWindowless
    STDMETHOD(GetWindow)(HWND* phwnd) override
    {
        *phwnd = nullptr;
        return E_FAIL;
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
        *plResult = 0;
        return S_OK;
    }
    STDMETHOD(GetDropTarget)(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObjectEx
    STDMETHOD(Draw)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        m_log.nDraws++;
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
        *pHitResult = ::PtInRect(&m_setup.rcHit, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHOD(QueryHitRect)(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

private:
    ULONG m_nRef = 1;
    TTestControlSetup m_setup;
    TTestControlLog& m_log;
    IOleClientSite* m_pSite = nullptr;
    IWebBrowser2* m_pBrowser = nullptr;
};

// Hands out test controls for one class id, registered in this process only.
class CTestControlFactory : public IClassFactory
{
public:
    CTestControlFactory(TTestControlSetup& setup, TTestControlLog& log) : m_setup(setup), m_log(log) {}
    virtual ~CTestControlFactory() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (pOuter != nullptr) return CLASS_E_NOAGGREGATION;
        CTestOleControl* pControl = new CTestOleControl(m_setup, m_log);
        HRESULT hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }

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
    TTestControlSetup& m_setup;
    TTestControlLog& m_log;
    DWORD m_dwCookie = 0;
};
