#pragma once
#include <windows.h>
#include <ole2.h>

namespace UIShared {

// The in-place frame handed to a hosted control: the manager's window, no tool space,
// no menus. It holds the site that made it and asks the library for the window through
// it, so a frame kept past the control's release answers E_UNEXPECTED instead of
// touching a freed owner.
class CActiveXFrameWnd : public IOleInPlaceFrame
{
public:
    explicit CActiveXFrameWnd(IOleClientSite* pSite);
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

protected:
    virtual ~CActiveXFrameWnd();
    // The owning control's manager window; false once the control has let go.
    virtual bool GetOwnerWindow(HWND* phwnd) const = 0;

private:
    LONG m_dwRef;
    IOleClientSite* m_pSite;
    IOleInPlaceActiveObject* m_pActiveObject;
};

} // namespace UIShared
