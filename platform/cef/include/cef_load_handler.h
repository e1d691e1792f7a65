// Stand-in for the engine's page load notifications.
#pragma once
#include "cef_browser.h"
#include "cef_frame.h"

typedef enum {
    ERR_NONE = 0,
    ERR_FAILED = -2,
    ERR_ABORTED = -3,
    ERR_INVALID_ARGUMENT = -4,
    ERR_FILE_NOT_FOUND = -6,
    ERR_TIMED_OUT = -7,
    ERR_FILE_TOO_BIG = -8,
    ERR_CONNECTION_CLOSED = -100,
    ERR_CONNECTION_REFUSED = -102,
    ERR_NAME_NOT_RESOLVED = -105,
    ERR_INTERNET_DISCONNECTED = -106,
    ERR_INVALID_URL = -300,
    ERR_UNKNOWN_URL_SCHEME = -302,
} cef_errorcode_t;

class CefLoadHandler : public virtual CefBaseRefCounted
{
public:
    virtual void OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading, bool canGoBack, bool canGoForward)
    { }
    virtual void OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame) { }
    virtual void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) { }
    virtual void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, cef_errorcode_t errorCode,
                             const CefString& errorText, const CefString& failedUrl)
    { }
};
