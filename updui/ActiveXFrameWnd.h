#pragma once
#include <windows.h>
#include <ole2.h>

namespace UpdUI {

class CActiveXCtrl;

// The in-place frame handed to a hosted control: the manager's window, no tool space,
// no menus. It reaches the owning control through the site it holds, so a frame kept
// past the control's release answers E_UNEXPECTED instead of touching a freed owner.
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

} // namespace UpdUI
