#include "CefClientApp.h"

#include "ClientAppExtensionHandler.h"
#include "DocumentReadyDetector.h"
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

} // namespace

CefClientApp::CefClientApp()
{
    m_cookieSchemes.push_back(L"http");
    m_cookieSchemes.push_back(L"https");
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
