#pragma once
#include "cef_browser.h"
#include "cef_dom.h"

// Visits a page's document in the renderer and listens there for
// "DOMContentLoaded" on behalf of the browser it was made for.
class DocumentReadyDetector : public CefDOMVisitor
{
public:
    explicit DocumentReadyDetector(CefRefPtr<CefBrowser> browser) : m_browser(browser) { }

    void Visit(CefRefPtr<CefDOMDocument> document) override;

private:
    CefRefPtr<CefBrowser> m_browser;
    IMPLEMENT_REFCOUNTING(DocumentReadyDetector);
};
