// Stand-in for the engine's client: the handlers of one or more browsers.
#pragma once
#include "cef_browser.h"
#include "cef_context_menu_handler.h"
#include "cef_display_handler.h"
#include "cef_download_handler.h"
#include "cef_drag_handler.h"
#include "cef_geolocation_handler.h"
#include "cef_jsdialog_handler.h"
#include "cef_keyboard_handler.h"
#include "cef_life_span_handler.h"
#include "cef_load_handler.h"
#include "cef_request_handler.h"

// Handlers the stand-in never calls.
class CefDialogHandler : public virtual CefBaseRefCounted
{ };
class CefFocusHandler : public virtual CefBaseRefCounted
{ };
class CefRenderHandler : public virtual CefBaseRefCounted
{ };

class CefClient : public virtual CefBaseRefCounted
{
public:
    virtual CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() { return nullptr; }
    virtual CefRefPtr<CefDialogHandler> GetDialogHandler() { return nullptr; }
    virtual CefRefPtr<CefDisplayHandler> GetDisplayHandler() { return nullptr; }
    virtual CefRefPtr<CefDownloadHandler> GetDownloadHandler() { return nullptr; }
    virtual CefRefPtr<CefDragHandler> GetDragHandler() { return nullptr; }
    virtual CefRefPtr<CefFocusHandler> GetFocusHandler() { return nullptr; }
    virtual CefRefPtr<CefGeolocationHandler> GetGeolocationHandler() { return nullptr; }
    virtual CefRefPtr<CefJSDialogHandler> GetJSDialogHandler() { return nullptr; }
    virtual CefRefPtr<CefKeyboardHandler> GetKeyboardHandler() { return nullptr; }
    virtual CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() { return nullptr; }
    virtual CefRefPtr<CefLoadHandler> GetLoadHandler() { return nullptr; }
    virtual CefRefPtr<CefRenderHandler> GetRenderHandler() { return nullptr; }
    virtual CefRefPtr<CefRequestHandler> GetRequestHandler() { return nullptr; }
    // A message from the browser's renderer; true when handled.
    virtual bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                          CefRefPtr<CefProcessMessage> message)
    {
        return false;
    }
};
