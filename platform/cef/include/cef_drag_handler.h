// Stand-in for the engine's drag hooks.
#pragma once
#include "cef_browser.h"

typedef unsigned int cef_drag_operations_mask_t;

class CefDragData : public virtual CefBaseRefCounted
{
public:
    virtual bool IsLink() = 0;
    virtual bool IsFragment() = 0;
    virtual bool IsFile() = 0;
    virtual CefString GetLinkURL() = 0;
};

class CefDragHandler : public virtual CefBaseRefCounted
{
public:
    // True refuses the drag.
    virtual bool OnDragEnter(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDragData> dragData,
                             cef_drag_operations_mask_t mask)
    {
        return false;
    }
};
