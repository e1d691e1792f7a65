// Stand-in for the engine's renderer callbacks. All of them run on the
// renderer thread.
#pragma once
#include "cef_browser.h"
#include "cef_frame.h"
#include "cef_v8.h"
#include "cef_values.h"

class CefRenderProcessHandler : public virtual CefBaseRefCounted
{
public:
    virtual void OnRenderThreadCreated(CefRefPtr<CefListValue> extra_info) { }
    // The place to register extensions.
    virtual void OnWebKitInitialized() { }
    virtual void OnBrowserCreated(CefRefPtr<CefBrowser> browser) { }
    virtual void OnBrowserDestroyed(CefRefPtr<CefBrowser> browser) { }
    virtual void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                  CefRefPtr<CefV8Context> context)
    { }
    virtual void OnContextReleased(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                   CefRefPtr<CefV8Context> context)
    { }
    // A message from the browser process; true when handled.
    virtual bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                          CefRefPtr<CefProcessMessage> message)
    {
        return false;
    }
};
