// Stand-in for the engine's context menu hooks.
#pragma once
#include "cef_browser.h"
#include "cef_frame.h"

typedef enum {
    CM_TYPEFLAG_NONE = 0,
    CM_TYPEFLAG_PAGE = 1 << 0,
    CM_TYPEFLAG_FRAME = 1 << 1,
    CM_TYPEFLAG_LINK = 1 << 2,
    CM_TYPEFLAG_MEDIA = 1 << 3,
    CM_TYPEFLAG_SELECTION = 1 << 4,
    CM_TYPEFLAG_EDITABLE = 1 << 5,
} cef_context_menu_type_flags_t;

enum { MENU_ID_BACK = 100, MENU_ID_FORWARD = 101, MENU_ID_RELOAD = 102 };

class CefContextMenuParams : public virtual CefBaseRefCounted
{
public:
    virtual int GetTypeFlags() = 0;
    virtual CefString GetPageUrl() = 0;
    virtual CefString GetLinkUrl() = 0;
};

class CefMenuModel : public virtual CefBaseRefCounted
{
public:
    virtual bool Clear() = 0;
    virtual int GetCount() = 0;
    virtual bool AddItem(int command_id, const CefString& label) = 0;
    virtual int GetCommandIdAt(int index) = 0;
    virtual CefString GetLabelAt(int index) = 0;
};

class CefContextMenuHandler : public virtual CefBaseRefCounted
{
public:
    // The model holds the engine's items; an empty model shows no menu.
    virtual void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                     CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model)
    { }
    virtual bool OnContextMenuCommand(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                      CefRefPtr<CefContextMenuParams> params, int command_id, int event_flags)
    {
        return false;
    }
};
