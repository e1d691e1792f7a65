#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <mshtmhst.h>
#include <downloadmgr.h>

#include "ControlUI.h"
#include "StringUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

class CActiveXCtrl;

// Hosts one OLE control: windowless controls draw into the manager's window and get
// its mouse and key messages through a message filter, windowed ones live in an
// "ActiveXWnd" child. Creation waits for the first layout unless asked otherwise.
class CActiveXUI : public CControlUI, public IMessageFilterUI
{
public:
    CActiveXUI();
    ~CActiveXUI() override;
    CActiveXUI(const CActiveXUI&) = delete;
    CActiveXUI& operator=(const CActiveXUI&) = delete;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    virtual void ReleaseHostedControl();
    virtual bool CreateHostedControl();

    bool SetClsidText(LPCWSTR pstrClsid);
    bool SetClsid(REFCLSID clsid);
    const CLSID& GetClsid() const;
    void SetModuleName(LPCWSTR pstrText);
    const CStringUI& GetModuleName() const;
    bool IsDelayCreate() const;
    void SetDelayCreate(bool bDelayCreate = true);
    bool IsCreated() const;
    HRESULT GetControl(REFIID iid, LPVOID* ppRet);

    void SetUIHandler(IDocHostUIHandler* pHandler);
    IDocHostUIHandler* GetUIHandler() const;
    void SetDownloadManager(IDownloadManager* pManager);
    IDownloadManager* GetDownloadManager() const;
    void SetDispatch(IDispatch* pDispatch);
    IDispatch* GetDispatch() const;

    HWND GetHostWindow() const;
    void SetHostWindow(HWND hWnd);
    // The window the control's manager paints, or null without a manager.
    HWND GetManagerWindow() const;
    // The manager whose browser list holds this control: it is taken off that list when
    // the control goes first, and the manager clears this when it goes first.
    void SetListingManager(CWindowManagerUI* pManager);
    CWindowManagerUI* GetListingManager() const;

    // IMessageFilterUI: feeds a windowless hosted control.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

protected:
    IUnknown* CreateFromModule();
    IUnknown* CreateObject();
    bool InitNewAndSetSite(DWORD dwMiscStatus, IOleClientSite* pClientSite);
    void PickViewObject();
    void PassExtentAndRects();
    void ShowHostWindow();
    bool PassesMouseFilter(UINT uMsg, LPARAM lParam) const;

    CLSID m_clsid;
    CStringUI m_sModuleName;
    bool m_bCreated;
    bool m_bDelayCreate;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;
    IDocHostUIHandler* m_pUIHandler;
    IDownloadManager* m_pDownloadManager;
    IDispatch* m_pDispatch;
    CWindowManagerUI* m_pListingManager;
};

} // namespace UpdUI
