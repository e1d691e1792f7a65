#include "CefClientApp.h"

#include <windows.h>

#include <utility>

#include "ClientAppExtensionHandler.h"
#include "DocumentReadyDetector.h"
#include "PortalAddresses.h"
#include "cef_cookie.h"
#include "cef_frame.h"

namespace {

const wchar_t kAppExtensionName[] = L"v8/app";

// Gives every page the object "app"; each function forwards to the native
// function of the same name (ClientAppExtensionHandler).
const wchar_t kAppExtensionSource[] =
    L"var app;if (!app)  app = {};(function() {  app.sendMessage = function(name, arguments) {"
    L"    native function sendMessage();    return sendMessage(name, arguments);  };"
    L"  app.setClientInfo = function(stringToEncode) {    native function setClientInfo();"
    L"    return setClientInfo(stringToEncode);  };  app.getClientInfo = function(stringToDecode) {"
    L"    native function getClientInfo();    return getClientInfo(stringToDecode);  };"
    L"  app.getClientVersion = function() {    native function getClientVersion();"
    L"    return getClientVersion();  };})();";

const char kCreateDomListenerMessage[] = "CreateDomListener";

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

CefClientApp::CefClientApp() : CefClientApp(PortalAddresses::Origins(ProgramPath())) { }

CefClientApp::CefClientApp(std::vector<std::wstring> portalOrigins) : m_portalOrigins(std::move(portalOrigins))
{
    m_cookieSchemes.push_back(L"http");
    m_cookieSchemes.push_back(L"https");
}

// A frame inside the page (an advertisement, a site the page embeds) is never
// the portal, whatever its address; nor is a main frame that a link took elsewhere.
bool CefClientApp::IsPortalFrame(CefRefPtr<CefFrame> frame) const
{
    return frame && frame->IsMain() && PortalAddresses::IsOneOf(frame->GetURL().ToWString(), m_portalOrigins);
}

void CefClientApp::OnContextInitialized()
{
    CefCookieManager::GetGlobalManager()->SetSupportedSchemes(m_cookieSchemes);
}

void CefClientApp::OnWebKitInitialized()
{
    CefRegisterExtension(kAppExtensionName, kAppExtensionSource, new ClientAppExtensionHandler(this));
}

bool CefClientApp::OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                            CefRefPtr<CefProcessMessage> message)
{
    if (!browser || !message || message->GetName().ToString() != kCreateDomListenerMessage) return false;
    if (CefRefPtr<CefFrame> frame = browser->GetMainFrame()) frame->VisitDOM(new DocumentReadyDetector(browser));
    return true;
}
