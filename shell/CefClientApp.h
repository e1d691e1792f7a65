#pragma once
#include <string>
#include <vector>

#include "cef_app.h"
#include "cef_frame.h"

// The engine's application object of every process of the main program. In
// the browser process it limits cookies to web addresses; in a renderer it
// registers the page's "app" object and watches documents for readiness when
// the browser process asks. Only the portal's own pages may drive the
// program: the main frame of a page of one of the portal's origins.
class CefClientApp : public CefApp, public CefBrowserProcessHandler, public CefRenderProcessHandler
{
public:
    // The portal is the one the program's folder names (see PortalAddresses).
    CefClientApp();
    // The portal's origins as given ("scheme://host[:port]", "file://").
    explicit CefClientApp(std::vector<std::wstring> portalOrigins);

    // Whether this frame may send page commands.
    bool IsPortalFrame(CefRefPtr<CefFrame> frame) const;

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
    std::vector<std::wstring> m_portalOrigins;
    IMPLEMENT_REFCOUNTING(CefClientApp);
};
