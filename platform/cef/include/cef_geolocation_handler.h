// Stand-in for the engine's location permission hooks.
#pragma once
#include "cef_browser.h"

class CefGeolocationCallback : public virtual CefBaseRefCounted
{
public:
    virtual void Continue(bool allow) = 0;
};

class CefGeolocationHandler : public virtual CefBaseRefCounted
{
public:
    virtual void OnRequestGeolocationPermission(CefRefPtr<CefBrowser> browser, const CefString& requesting_url,
                                                int request_id, CefRefPtr<CefGeolocationCallback> callback)
    { }
    virtual void OnCancelGeolocationPermission(CefRefPtr<CefBrowser> browser, const CefString& requesting_url,
                                               int request_id)
    { }
};
