// The renderer's document of one page: it keeps the event listeners the
// page's handlers add and fires "DOMContentLoaded" once the page is parsed.
#pragma once
#include <string>
#include <vector>

#include "cef_dom.h"

namespace cef_stand_in {

class RendererDocument : public CefDOMDocument
{
public:
    RendererDocument(const std::wstring& url, int navigation) : url_(url), navigation_(navigation) { }

    CefRefPtr<CefDOMNode> GetDocument() override;
    CefString GetBaseURL() override { return url_; }

    int Navigation() const { return navigation_; }
    void AddListener(const std::wstring& type, CefRefPtr<CefDOMEventListener> listener, bool useCapture);
    // Fires "DOMContentLoaded" once; later calls do nothing.
    void FireContentLoaded();
    // The listeners hold their browsers: a document that goes lets them go.
    void DropListeners() { listeners_.clear(); }

private:
    struct Listener
    {
        std::wstring type;
        CefRefPtr<CefDOMEventListener> listener;
        bool useCapture;
    };
    std::wstring url_;
    int navigation_;
    bool contentLoaded_ = false;
    std::vector<Listener> listeners_;
    IMPLEMENT_REFCOUNTING(RendererDocument);
};

} // namespace cef_stand_in
