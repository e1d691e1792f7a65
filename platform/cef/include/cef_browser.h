// Stand-in for the engine's browsers: the browser, its host (the browser
// process's side of it), window information and per-browser settings.
#pragma once
#include "cef_process_message.h"

class CefClient;
class CefFrame;
class CefBrowserHost;

typedef HWND cef_window_handle_t;

typedef enum {
    STATE_DEFAULT = 0,
    STATE_ENABLED,
    STATE_DISABLED,
} cef_state_t;

// Where and how a browser's window is made.
class CefWindowInfo
{
public:
    DWORD ex_style = 0;
    std::wstring window_name;
    DWORD style = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent_window = nullptr;
    HMENU menu = nullptr;

    void SetAsChild(HWND parent, RECT rect)
    {
        style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE;
        parent_window = parent;
        x = rect.left;
        y = rect.top;
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    void SetAsPopup(HWND parent, const CefString& windowName)
    {
        style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
        parent_window = parent;
        x = y = width = height = CW_USEDEFAULT;
        window_name = windowName.ToWString();
    }
};

// Per-browser settings; the block's size is part of the ABI. The stand-in
// reads none of them.
typedef unsigned int cef_color_t;
typedef struct _cef_browser_settings_t
{
    size_t size;
    cef_string_t standard_font_family;
    cef_string_t fixed_font_family;
    cef_string_t serif_font_family;
    cef_string_t sans_serif_font_family;
    cef_string_t cursive_font_family;
    cef_string_t fantasy_font_family;
    int default_font_size;
    int default_fixed_font_size;
    int minimum_font_size;
    int minimum_logical_font_size;
    cef_string_t default_encoding;
    cef_state_t remote_fonts;
    cef_state_t javascript;
    cef_state_t javascript_open_windows;
    cef_state_t javascript_close_windows;
    cef_state_t javascript_access_clipboard;
    cef_state_t javascript_dom_paste;
    cef_state_t caret_browsing;
    cef_state_t java;
    cef_state_t plugins;
    cef_state_t universal_access_from_file_urls;
    cef_state_t file_access_from_file_urls;
    cef_state_t web_security;
    cef_state_t image_loading;
    cef_state_t image_shrink_standalone_to_fit;
    cef_state_t text_area_resize;
    cef_state_t tab_to_links;
    cef_state_t author_and_user_styles;
    cef_state_t local_storage;
    cef_state_t databases;
    cef_state_t application_cache;
    cef_state_t webgl;
    cef_state_t accelerated_compositing;
    cef_state_t page_cache;
    cef_state_t hyperlink_auditing;
    cef_state_t site_specific_quirks;
    cef_state_t fullscreen_enabled;
    cef_color_t background_color;
} cef_browser_settings_t;
static_assert(sizeof(void*) != 4 || sizeof(cef_browser_settings_t) == 212, "browser settings block size");

class CefBrowserSettings : public cef_browser_settings_t
{
public:
    CefBrowserSettings()
    {
        ZeroMemory(static_cast<cef_browser_settings_t*>(this), sizeof(cef_browser_settings_t));
        size = sizeof(cef_browser_settings_t);
    }
};

// One browser. The browser process and the renderer each have an object for
// the same browser, with the same identifier; only the browser process's one
// has a host.
class CefBrowser : public virtual CefBaseRefCounted
{
public:
    virtual CefRefPtr<CefBrowserHost> GetHost() = 0;
    virtual int GetIdentifier() = 0;
    virtual bool IsSame(CefRefPtr<CefBrowser> that) = 0;
    virtual bool IsPopup() = 0;
    virtual CefRefPtr<CefFrame> GetMainFrame() = 0;
    virtual void Reload() = 0;
    // Sends a copy of the message to the other process; false when this side
    // cannot reach the target.
    virtual bool SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message) = 0;
};

class CefBrowserHost : public virtual CefBaseRefCounted
{
public:
    // Creates a browser later, on the thread that initialised the engine, as
    // a window with windowInfo's parent, rectangle and style; the client's
    // life span handler hears of it in OnAfterCreated. False when the engine
    // is not running.
    static bool CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client, const CefString& url,
                              const CefBrowserSettings& settings);

    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
    virtual CefRefPtr<CefClient> GetClient() = 0;
    virtual cef_window_handle_t GetWindowHandle() = 0;
    // The window that holds the browser is about to close.
    virtual void ParentWindowWillClose() = 0;
    // Asks the life span handler's DoClose first unless forced.
    virtual void CloseBrowser(bool force_close) = 0;
};
