// Stand-in for the engine's display notifications.
#pragma once
#include "cef_browser.h"
#include "cef_frame.h"

class CefDisplayHandler : public virtual CefBaseRefCounted
{
public:
    virtual void OnAddressChange(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const CefString& url) { }
    virtual void OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) { }
    virtual bool OnTooltip(CefRefPtr<CefBrowser> browser, CefString& text) { return false; }
    virtual void OnStatusMessage(CefRefPtr<CefBrowser> browser, const CefString& value) { }
    virtual bool OnConsoleMessage(CefRefPtr<CefBrowser> browser, const CefString& message, const CefString& source,
                                  int line)
    {
        return false;
    }
    // The page asked for (or left) full screen for one of its elements.
    virtual void OnFullscreenModeChange(CefRefPtr<CefBrowser> browser, bool fullscreen) { }
};
