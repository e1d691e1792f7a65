#pragma once
#include <windows.h>
#include <oaidl.h>

#include "StringUI.h"

class CActiveXUI;

// Messages the page bridge sends or posts to the window that holds the control.
constexpr UINT UIMSG_PAGE_NOTIFY = WM_USER + 200; // posted: wParam 204 list ad shown, 205 closed
constexpr UINT UIMSG_PAGE_ISOK = WM_USER + 101;   // sent by isOk()
constexpr UINT UIMSG_PAGE_QUERY = WM_USER + 102;  // sent by queryStatus()
constexpr UINT UIMSG_PAGE_NOTICE = WM_USER + 112; // sent: wParam, lParam = LPCWSTR of NoticeFunc's texts

// The external object a page shown by a hosted web browser calls, and the sink of
// the browser's events. Page calls become window messages to the window holding the
// control. Arrays of strings are passed as an LPCWSTR array in lParam that is valid
// only during the send.
class CPageBridgeUI
{
public:
    enum : DISPID {
        DispSendMessage = 1,
        DispSendExe = 2,
        DispReload = 3,
        DispListAdShow = 4,
        DispListAdClose = 5,
        DispSuperPowerPlay = 6,
        DispIsOk = 7,
        DispQueryStatus = 8,
        DispGetClientVersion = 9,
        DispNoticeFunc = 10,
        DispNavigateComplete2 = 252,
        DispNavigateError = 271,
    };

    explicit CPageBridgeUI(CActiveXUI* pOwner);

    static HRESULT GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, DISPID* rgDispId);
    HRESULT Invoke(DISPID dispIdMember, DISPPARAMS* pDispParams, VARIANT* pVarResult);

    // The address of the last failed navigation of any hosted browser.
    static CStringUI GetLastFailedUrl();
    static void SetLastFailedUrl(LPCWSTR pstrUrl);

private:
    HRESULT SendStringPair(DISPPARAMS* pParams, bool bFlagIsBool);
    HRESULT SendExe(DISPPARAMS* pParams);
    HRESULT CallPageFunction(LPCWSTR pstrName);
    HRESULT Reload();
    HRESULT NoticeFunc(DISPPARAMS* pParams);
    HRESULT OnNavigateError(DISPPARAMS* pParams);
    LRESULT Send(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool Post(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool IsOwnBrowser(IDispatch* pDisp);
    void NavigateOwnBrowser(LPCWSTR pstrUrl);

    CActiveXUI* m_pOwner;
    static CStringUI m_sLastFailedUrl;
};
