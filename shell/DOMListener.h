#pragma once
#include "cef_browser.h"
#include "cef_dom.h"

// Tells the browser process that its browser's document is ready: answers
// the document's "DOMContentLoaded" with the process message "DomComplete".
class DOMListener : public CefDOMEventListener
{
public:
    explicit DOMListener(CefRefPtr<CefBrowser> browser) : m_browser(browser) { }

    void HandleEvent(CefRefPtr<CefDOMEvent> event) override;

private:
    CefRefPtr<CefBrowser> m_browser;
    IMPLEMENT_REFCOUNTING(DOMListener);
};
