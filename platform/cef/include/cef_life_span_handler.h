// Stand-in for the engine's browser life span hooks.
#pragma once
#include "cef_browser.h"
#include "cef_frame.h"

class CefClient;

struct CefPopupFeatures
{
    int x = 0, y = 0, width = 0, height = 0;
    bool xSet = false, ySet = false, widthSet = false, heightSet = false;
};

class CefLifeSpanHandler : public virtual CefBaseRefCounted
{
public:
    // A page opens a new window. False lets the engine create it as a popup
    // browser (windowInfo, client and settings may be changed); true cancels it.
    virtual bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const CefString& target_url,
                               const CefString& target_frame_name, const CefPopupFeatures& popupFeatures,
                               CefWindowInfo& windowInfo, CefRefPtr<CefClient>& client, CefBrowserSettings& settings,
                               bool* no_javascript_access)
    {
        return false;
    }
    virtual void OnAfterCreated(CefRefPtr<CefBrowser> browser) { }
    // False lets the engine close the browser's window.
    virtual bool DoClose(CefRefPtr<CefBrowser> browser) { return false; }
    virtual void OnBeforeClose(CefRefPtr<CefBrowser> browser) { }
};
