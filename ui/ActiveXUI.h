#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <mshtmhst.h>

#include "ControlUI.h"

class CActiveXCtrl;

// Hosts one OLE control in a UI-library window: windowless controls draw into the
// manager's window and get its mouse and key messages through a message filter,
// windowed ones live in an "ActiveXWnd" child. With the system web browser as the
// hosted class the site also serves the page bridge (see CPageBridgeUI).
//
// The IDispatch and IDocHostUIHandler faces of this class are handed out only for
// derived classes (the site asks for them when the control's class is not
// "ActiveXUI"); here they answer nothing.
class CActiveXUI : public CControlUI, public IMessageFilterUI, public IDispatch, public IDocHostUIHandler
{
public:
    CActiveXUI();
    ~CActiveXUI() override;

    static const CLSID& WebBrowserClsid();

    LPCWSTR GetControlClass() const override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    virtual bool CreateHostedControl();

    bool SetClsidText(LPCWSTR pstrClsid, bool bDelayCreate);
    bool SetClsid(const CLSID& clsid, bool bDelayCreate);
    const CLSID& GetClsid() const;
    bool IsWebBrowser() const;
    HRESULT GetControl(REFIID iid, LPVOID* ppRet);
    void ReleaseHostedControl();

    HWND GetHostWindow() const;
    void SetHostWindow(HWND hWnd);
    // The window the control's manager paints, or null without a manager.
    HWND GetManagerWindow() const;

    // The manager lists this control is on. It takes itself off them when it goes,
    // whether or not it still has that manager: the builder drops controls before
    // they get one, and a built tree can be deleted without ever being attached.
    void JoinHostedBrowsers(CWindowManagerUI* pManager);
    void LeaveHostedBrowsers();
    void JoinMessageFilters();
    void LeaveMessageFilters();
    // Called by a manager that goes first.
    void ForgetManager(CWindowManagerUI* pManager);

    // Lets the hosted browser translate an accelerator aimed at its document window.
    bool TranslateHostedAccelerator(MSG* pMsg);

    // IMessageFilterUI: feeds a windowless hosted control.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // IUnknown, IDispatch and IDocHostUIHandler faces (see the class comment).
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
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

protected:
    void AdviseBrowserEvents();
    void PassExtentAndRects();
    void ShowHostWindow();

    CLSID m_clsid;
    bool m_bCreated;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;
    DWORD m_dwEventCookie;
    CWindowManagerUI* m_pHostedList;
    CWindowManagerUI* m_pFilterList;
};
