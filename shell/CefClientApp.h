#pragma once
#include <vector>

#include "cef_app.h"

// The engine's application object of every process of the main program. In
// the browser process it limits cookies to web addresses; in a renderer it
// registers the page's "app" object and watches documents for readiness when
// the browser process asks.
class CefClientApp : public CefApp, public CefBrowserProcessHandler, public CefRenderProcessHandler
{
public:
    CefClientApp();

    // CefApp
    void OnBeforeCommandLineProcessing(const CefString& process_type, CefRefPtr<CefCommandLine> command_line) override
    { }
    CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
    CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }

    // CefBrowserProcessHandler
    void OnContextInitialized() override;

    // CefRenderProcessHandler
    void OnWebKitInitialized() override;
    bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                  CefRefPtr<CefProcessMessage> message) override;

private:
    std::vector<CefString> m_cookieSchemes;
    IMPLEMENT_REFCOUNTING(CefClientApp);
};
