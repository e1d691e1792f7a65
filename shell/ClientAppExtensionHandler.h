#pragma once
#include <cstddef>

#include "CefClientApp.h"
#include "cef_v8.h"
#include "cef_values.h"

// The native side of the page's "app" object: sendMessage hands a page
// command to the browser process as a process message; setClientInfo and
// getClientInfo encipher and decipher with the client-info key;
// getClientVersion names the program's version. sendMessage only sends from
// the portal's own main frame; any other frame gets an exception.
class ClientAppExtensionHandler : public CefV8Handler
{
public:
    // Nesting and size limits for an argument array: a page cannot make the
    // renderer exhaust its stack or memory with a self-containing or huge array.
    static const int kMaxArrayDepth = 16;
    static const size_t kMaxListElements = 4096;

    explicit ClientAppExtensionHandler(CefRefPtr<CefClientApp> app);

    bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                 CefRefPtr<CefV8Value>& retval, CefString& exception) override;

    // Fills list from a script array, element by element, nested arrays as
    // nested lists. False when the array is nested deeper than kMaxArrayDepth
    // or holds more than kMaxListElements elements in all.
    static bool ConvertArrayToList(CefRefPtr<CefV8Value> array, CefRefPtr<CefListValue> list);

private:
    static bool ConvertArray(CefRefPtr<CefV8Value> array, CefRefPtr<CefListValue> list, int depth, size_t& budget);
    static void ConvertElement(CefRefPtr<CefV8Value> value, CefRefPtr<CefListValue> list, size_t index);
    // The exception to throw, or null when the message went.
    const wchar_t* SendPageMessage(const CefV8ValueList& arguments);
    static bool IsOneString(const CefV8ValueList& arguments);
    static CefRefPtr<CefV8Value> ClientInfo(const CefString& text, int mode);

    CefRefPtr<CefClientApp> m_app;
    IMPLEMENT_REFCOUNTING(ClientAppExtensionHandler);
};
