#include "BrowserKeysUI.h"

#include <exdisp.h>
#include <ocidl.h>
#include <servprov.h>

#include "ActiveXUI.h"

namespace UpdUI {

namespace {

// SID_SShellBrowser is only declared in the SDK headers here.
const GUID kSidShellBrowser = { 0x000214E2, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };

// The browser's IWebBrowser2, with a reference the caller releases; null before the
// browser exists or for a control that hosts nothing.
IWebBrowser2* QueryBrowser(CControlUI* pControl)
{
    CActiveXUI* pHost = static_cast<CActiveXUI*>(pControl->GetInterface(L"ActiveX"));
    IWebBrowser2* pBrowser = nullptr;
    if (pHost != nullptr) pHost->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser));
    return pBrowser;
}

HWND BrowserContentWindow(IWebBrowser2* pBrowser)
{
    IServiceProvider* pProvider = nullptr;
    if (FAILED(pBrowser->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&pProvider))) ||
        pProvider == nullptr) {
        return nullptr;
    }
    HWND hWnd = nullptr;
    IOleWindow* pWindow = nullptr;
    if (SUCCEEDED(pProvider->QueryService(kSidShellBrowser, IID_IOleWindow, reinterpret_cast<void**>(&pWindow))) &&
        pWindow != nullptr) {
        HWND hShell = nullptr;
        if (SUCCEEDED(pWindow->GetWindow(&hShell)) && hShell != nullptr) {
            HWND hChild = ::GetWindow(hShell, GW_CHILD);
            if (hChild != nullptr) hWnd = ::GetWindow(hChild, GW_CHILD);
        }
        pWindow->Release();
    }
    pProvider->Release();
    return hWnd;
}

bool BrowserTranslates(IWebBrowser2* pBrowser, MSG* pMsg)
{
    IOleInPlaceActiveObject* pActive = nullptr;
    if (FAILED(pBrowser->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&pActive))) ||
        pActive == nullptr) {
        return false;
    }
    bool bHandled = pActive->TranslateAccelerator(pMsg) == S_OK;
    pActive->Release();
    return bHandled;
}

} // namespace

bool CBrowserKeysUI::Translate(CControlUI* pControl, MSG* pMsg)
{
    IWebBrowser2* pBrowser = QueryBrowser(pControl);
    if (pBrowser == nullptr) return false;
    bool bHandled = BrowserContentWindow(pBrowser) == pMsg->hwnd && BrowserTranslates(pBrowser, pMsg);
    pBrowser->Release();
    return bHandled;
}

} // namespace UpdUI
