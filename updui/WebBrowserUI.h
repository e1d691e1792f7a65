#pragma once
#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <downloadmgr.h>

#include "ActiveXUI.h"
#include "StringUI.h"

namespace UpdUI {

// Lets a hosted browser offer a key to the control before its own handling.
class ITranslateAccelerator
{
public:
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

// What the application may learn from the browser: its events (with the parameters
// as the browser sent them, last argument first) and the document-host and download
// calls. Every default answers S_OK, which is also the answer without a handler.
class CWebBrowserEventHandlerUI
{
public:
    virtual ~CWebBrowserEventHandlerUI() = default;

    virtual void OnBrowserEvent(DISPID /*dispid*/, DISPPARAMS* /*pParams*/) { }
    virtual HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO*) { return S_OK; }
    virtual HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*, IOleInPlaceUIWindow*)
    {
        return S_OK;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL) { return S_OK; }
    virtual HRESULT OnDocWindowActivate(BOOL) { return S_OK; }
    virtual HRESULT OnFrameWindowActivate(BOOL) { return S_OK; }
    virtual HRESULT ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
    virtual HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_OK; }
    virtual HRESULT GetOptionKeyPath(LPOLESTR*, DWORD) { return S_OK; }
    virtual HRESULT GetDropTarget(IDropTarget*, IDropTarget**) { return S_OK; }
    virtual HRESULT GetExternal(IDispatch**) { return S_OK; }
    virtual HRESULT TranslateUrl(DWORD, OLECHAR*, OLECHAR**) { return S_OK; }
    virtual HRESULT FilterDataObject(IDataObject*, IDataObject**) { return S_OK; }
    virtual HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT) { return S_OK; }
};

// The system web browser hosted as an ActiveX control. Once created it serves as the
// browser's document host, download manager and event sink, and navigates to its
// "url" when "autonavi" asks for it. The control tree owns it: Release never frees it.
class CWebBrowserUI : public CActiveXUI,
                      public IDispatch,
                      public IDocHostUIHandler,
                      public IDownloadManager,
                      public ITranslateAccelerator
{
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    static const CLSID& WebBrowserClsid();

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void ReleaseHostedControl() override;
    bool CreateHostedControl() override;

    void NavigateUrl(LPCWSTR pstrUrl);
    void SetHomePage(LPCWSTR pstrUrl);
    const CStringUI& GetHomePage() const;
    void SetAutoNavigation(bool bAuto = true);
    bool IsAutoNavigation() const;
    void SetEventHandler(CWebBrowserEventHandlerUI* pHandler);
    // The browser's automation face (no reference added), or null before creation.
    IWebBrowser2* GetWebBrowser2() const;

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDispatch: the browser's events.
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)
    (DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget, IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)
    (DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
     IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dw) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

    // IDownloadManager
    STDMETHOD(Download)
    (IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo, LPCOLESTR pszHeaders,
     LPCOLESTR pszRedir, UINT uiCP) override;

    // ITranslateAccelerator
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) override;

private:
    IWebBrowser2* m_pWebBrowser2;
    LONG m_dwRef;
    CStringUI m_sHomePage;
    bool m_bAutoNavi;
    CWebBrowserEventHandlerUI* m_pEventHandler;
};

} // namespace UpdUI
