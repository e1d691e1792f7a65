// Stand-in for the engine's request hooks.
#pragma once
#include "cef_browser.h"

#include <cstdint>

typedef enum {
    TS_ABNORMAL_TERMINATION,
    TS_PROCESS_WAS_KILLED,
    TS_PROCESS_CRASHED,
} cef_termination_status_t;

class CefQuotaCallback : public virtual CefBaseRefCounted
{
public:
    virtual void Continue(bool allow) = 0;
    virtual void Cancel() = 0;
};

class CefRequestHandler : public virtual CefBaseRefCounted
{
public:
    // True when the callback will be continued (now or later).
    virtual bool OnQuotaRequest(CefRefPtr<CefBrowser> browser, const CefString& origin_url, int64_t new_size,
                                CefRefPtr<CefQuotaCallback> callback)
    {
        return false;
    }
    // An address of a scheme the engine does not know: allow_os_execution hands
    // it to the system.
    virtual void OnProtocolExecution(CefRefPtr<CefBrowser> browser, const CefString& url, bool& allow_os_execution) { }
    virtual void OnRenderProcessTerminated(CefRefPtr<CefBrowser> browser, cef_termination_status_t status) { }
};
