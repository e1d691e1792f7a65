// Stand-in for the engine's keyboard hooks.
#pragma once
#include "cef_browser.h"

typedef enum {
    KEYEVENT_RAWKEYDOWN = 0,
    KEYEVENT_KEYDOWN,
    KEYEVENT_KEYUP,
    KEYEVENT_CHAR,
} cef_key_event_type_t;

struct CefKeyEvent
{
    cef_key_event_type_t type = KEYEVENT_RAWKEYDOWN;
    unsigned int modifiers = 0;
    int windows_key_code = 0;
    int native_key_code = 0;
    bool is_system_key = false;
    wchar_t character = 0;
};

class CefKeyboardHandler : public virtual CefBaseRefCounted
{
public:
    virtual bool OnPreKeyEvent(CefRefPtr<CefBrowser> browser, const CefKeyEvent& event, MSG* os_event,
                               bool* is_keyboard_shortcut)
    {
        return false;
    }
    virtual bool OnKeyEvent(CefRefPtr<CefBrowser> browser, const CefKeyEvent& event, MSG* os_event) { return false; }
};
