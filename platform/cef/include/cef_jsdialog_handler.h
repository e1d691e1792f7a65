// Stand-in for the engine's script dialog hooks (alert, confirm, prompt).
#pragma once
#include "cef_browser.h"

typedef enum {
    JSDIALOGTYPE_ALERT = 0,
    JSDIALOGTYPE_CONFIRM,
    JSDIALOGTYPE_PROMPT,
} cef_jsdialog_type_t;

class CefJSDialogCallback : public virtual CefBaseRefCounted
{
public:
    virtual void Continue(bool success, const CefString& user_input) = 0;
};

class CefJSDialogHandler : public virtual CefBaseRefCounted
{
public:
    // True when the handler shows the dialog itself (and continues the
    // callback); false lets the engine show its own.
    virtual bool OnJSDialog(CefRefPtr<CefBrowser> browser, const CefString& origin_url, const CefString& accept_lang,
                            cef_jsdialog_type_t dialog_type, const CefString& message_text,
                            const CefString& default_prompt_text, CefRefPtr<CefJSDialogCallback> callback,
                            bool& suppress_message)
    {
        return false;
    }
    virtual void OnResetDialogState(CefRefPtr<CefBrowser> browser) { }
};
