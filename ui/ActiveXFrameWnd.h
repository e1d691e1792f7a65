#pragma once
#include <windows.h>
#include <ole2.h>

class CActiveXCtrl;

// The in-place frame a hosted control is given: the manager's window, no tool space,
// no menus. It reaches the control through the site, so it answers E_UNEXPECTED
// once the control has let go.
class CActiveXFrameWnd final : public IOleInPlaceFrame
{
public:
    explicit CActiveXFrameWnd(CActiveXCtrl* pSite);
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;

    STDMETHOD(GetBorder)(LPRECT lprectBorder) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;

    STDMETHOD(InsertMenus)(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    STDMETHOD(SetMenu)(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
    STDMETHOD(RemoveMenus)(HMENU hmenuShared) override;
    STDMETHOD(SetStatusText)(LPCOLESTR pszStatusText) override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpmsg, WORD wID) override;

private:
    ~CActiveXFrameWnd();

    LONG m_dwRef;
    CActiveXCtrl* m_pSite;
    IOleInPlaceActiveObject* m_pActiveObject;
};
