// Stand-in for the engine's frames. The stand-in's pages have their main
// frame only.
#pragma once
#include <cstdint>

#include "cef_base.h"
#include "cef_dom.h"
#include "cef_v8.h"

class CefBrowser;

class CefFrame : public virtual CefBaseRefCounted
{
public:
    virtual bool IsValid() = 0;
    virtual bool IsMain() = 0;
    virtual int64_t GetIdentifier() = 0;
    virtual CefString GetName() = 0;
    virtual CefString GetURL() = 0;
    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
    virtual void LoadURL(const CefString& url) = 0;
    // Renderer only: hands the frame's current document to the visitor.
    virtual void VisitDOM(CefRefPtr<CefDOMVisitor> visitor) = 0;
    // Renderer only: the script context of the frame's document.
    virtual CefRefPtr<CefV8Context> GetV8Context() = 0;
};
